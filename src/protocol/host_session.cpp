#include "protocol/host_session.h"

namespace tarnwick {

std::string HostSession::CurrentHost() const {
    std::lock_guard lock(mutex_);
    return currentHost_;
}

void HostSession::SetCurrentHost(const std::string& host) {
    std::lock_guard lock(mutex_);
    currentHost_ = host;
}

std::string HostSession::PendingNewAddress() const {
    std::lock_guard lock(mutex_);
    return pendingNewAddress_;
}

void HostSession::SetPendingNewAddress(const std::string& address) {
    std::lock_guard lock(mutex_);
    pendingNewAddress_ = address;
}

}  // namespace tarnwick

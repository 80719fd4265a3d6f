#include "protocol/host_session.h"

namespace tarnwick {

std::string HostSession::CurrentHost() const {
    std::lock_guard lock(mutex_);
    return currentHost_;
}

uint16_t HostSession::CurrentPort() const {
    std::lock_guard lock(mutex_);
    return currentPort_;
}

void HostSession::SetCurrentHost(const std::string& host, uint16_t port) {
    std::lock_guard lock(mutex_);
    currentHost_ = host;
    currentPort_ = port;
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

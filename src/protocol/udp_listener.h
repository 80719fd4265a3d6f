#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "protocol/host_session.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// Search answers waiting for the UI thread at most; more are counted and
// dropped, so a flood of answers cannot take the memory.
inline constexpr size_t kMaxQueuedSearchAnswers = 100000;

enum class UnsolicitedKind { Ignored, UpgradeProgress, IpChangeResult, SearchAnswer };

// The listener's read event for one datagram: upgrade progress of the current
// host and the result of an IP change are parked in the store (UpdateInfo,
// ModifyIPInfo); search answers are returned to be handed to the host list.
// `frame` receives the normalized frame text.
UnsolicitedKind RouteUnsolicited(const std::string& datagram, DeviceParams& params,
                                 const HostSession& session, std::string* frame);

// UDPServer: listens on local port 5200 on its own thread while a search, an
// IP change or an upgrade runs. Search answers wait in a locked queue that the
// UI thread drains during its pauses.
class UdpListener {
  public:
    // `bindAddress` is the local address to listen on; all addresses by
    // default. At most `maxQueued` search answers wait for the UI thread.
    UdpListener(DeviceParams& params, HostSession& session, uint16_t port,
                std::string bindAddress = "0.0.0.0", size_t maxQueued = kMaxQueuedSearchAnswers);
    ~UdpListener();
    UdpListener(const UdpListener&) = delete;
    UdpListener& operator=(const UdpListener&) = delete;

    // Close, bind the local port again and start reading. Throws SocketError,
    // also when another socket holds the port: it is never shared.
    void Restart();
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    std::vector<std::string> TakeSearchAnswers();
    // Answers dropped because the most that may wait were waiting, since
    // the last call.
    size_t TakeOverflowCount();
    // Called on the listener thread after an answer was queued, so that the UI
    // thread can wake up and drain at once.
    void SetAnswerNotifier(std::function<void()> notify);

  private:
    void ReadLoop(int fd, int stopFd);

    DeviceParams& params_;
    HostSession& session_;
    uint16_t port_;
    std::string bindAddress_;
    size_t maxQueued_;
    int fd_ = -1;
    int stopFd_ = -1;
    std::thread thread_;
    std::mutex queueMutex_;
    std::vector<std::string> answers_;
    size_t overflow_ = 0;
    std::function<void()> notify_;
};

}  // namespace tarnwick

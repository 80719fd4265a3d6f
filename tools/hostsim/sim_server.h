#pragma once
#include <netinet/in.h>

#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <unordered_map>
#include <vector>

#include "host_state.h"
#include "responder.h"
#include "script.h"
#include "sim_config.h"
#include "sim_log.h"

namespace tarnwick::hostsim {

// Plays every configured host on one UDP socket bound to 0.0.0.0:port. The
// destination address of each request (IP_PKTINFO) picks the host; a request
// to 255.255.255.255 goes to every host. Each host replies from its own
// address. Replies that fall due later (delays, spread search answers) wait in
// a queue, so one slow host never holds up another.
class SimServer {
  public:
    SimServer(SimConfig config, SimLog& log, uint16_t port);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Keeps each host's state in `store` whenever it changes.
    void KeepStateIn(const StateStore* store) { store_ = store; }
    // Lets the events happen, counted from Open(). Throws std::runtime_error
    // when an event names a host that is not played.
    void Play(std::vector<ScriptEvent> script);
    // Binds the port; throws std::runtime_error on failure.
    void Open();
    // Serves until SIGINT or SIGTERM.
    void Run();

  private:
    struct Outgoing {
        uint64_t dueMs;
        uint64_t sequence;
        std::string payload;
        in_addr from;
        sockaddr_in to;
        std::string note;
        std::function<bool()> stillDue;  // checked when it falls due; false drops it
        bool operator>(const Outgoing& o) const {
            return dueMs != o.dueMs ? dueMs > o.dueMs : sequence > o.sequence;
        }
    };

    void ReceiveAll();
    void Handle(const std::string& payload, const sockaddr_in& from, in_addr destination);
    void Answer(SimHost& host, Request request, const sockaddr_in& from, uint64_t offsetMs);
    void Queue(uint64_t dueMs, std::string payload, in_addr from, sockaddr_in to, std::string note,
               std::function<bool()> stillDue = {});
    void SendDue();
    void Send(const Outgoing& out);
    void HappenDue();
    // The time to wait for the next reply or event; -1 for none.
    int Timeout() const;
    void Persist(const SimHost& host);

    SimConfig config_;
    SimLog& log_;
    uint16_t port_;
    int fd_ = -1;
    int signalFd_ = -1;
    uint64_t sequence_ = 0;
    std::unordered_map<uint32_t, size_t> byAddress_;
    std::priority_queue<Outgoing, std::vector<Outgoing>, std::greater<>> queue_;
    const StateStore* store_ = nullptr;
    std::vector<ScriptEvent> script_;
    size_t nextEvent_ = 0;
    uint64_t startMs_ = 0;
};

// Milliseconds of a monotonic clock.
uint64_t NowMs();
std::string Endpoint(in_addr address, uint16_t port);

}  // namespace tarnwick::hostsim

#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hosts/host_target.h"
#include "operation/fleet_status.h"
#include "protocol/datagram_endpoint.h"
#include "protocol/timing.h"

namespace tarnwick {

class ClockPort;

// One host of the fleet: where it is reached and what the list knows of it.
struct FleetHost {
    HostTarget target;
    std::string hostType;
};

enum class FleetState { Waiting, Online, Offline };

// What the fleet status last learned of one host. Only an online host has a
// status; an offline one says why in `reason` and keeps the time it last
// answered.
struct FleetReading {
    FleetState state = FleetState::Waiting;
    FleetStatus status;
    std::string lastAnswer;  // "yyyy-mm-dd hh:nn:ss", empty when it never answered
    std::string reason;
};

inline constexpr const char* kNoAnswerText = "主机无应答";

// The lanes the fleet status asks on: each carries one query at a time, so
// that whatever comes in on a lane is the answer of the host it asked, or
// it is not an answer at all.
class FleetLanes {
  public:
    virtual ~FleetLanes() = default;
    virtual int Count() const = 0;
    // Sends `frame` to `target` from `lane`. Throws SocketError.
    virtual void Send(int lane, const HostTarget& target, const std::string& frame) = 0;
    // Drops what waits on `lane`: its query was given up.
    virtual void Drop(int lane) = 0;
};

// Sweeps the status query over the fleet: every host in list order (those
// offline after the last sweep first), as many at once as there are lanes, each waited for
// `timeoutMs`, a sweep begun every `periodMs` (or as soon as the last one ended, when it took
// longer). A host is online when it answered its query with a working status; a missed answer,
// garbage, another reply or a datagram from another host makes it offline with the reason. It runs
// on one thread, driven from outside: the driver hands it the datagrams of the lanes and calls
// Tick() at NextWakeMs(); nothing in it waits.
class FleetPoller {
  public:
    FleetPoller(FleetLanes& lanes, ClockPort& clock, int timeoutMs = kStatusTimeoutMs,
                int periodMs = kFleetPeriodMs);

    // The hosts to sweep; a running sweep is stopped and every reading reset.
    void SetHosts(std::vector<FleetHost> hosts);
    const std::vector<FleetHost>& Hosts() const { return hosts_; }
    const std::vector<FleetReading>& Readings() const { return readings_; }

    // The first sweep begins at once.
    void Start(uint64_t nowMs);
    // Gives up every query in flight at once: the lanes are dropped, nothing
    // that comes later counts, and the hosts asked keep what they showed.
    void Stop();
    bool Running() const { return running_; }

    // A datagram came in on `lane`.
    void Receive(int lane, const Datagram& datagram, uint64_t nowMs);
    // Queries whose time is up end offline, free lanes take the next hosts
    // and a sweep that is due begins.
    void Tick(uint64_t nowMs);
    // When Tick() is due next; none while stopped.
    std::optional<uint64_t> NextWakeMs() const;

    int InFlight() const;
    int SweepsDone() const { return sweeps_; }

    // A host's reading was set (its index in Hosts()); a sweep ended.
    std::function<void(size_t host)> onReading;
    std::function<void()> onSweepEnd;

  private:
    struct Lane {
        bool busy = false;
        size_t host = 0;
        uint64_t deadline = 0;
        std::string problem;  // what came instead of an answer, so far
    };
    void Fill(uint64_t nowMs);
    void Finish(Lane& lane, FleetReading reading);
    void Offline(Lane& lane, const std::string& reason);
    bool SweepOver() const;

    FleetLanes& lanes_;
    ClockPort& clock_;
    int timeoutMs_;
    int periodMs_;
    std::vector<FleetHost> hosts_;
    std::vector<FleetReading> readings_;
    std::vector<Lane> lane_;
    bool running_ = false;
    std::vector<size_t> order_;  // the hosts of the sweep in the order they are asked
    size_t next_ = 0;            // the next of them to ask
    uint64_t sweepStart_ = 0;
    bool sweeping_ = false;
    bool startNow_ = true;  // the next sweep begins without waiting for the period
    int sweeps_ = 0;
};

// "10.231.1.1", or "10.231.1.1:5300" for a host at another port.
std::string TargetText(const HostTarget& target);

}  // namespace tarnwick

#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
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

// The lanes (sockets) the fleet status asks on. A lane carries many queries
// at once, at most one per address, so that the sender of a datagram names
// the query it can answer.
class FleetLanes {
  public:
    virtual ~FleetLanes() = default;
    virtual int Count() const = 0;
    // Sends `frame` to `target` from `lane`. Throws SocketError.
    virtual void Send(int lane, const HostTarget& target, const std::string& frame) = 0;
    // Drops what waits on `lane`: its queries were given up.
    virtual void Drop(int lane) = 0;
};

// Sweeps the status query over the fleet: every host in list order (those offline after the last
// sweep first), up to kFleetAtOnce at once, a sweep begun every `periodMs` (or as soon as the last
// one ended, when it took longer). A host not answered within half of `timeoutMs` is asked once
// more, so one lost datagram costs no host its place; after `timeoutMs` it is offline with the
// reason. A host is online when it answered with a working status; what every datagram is to its
// query, the one reply check says. A host is not asked again on a lane where an answer to an
// earlier query of it may still come (kFleetLateAnswerMs), so a late answer is never taken for a
// later query, and a datagram from a host the lane does not ask counts for no host. It runs on one
// thread, driven from outside: the driver hands it the datagrams of the lanes and calls Tick() at
// NextWakeMs(); nothing in it waits.
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
    // Queries whose time is up end offline, those half-way without an
    // answer are asked once more, free places take the next hosts and a
    // sweep that is due begins.
    void Tick(uint64_t nowMs);
    // When Tick() is due next; none while stopped.
    std::optional<uint64_t> NextWakeMs() const;

    int InFlight() const { return static_cast<int>(asks_.size()); }
    int SweepsDone() const { return sweeps_; }

    // A host's reading was set (its index in Hosts()); a sweep ended.
    std::function<void(size_t host)> onReading;
    std::function<void()> onSweepEnd;

  private:
    // One host asked in this sweep.
    struct Ask {
        size_t host = 0;
        int lane = 0;
        uint64_t sentAt = 0;
        bool askedAgain = false;
        std::string problem;  // what came instead of an answer, so far
    };
    void Fill(uint64_t nowMs);
    // The socket's error, if sending the query failed.
    std::optional<std::string> SendQuery(const Ask& ask);
    // The lane to ask `target` on: from the next in turn, the first that
    // neither asks its address now nor may still get an answer from it;
    // -1 when every lane asks it now.
    int LaneFor(const HostTarget& target, uint64_t nowMs);
    // The ask's lane may still get its answer until kFleetLateAnswerMs
    // after its time ran out.
    void Owe(const Ask& ask);
    FleetReading OfflineReading(size_t host, const std::string& reason) const;
    void Finish(size_t ask, FleetReading reading);
    void Show(size_t host, FleetReading reading);
    void BeginSweep(uint64_t nowMs);
    bool SweepOver() const { return next_ >= order_.size() && asks_.empty(); }

    FleetLanes& lanes_;
    ClockPort& clock_;
    int timeoutMs_;
    int periodMs_;
    std::vector<FleetHost> hosts_;
    std::vector<FleetReading> readings_;
    std::vector<Ask> asks_;  // in flight
    // Per lane: until when each address may still answer there.
    std::vector<std::unordered_map<std::string, uint64_t>> owed_;
    int nextLane_ = 0;
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

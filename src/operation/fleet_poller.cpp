#include "operation/fleet_poller.h"

#include <algorithm>
#include <limits>

#include "protocol/reply_check.h"
#include "protocol/socket_error.h"
#include "storage/database_port.h"

namespace tarnwick {
namespace {

// An address with a query in flight on a lane owes it an answer for ever,
// until the query ends.
constexpr uint64_t kInFlight = std::numeric_limits<uint64_t>::max();

}  // namespace

std::string TargetText(const HostTarget& target) {
    if (target.port == kHostPort) return target.address;
    return target.address + ":" + std::to_string(target.port);
}

FleetPoller::FleetPoller(FleetLanes& lanes, ClockPort& clock, int timeoutMs, int periodMs)
    : lanes_(lanes),
      clock_(clock),
      timeoutMs_(timeoutMs),
      periodMs_(periodMs),
      owed_(static_cast<size_t>(lanes.Count())) {}

void FleetPoller::SetHosts(std::vector<FleetHost> hosts) {
    const bool wasRunning = running_;
    Stop();
    hosts_ = std::move(hosts);
    readings_.assign(hosts_.size(), {});
    running_ = wasRunning;
    startNow_ = true;
}

void FleetPoller::Start(uint64_t nowMs) {
    running_ = true;
    sweeping_ = false;
    startNow_ = true;
    Tick(nowMs);
}

void FleetPoller::Stop() {
    std::vector<bool> drop(owed_.size(), false);
    for (const Ask& ask : asks_) {
        Owe(ask);
        drop[static_cast<size_t>(ask.lane)] = true;
    }
    asks_.clear();
    for (size_t lane = 0; lane < drop.size(); ++lane)
        if (drop[lane]) lanes_.Drop(static_cast<int>(lane));
    running_ = false;
    sweeping_ = false;
}

void FleetPoller::Owe(const Ask& ask) {
    owed_[static_cast<size_t>(ask.lane)][hosts_[ask.host].target.address] =
        ask.sentAt + static_cast<uint64_t>(timeoutMs_) + static_cast<uint64_t>(kFleetLateAnswerMs);
}

FleetReading FleetPoller::OfflineReading(size_t host, const std::string& reason) const {
    FleetReading reading;
    reading.state = FleetState::Offline;
    reading.lastAnswer = readings_[host].lastAnswer;
    reading.reason = reason;
    return reading;
}

void FleetPoller::Finish(size_t index, FleetReading reading) {
    const Ask ask = std::move(asks_[index]);
    // The last ask takes its place: Tick() walks the asks from the last.
    if (index + 1 != asks_.size()) asks_[index] = std::move(asks_.back());
    asks_.pop_back();
    // An answer to a query asked once more, given up or not answered in
    // time may still come on its lane.
    if (ask.askedAgain || reading.state != FleetState::Online)
        Owe(ask);
    else
        owed_[static_cast<size_t>(ask.lane)].erase(hosts_[ask.host].target.address);
    Show(ask.host, std::move(reading));
}

void FleetPoller::Show(size_t host, FleetReading reading) {
    readings_[host] = std::move(reading);
    if (onReading) onReading(host);
}

void FleetPoller::Receive(int lane, const Datagram& datagram, uint64_t nowMs) {
    // Late for a query given up or ended, or from an address the lane does
    // not ask: it counts for no host.
    if (!running_) return;
    auto it = std::find_if(asks_.begin(), asks_.end(), [&](const Ask& ask) {
        return ask.lane == lane && hosts_[ask.host].target.address == datagram.from;
    });
    if (it == asks_.end()) return;
    const size_t index = static_cast<size_t>(it - asks_.begin());
    const HostTarget& target = hosts_[it->host].target;
    const CheckedReply checked =
        CheckReply(ReplyFrom(target.address, target.port, StatusReplyCode()), datagram);
    if (!FromTheHostAsked(checked.outcome)) {
        const HostTarget sender{datagram.from, datagram.fromPort, {}};
        it->problem = "收到其他主机(" + TargetText(sender) + ")的应答";
        return;
    }
    StatusAnswer answer = ReadStatusAnswer(checked);
    if (!answer.status) {
        // Another reply may be followed by the answer: wait on for it.
        it->problem = "应答无效：" + answer.problem;
        return;
    }
    FleetReading reading;
    reading.state = FleetState::Online;
    reading.status = std::move(*answer.status);
    reading.lastAnswer = clock_.NowText();
    Finish(index, std::move(reading));
    Tick(nowMs);
}

int FleetPoller::LaneFor(const HostTarget& target, uint64_t nowMs) {
    const int count = static_cast<int>(owed_.size());
    int fallback = -1;
    uint64_t soonest = kInFlight;
    for (int k = 0; k < count; ++k) {
        const int lane = (nextLane_ + k) % count;
        auto& owed = owed_[static_cast<size_t>(lane)];
        auto it = owed.find(target.address);
        if (it == owed.end() || it->second <= nowMs) return lane;
        if (it->second < soonest) {
            soonest = it->second;
            fallback = lane;
        }
    }
    // Every lane still owes the host an answer (asked again and again for
    // longer than kFleetLateAnswerMs): the one whose debt ends first.
    return fallback;
}

std::optional<std::string> FleetPoller::SendQuery(const Ask& ask) {
    try {
        lanes_.Send(ask.lane, hosts_[ask.host].target, StatusQueryFrame());
        return std::nullopt;
    } catch (const SocketError& e) {
        return e.what();
    }
}

void FleetPoller::Fill(uint64_t nowMs) {
    while (next_ < order_.size() && asks_.size() < static_cast<size_t>(kFleetAtOnce)) {
        const size_t host = order_[next_];
        const int lane = LaneFor(hosts_[host].target, nowMs);
        // Queries of the same address on every lane: wait for one to end.
        if (lane < 0) return;
        ++next_;
        const Ask ask{host, lane, nowMs, false, {}};
        // A host that cannot be sent to is offline at once; the lane goes on.
        if (const std::optional<std::string> error = SendQuery(ask)) {
            Show(host, OfflineReading(host, "发送失败：" + *error));
            continue;
        }
        owed_[static_cast<size_t>(lane)][hosts_[host].target.address] = kInFlight;
        asks_.push_back(ask);
        nextLane_ = (lane + 1) % static_cast<int>(owed_.size());
    }
}

void FleetPoller::BeginSweep(uint64_t nowMs) {
    sweeping_ = true;
    sweepStart_ = nowMs;
    next_ = 0;
    nextLane_ = 0;
    // Hosts that gave no status last time first: their waits overlap the
    // answers of the others instead of trailing the sweep.
    order_.clear();
    for (size_t h = 0; h < hosts_.size(); ++h)
        if (readings_[h].state == FleetState::Offline) order_.push_back(h);
    for (size_t h = 0; h < hosts_.size(); ++h)
        if (readings_[h].state != FleetState::Offline) order_.push_back(h);
    // Debts that ran out are forgotten.
    for (auto& owed : owed_) std::erase_if(owed, [&](const auto& d) { return d.second <= nowMs; });
}

void FleetPoller::Tick(uint64_t nowMs) {
    if (!running_) return;
    const uint64_t timeout = static_cast<uint64_t>(timeoutMs_);
    for (size_t i = asks_.size(); i-- > 0;) {
        Ask& ask = asks_[i];
        if (nowMs >= ask.sentAt + timeout) {
            const size_t host = ask.host;
            const std::string reason = ask.problem.empty() ? kNoAnswerText : ask.problem;
            Finish(i, OfflineReading(host, reason));
        } else if (!ask.askedAgain && nowMs >= ask.sentAt + timeout / 2) {
            // One lost datagram, either way, costs the host nothing; a
            // socket error here leaves the query to wait out its time.
            ask.askedAgain = true;
            SendQuery(ask);
        }
    }
    if (!sweeping_) {
        if (!startNow_ && nowMs < sweepStart_ + static_cast<uint64_t>(periodMs_)) return;
        startNow_ = false;
        BeginSweep(nowMs);
    }
    Fill(nowMs);
    if (sweeping_ && SweepOver()) {
        sweeping_ = false;
        ++sweeps_;
        if (onSweepEnd) onSweepEnd();
    }
}

std::optional<uint64_t> FleetPoller::NextWakeMs() const {
    if (!running_) return std::nullopt;
    if (!sweeping_) return startNow_ ? 0 : sweepStart_ + static_cast<uint64_t>(periodMs_);
    std::optional<uint64_t> wake;
    const uint64_t timeout = static_cast<uint64_t>(timeoutMs_);
    for (const Ask& ask : asks_) {
        const uint64_t due = ask.sentAt + (ask.askedAgain ? timeout : timeout / 2);
        if (!wake || due < *wake) wake = due;
    }
    return wake;
}

}  // namespace tarnwick

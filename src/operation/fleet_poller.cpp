#include "operation/fleet_poller.h"

#include "protocol/socket_error.h"
#include "storage/database_port.h"

namespace tarnwick {

std::string TargetText(const HostTarget& target) {
    if (target.port == kHostPort) return target.address;
    return target.address + ":" + std::to_string(target.port);
}

FleetPoller::FleetPoller(FleetLanes& lanes, ClockPort& clock, int timeoutMs, int periodMs)
    : lanes_(lanes),
      clock_(clock),
      timeoutMs_(timeoutMs),
      periodMs_(periodMs),
      lane_(static_cast<size_t>(lanes.Count())) {}

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
    for (size_t i = 0; i < lane_.size(); ++i) {
        if (!lane_[i].busy) continue;
        lane_[i] = {};
        lanes_.Drop(static_cast<int>(i));
    }
    running_ = false;
    sweeping_ = false;
}

int FleetPoller::InFlight() const {
    int n = 0;
    for (const Lane& lane : lane_) n += lane.busy ? 1 : 0;
    return n;
}

bool FleetPoller::SweepOver() const {
    return next_ >= hosts_.size() && InFlight() == 0;
}

void FleetPoller::Finish(Lane& lane, FleetReading reading) {
    const size_t host = lane.host;
    lane = {};
    readings_[host] = std::move(reading);
    if (onReading) onReading(host);
}

void FleetPoller::Offline(Lane& lane, const std::string& reason) {
    FleetReading reading;
    reading.state = FleetState::Offline;
    reading.lastAnswer = readings_[lane.host].lastAnswer;
    reading.reason = reason;
    Finish(lane, std::move(reading));
}

void FleetPoller::Receive(int laneIndex, const Datagram& datagram, uint64_t nowMs) {
    if (laneIndex < 0 || static_cast<size_t>(laneIndex) >= lane_.size()) return;
    Lane& lane = lane_[static_cast<size_t>(laneIndex)];
    // Late for a query given up or ended: it counts for no host.
    if (!running_ || !lane.busy) return;
    const HostTarget& target = hosts_[lane.host].target;
    const bool fromHost = datagram.from == target.address &&
                          (datagram.fromPort == 0 || datagram.fromPort == target.port);
    if (!fromHost) {
        HostTarget sender{datagram.from, datagram.fromPort ? datagram.fromPort : kHostPort, {}};
        lane.problem = "收到其他主机(" + TargetText(sender) + ")的应答";
        return;
    }
    StatusAnswer answer = ReadStatusAnswer(datagram.payload);
    if (!answer.status) {
        // Another reply may be followed by the answer: wait on for it.
        lane.problem = "应答无效：" + answer.problem;
        return;
    }
    FleetReading reading;
    reading.state = FleetState::Online;
    reading.status = std::move(*answer.status);
    reading.lastAnswer = clock_.NowText();
    Finish(lane, std::move(reading));
    Tick(nowMs);
}

void FleetPoller::Fill(uint64_t nowMs) {
    size_t i = 0;
    while (i < lane_.size() && next_ < hosts_.size()) {
        Lane& lane = lane_[i];
        if (lane.busy) {
            ++i;
            continue;
        }
        lane.busy = true;
        lane.host = order_[next_++];
        lane.deadline = nowMs + static_cast<uint64_t>(timeoutMs_);
        lane.problem.clear();
        try {
            lanes_.Send(static_cast<int>(i), hosts_[lane.host].target, StatusQueryFrame());
            ++i;
        } catch (const SocketError& e) {
            // The lane is free again for the next host.
            Offline(lane, std::string("发送失败：") + e.what());
        }
    }
}

void FleetPoller::Tick(uint64_t nowMs) {
    if (!running_) return;
    for (Lane& lane : lane_)
        if (lane.busy && nowMs >= lane.deadline)
            Offline(lane, lane.problem.empty() ? kNoAnswerText : lane.problem);
    if (!sweeping_) {
        if (!startNow_ && nowMs < sweepStart_ + static_cast<uint64_t>(periodMs_)) return;
        startNow_ = false;
        sweeping_ = true;
        sweepStart_ = nowMs;
        next_ = 0;
        // Hosts that gave no status last time first: their waits overlap
        // the answers of the others instead of trailing the sweep.
        order_.clear();
        for (size_t h = 0; h < hosts_.size(); ++h)
            if (readings_[h].state == FleetState::Offline) order_.push_back(h);
        for (size_t h = 0; h < hosts_.size(); ++h)
            if (readings_[h].state != FleetState::Offline) order_.push_back(h);
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
    for (const Lane& lane : lane_)
        if (lane.busy && (!wake || lane.deadline < *wake)) wake = lane.deadline;
    return wake;
}

}  // namespace tarnwick

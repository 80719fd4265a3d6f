#include "operation/fleet_poller.h"

#include <gtest/gtest.h>

#include <functional>

#include "protocol/frame_codec.h"
#include "support/fake_fleet_lanes.h"
#include "support/fixed_clock.h"

namespace tarnwick {
namespace {

using testing::FakeFleetLanes;
using testing::FixedClock;

constexpr int kTimeout = 2500;
constexpr int kPeriod = 10000;

const std::string kHealthy = BuildReplyFrame("12", "02", "019113000000000017");

std::string Address(int i) {
    return "10.231.16." + std::to_string(i + 1);
}

std::vector<FleetHost> Hosts(int n) {
    std::vector<FleetHost> hosts;
    for (int i = 0; i < n; ++i) hosts.push_back({{Address(i), kHostPort, {}}, {}});
    return hosts;
}

struct PollerFixture {
    explicit PollerFixture(int hosts) : poller(lanes, clock, kTimeout, kPeriod) {
        poller.SetHosts(Hosts(hosts));
    }
    // The lane the host at `address` was last asked on.
    int LaneOf(const std::string& address) const {
        for (auto it = lanes.sent.rbegin(); it != lanes.sent.rend(); ++it)
            if (it->address == address) return it->lane;
        return -1;
    }
    void Answer(const std::string& address, const std::string& payload, uint64_t now,
                uint16_t port = kHostPort) {
        poller.Receive(LaneOf(address), {payload, address, port}, now);
    }
    FakeFleetLanes lanes;
    FixedClock clock;
    FleetPoller poller;
};

TEST(FleetPoller, AsksEveryHostAtOnceInListOrderSpreadOverTheLanes) {
    PollerFixture f(40);
    f.poller.Start(0);
    ASSERT_EQ(f.lanes.sent.size(), 40u);
    EXPECT_EQ(f.poller.InFlight(), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(f.lanes.sent[static_cast<size_t>(i)].address, Address(i));
        EXPECT_EQ(f.lanes.sent[static_cast<size_t>(i)].lane, i % kFleetLanes);
    }
    EXPECT_EQ(f.lanes.frames.front(), StatusQueryFrame());
    f.Answer(Address(3), kHealthy, 5);
    EXPECT_EQ(f.poller.InFlight(), 39);
    f.poller.Tick(kTimeout);
    EXPECT_EQ(f.poller.SweepsDone(), 1);
    // The next sweep asks the hosts that gave no status first, so that
    // their waits overlap the others' answers: all but host 3. None of
    // them is asked on the lane where its late answer may still come.
    const std::vector<FakeFleetLanes::Sent> first = f.lanes.sent;
    f.lanes.sent.clear();
    f.poller.Tick(kPeriod);
    ASSERT_EQ(f.lanes.sent.size(), 40u);
    for (size_t i = 0; i < 40; ++i) {
        const size_t host = i < 39 ? (i < 3 ? i : i + 1) : 3;
        EXPECT_EQ(f.lanes.sent[i].address, Address(int(host)));
        if (host != 3) {
            EXPECT_NE(f.lanes.sent[i].lane, first[host].lane) << host;
        }
    }
}

TEST(FleetPoller, AsksNoMoreThanItsLimitAtOnce) {
    PollerFixture f(kFleetAtOnce + 2);
    f.poller.Start(0);
    EXPECT_EQ(f.poller.InFlight(), kFleetAtOnce);
    // An answer frees a place for the next host at once.
    f.Answer(Address(0), kHealthy, 5);
    EXPECT_EQ(f.poller.InFlight(), kFleetAtOnce);
    EXPECT_EQ(f.lanes.sent.back().address, Address(kFleetAtOnce));
}

TEST(FleetPoller, SweepsAgainEveryPeriodFromTheLastStart) {
    PollerFixture f(2);
    f.poller.Start(1000);
    f.Answer(Address(0), kHealthy, 1010);
    f.Answer(Address(1), kHealthy, 1020);
    EXPECT_EQ(f.poller.SweepsDone(), 1);
    EXPECT_EQ(f.poller.NextWakeMs(), 1000u + kPeriod);
    f.poller.Tick(1000 + kPeriod - 1);
    EXPECT_EQ(f.lanes.sent.size(), 2u);
    f.poller.Tick(1000 + kPeriod);
    EXPECT_EQ(f.lanes.sent.size(), 4u);
    // While queries wait, the next wake is when they are asked once more,
    // then their deadline.
    EXPECT_EQ(f.poller.NextWakeMs(), 1000u + kPeriod + kTimeout / 2);
    f.poller.Tick(1000 + kPeriod + kTimeout / 2);
    EXPECT_EQ(f.lanes.sent.size(), 6u);
    EXPECT_EQ(f.poller.NextWakeMs(), 1000u + kPeriod + kTimeout);
}

// What a host does with its query, and what it then shows.
struct Behaviour {
    const char* what;
    std::function<void(PollerFixture&, const std::string& address)> act;
    FleetState state;
    std::string reason;
};

TEST(FleetPoller, AHostIsOnlineOnlyForItsOwnStatusAnswer) {
    const std::string model = BuildReplyFrame("12", "03", "019B03414243");
    const Behaviour cases[] = {
        {"answers", [](PollerFixture& f, const std::string& a) { f.Answer(a, kHealthy, 10); },
         FleetState::Online, ""},
        {"another reply first, then the answer",
         [&](PollerFixture& f, const std::string& a) {
             f.Answer(a, model, 10);
             f.Answer(a, kHealthy, 20);
         },
         FleetState::Online, ""},
        {"stays silent", [](PollerFixture&, const std::string&) {}, FleetState::Offline,
         "主机无应答"},
        {"answers garbage",
         [](PollerFixture& f, const std::string& a) { f.Answer(a, "garbage", 10); },
         FleetState::Offline, "应答无效：不是有效的应答帧"},
        {"answers only another reply",
         [&](PollerFixture& f, const std::string& a) { f.Answer(a, model, 10); },
         FleetState::Offline, "应答无效：不是工作状态应答(1203)"},
        // A late answer of an earlier query: it counts for no host.
        {"another host answers on its lane",
         [](PollerFixture& f, const std::string& a) {
             f.poller.Receive(f.LaneOf(a), {kHealthy, "10.231.9.9", kHostPort}, 10);
         },
         FleetState::Offline, "主机无应答"},
        {"its first query is lost: asked once more half-way, it answers",
         [](PollerFixture& f, const std::string& a) {
             f.poller.Tick(kTimeout / 2);
             ASSERT_EQ(f.lanes.sent.size(), 2u);
             EXPECT_EQ(f.lanes.sent[1].lane, f.lanes.sent[0].lane);
             f.Answer(a, kHealthy, kTimeout - 1);
         },
         FleetState::Online, ""},
        {"the answer comes from another port of its address",
         [](PollerFixture& f, const std::string& a) { f.Answer(a, kHealthy, 10, 5300); },
         FleetState::Offline, "收到其他主机(" + Address(0) + ":5300)的应答"},
        {"the answer comes after its time",
         [](PollerFixture& f, const std::string& a) {
             f.poller.Tick(kTimeout);
             f.Answer(a, kHealthy, kTimeout + 1);
         },
         FleetState::Offline, "主机无应答"},
    };
    for (const Behaviour& c : cases) {
        PollerFixture f(1);
        f.poller.Start(0);
        c.act(f, Address(0));
        f.poller.Tick(kTimeout);
        const FleetReading& r = f.poller.Readings()[0];
        EXPECT_EQ(r.state, c.state) << c.what;
        EXPECT_EQ(r.reason, c.reason) << c.what;
        EXPECT_EQ(r.lastAnswer, c.state == FleetState::Online ? f.clock.now : "") << c.what;
        EXPECT_EQ(f.poller.SweepsDone(), 1) << c.what;
    }
}

TEST(FleetPoller, AMissedAnswerMakesAHostOfflineKeepingWhenItLastAnswered) {
    PollerFixture f(1);
    f.poller.Start(0);
    f.Answer(Address(0), BuildReplyFrame("12", "02", "019113010400000017"), 10);
    ASSERT_EQ(f.poller.Readings()[0].state, FleetState::Online);
    EXPECT_EQ(f.poller.Readings()[0].status.alarmZones, std::vector<int>{3});
    const std::string seen = f.clock.now;
    f.clock.now = "2026-12-07 08:30:15";
    f.poller.Tick(kPeriod);
    f.poller.Tick(kPeriod + kTimeout);
    const FleetReading& r = f.poller.Readings()[0];
    EXPECT_EQ(r.state, FleetState::Offline);
    EXPECT_EQ(r.lastAnswer, seen);
    // No live state is kept beside the offline mark.
    EXPECT_EQ(r.status, FleetStatus{});
}

TEST(FleetPoller, StoppingGivesUpEveryQueryAtOnceAndNothingLaterCounts) {
    PollerFixture f(20);
    std::vector<size_t> changed;
    f.poller.onReading = [&](size_t host) { changed.push_back(host); };
    f.poller.Start(0);
    f.poller.Stop();
    EXPECT_EQ(f.poller.InFlight(), 0);
    EXPECT_EQ(f.lanes.dropped.size(), 20u);
    EXPECT_FALSE(f.poller.NextWakeMs());
    f.Answer(Address(0), kHealthy, 10);
    f.poller.Tick(kPeriod * 3);
    EXPECT_EQ(f.lanes.sent.size(), 20u);
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(f.poller.Readings()[0].state, FleetState::Waiting);
    // Started again, no host is asked where its given-up query may still
    // be answered.
    f.poller.Start(20);
    ASSERT_EQ(f.lanes.sent.size(), 40u);
    for (size_t i = 0; i < 20; ++i) EXPECT_NE(f.lanes.sent[20 + i].lane, f.lanes.sent[i].lane);
}

TEST(FleetPoller, AHostThatCannotBeSentToIsOfflineAndItsLaneGoesOn) {
    PollerFixture f(3);
    f.lanes.unreachable = Address(0);
    f.poller.Start(0);
    EXPECT_EQ(f.poller.Readings()[0].state, FleetState::Offline);
    EXPECT_EQ(f.poller.Readings()[0].reason, "发送失败：Network is unreachable");
    ASSERT_EQ(f.lanes.sent.size(), 2u);
    EXPECT_EQ(f.lanes.sent[0].lane, 0);
    EXPECT_EQ(f.lanes.sent[0].address, Address(1));
}

}  // namespace
}  // namespace tarnwick

#include "protocol/udp_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/core_fixture.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

// What the listener does with each kind of unsolicited frame, sent as a host
// sends it (sender mark 01) and as a request (sender mark 82: another tool's
// frame, or the tool's own broadcast heard back), which is never taken.
TEST(RouteUnsolicited, OnlyFramesFromAHostAreTakenAndParked) {
    HostSession session;
    session.SetCurrentHost("10.77.0.11");
    session.SetPendingNewAddress("10.77.0.50");
    const std::string progress = "01" + TextToHexField("10.77.0.11", 15) + "05";
    const std::string changed = "01" + TextToHexField("10.77.0.50", 15);
    struct Case {
        const char* name;
        std::string cls, cmd, data;
        UnsolicitedKind kind;
        const char* parkedUnder;  // the store key it is parked under, if any
    };
    const Case cases[] = {
        {"upgrade progress", "50", "01", progress, UnsolicitedKind::UpgradeProgress, "UpdateInfo"},
        {"address change result", "02", "4B", changed, UnsolicitedKind::IpChangeResult,
         "ModifyIPInfo"},
        {"search answer", "02", "47", TextToHexField("10.77.0.11", 15),
         UnsolicitedKind::SearchAnswer, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceParams params;
        std::string frame;
        const std::string asRequest = BuildFrame(c.cls, c.cmd, c.data);
        EXPECT_EQ(RouteUnsolicited(asRequest, params, session, &frame), UnsolicitedKind::Ignored);
        EXPECT_EQ(params.Text(), "");

        const std::string fromHost = BuildReplyFrame(c.cls, c.cmd, c.data);
        EXPECT_EQ(RouteUnsolicited(fromHost, params, session, &frame), c.kind);
        EXPECT_EQ(frame, NormalizeReceived(fromHost));
        if (c.parkedUnder) {
            EXPECT_EQ(params.Get(c.parkedUnder), frame);
        }
    }
}

TEST(RouteUnsolicited, ProgressOfAnotherHostAndBrokenFramesAreIgnored) {
    HostSession session;
    session.SetCurrentHost("10.77.0.11");
    DeviceParams params;
    const std::string other =
        BuildReplyFrame("50", "01", "01" + TextToHexField("10.77.0.12", 15) + "05");
    std::string broken = BuildReplyFrame("02", "47", "00");
    broken[3] = broken[3] == '0' ? '1' : '0';  // the checksum no longer fits
    for (const std::string& datagram : {other, broken, std::string(), std::string("7E7E")})
        EXPECT_EQ(RouteUnsolicited(datagram, params, session, nullptr), UnsolicitedKind::Ignored)
            << datagram;
    EXPECT_EQ(params.Text(), "");
}

// A flood of search answers fills the queue to its limit and no further; the
// rest are counted as dropped.
TEST(UdpListener, SearchAnswersBeyondTheLimitAreCountedNotQueued) {
    DeviceParams params;
    HostSession session;
    const uint16_t port = testing::FreeLoopbackPort();
    constexpr size_t kLimit = 3;
    constexpr size_t kSent = 5;
    UdpListener listener(params, session, port, "127.0.0.1", kLimit);
    listener.Restart();
    for (size_t i = 0; i < kSent; ++i)
        testing::SendToLoopback(port, testing::SearchAnswer("10.77.0." + std::to_string(20 + i)));

    size_t dropped = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (dropped < kSent - kLimit && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        dropped += listener.TakeOverflowCount();
    }
    const std::vector<std::string> queued = listener.TakeSearchAnswers();
    EXPECT_EQ(queued.size(), kLimit);
    EXPECT_EQ(dropped, kSent - kLimit);
    ASSERT_FALSE(queued.empty());
    EXPECT_EQ(HexToText(Slice(queued.front(), 13, 42)), "10.77.0.20");
}

}  // namespace
}  // namespace tarnwick

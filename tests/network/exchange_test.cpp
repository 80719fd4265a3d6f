// One exchange against a simulated host in the lab, with the host misbehaving
// in the ways a real network and a real host do.
#include <gtest/gtest.h>

#include <chrono>

#include "operation/alarm_host_decoder.h"
#include "programming/programming_requests.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The frame a simulator logged on its "send" line that contains `note`.
std::string SentFrame(const HostsimProcess& sim, const std::string& note) {
    const auto lines = sim.LogLines(note);
    for (const auto& line : lines)
        if (line.rfind("send ", 0) == 0) {
            const size_t start = line.find(" 7E") + 1;
            return line.substr(start, line.find(' ', start) - start);
        }
    return {};
}

using ExchangeInLab = LabFixture;

TEST_F(ExchangeInLab, StrayDatagramsAreTracedAndTheReplyStillDecoded) {
    auto sim =
        StartOneHost(R"("installerCode": "654321", "faults": [{"match": "1181", "strays": 2}])");
    const CommandEntry read = ReadSectionRequest(0);

    const std::string result = tdm->exchanger.Exchange(read).text;

    const std::string reply = NormalizeReceived(SentFrame(*sim, "section read"));
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(result, reply);  // a section read decodes to no text: the reply itself
    EXPECT_EQ(tdm->params.Get("Prog00_Installer"), "654321");
    const std::string stray = NormalizeReceived(SentFrame(*sim, "stray"));
    EXPECT_EQ(Slice(stray, 9, 12), "1203");
    ASSERT_EQ(tdm->trace.Lines().size(), 2u);
    for (const auto& line : tdm->trace.Lines())
        EXPECT_EQ(line, "[调试数据]:\r\n发送信息: " + read.frame + "\r\n返回信息: " + stray);
    // Strays are not decoded by a command exchange.
    EXPECT_EQ(tdm->params.Get("HostModel"), "");
}

TEST_F(ExchangeInLab, NoReplyGivesEmptyTextOnlyAfterTheWholeTimeOut) {
    auto silent = StartOneHost(R"("faults": [{"silent": true}])");
    const CommandEntry read = ReadSectionRequest(4);

    const auto start = Clock::now();
    const std::string result = tdm->exchanger.Exchange(read).text;
    const long waited = MsSince(start);

    EXPECT_EQ(result, "");
    EXPECT_GE(waited, 3500 - 1);
    EXPECT_TRUE(tdm->trace.Lines().empty());
    EXPECT_TRUE(op.boxes.empty());
    EXPECT_EQ(tdm->params.Count(), 0u);
    // The host got the request and kept quiet; nothing was lost on the way.
    EXPECT_EQ(silent->LogLines("recv ").size(), 1u);
    EXPECT_EQ(silent->LogLines("left unanswered").size(), 1u);
}

TEST_F(ExchangeInLab, ArmingAcknowledgementIsSentWithoutWaiting) {
    auto sim = StartOneHost();
    const std::string armed = Exchange(kArmingPair, "03A663FFFF");
    ASSERT_NE(armed.find("成功!"), std::string::npos) << armed;
    const std::string info = tdm->params.Get("ArmingOperateInfo");
    ASSERT_EQ(info.size(), 22u);

    const uint64_t tickBefore = op.tick;
    const std::string result = Exchange(kArmingAckPair, info);

    EXPECT_EQ(result, "");
    EXPECT_EQ(op.tick, tickBefore);  // no wait for a reply at all
    // The next exchange is answered after the host has seen the acknowledgement.
    Exchange(kStatusQueryPair, kStatusQueryData);
    EXPECT_EQ(sim->LogLines("acknowledgement matches the last arming reply").size(), 1u);
    EXPECT_EQ(tdm->params.Get("KeepAwayMode"), "01");
}

TEST_F(ExchangeInLab, StatusQueryReturnsTheLastClass12DatagramWhenNoneMatches) {
    auto sim = StartOneHost(
        R"("model": "TWK-8 V1.05", "faults": [{"match": "1282", "strays": 1, "silent": true}])");
    const std::string result =
        tdm->exchanger.ExchangeStatusQuery(Request(kStatusQueryPair, "06F2"));

    const std::string stray = NormalizeReceived(SentFrame(*sim, "stray"));
    EXPECT_EQ(Slice(stray, 9, 12), "1203");
    EXPECT_EQ(result, stray);
    EXPECT_EQ(tdm->params.Get("HostModel"), "TWK-8 V1.05");  // decoded on the way
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "");
    EXPECT_TRUE(tdm->trace.Lines().empty());
    EXPECT_TRUE(op.boxes.empty());
}

TEST_F(ExchangeInLab, LateReplyTurnsUpAsAStrayOfTheNextExchange) {
    // The model reply comes half a second after its exchange gave up, while
    // the next exchange still waits for its own (slow) reply.
    auto sim = StartOneHost(R"("faults": [{"match": "1283", "delayMs": 4000},
                                          {"match": "1282", "delayMs": 1000}])");

    EXPECT_EQ(tdm->exchanger.Exchange(Request(kModelQueryPair, "0B00")).text, "");
    const std::string statusFrame = BuildFrame("12", "82", "06F2");
    const std::string status = tdm->exchanger.Exchange(Request(kStatusQueryPair, "06F2")).text;

    EXPECT_EQ(Slice(status, 9, 12), "1202");
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "13");
    // The model reply came after its own exchange had given up.
    ASSERT_EQ(tdm->trace.Lines().size(), 1u);
    const std::string& line = tdm->trace.Lines()[0];
    EXPECT_NE(line.find("发送信息: " + statusFrame), std::string::npos) << line;
    const std::string received =
        line.substr(line.find("返回信息: ") + std::string("返回信息: ").size());
    EXPECT_EQ(Slice(received, 9, 12), "1203");
    EXPECT_EQ(tdm->params.Get("HostModel"), "");
}

TEST_F(ExchangeInLab, ReplyWithABadChecksumEndsTheWaitAndReportsAFrameError) {
    auto sim = StartOneHost(R"("faults": [{"match": "1181", "badChecksum": true}])");
    const CommandEntry read = ReadSectionRequest(0);

    const std::string result = tdm->exchanger.Exchange(read).text;

    const std::string reply = NormalizeReceived(SentFrame(*sim, "section read"));
    EXPECT_FALSE(VerifyFrame(reply));
    EXPECT_EQ(result, reply + std::string(kFrameErrorSuffix));
    EXPECT_EQ(tdm->params.Get("Prog00_Installer"), "");
}

}  // namespace
}  // namespace tarnwick::testing

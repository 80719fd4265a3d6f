#include "protocol/exchange.h"

#include <gtest/gtest.h>

#include "operation/alarm_host_decoder.h"
#include "protocol/frame_codec.h"
#include "protocol/timing.h"
#include "support/core_fixture.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;
using testing::Reply;

class ExchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.tdm->session.SetCurrentHost("10.77.0.11");
        // A decoder for a class of its own, so dispatch is visible.
        f.tdm->decoders.Register("33", [](const std::string& reply, DecodeContext& ctx) {
            ctx.params.Set("Seen", reply);
            return Outcome(1, "decoded");
        });
    }
    testing::CoreFixture f;
    const std::string frame = BuildFrame("33", "81", "01");
    // The text of the exchange of `frame` as the request of `pair`.
    std::string Run(std::string_view pair) { return Exchange(pair).text; }
    ReplyResult Exchange(std::string_view pair) {
        return f.tdm->exchanger.Exchange(Request(pair, "01"));
    }
};

TEST_F(ExchangeTest, StrayDatagramsAreTracedAndTheMatchingReplyDecoded) {
    f.client().incoming = {HostDatagram("12", "02", "01"), "hello", HostDatagram("33", "01", "7E")};
    std::string result = Run("3381:3301 测试");
    EXPECT_EQ(result, "decoded");
    ASSERT_EQ(f.client().sent.size(), 1u);
    EXPECT_EQ(f.client().sent[0].host, "10.77.0.11");
    EXPECT_EQ(f.client().sent[0].port, 5200);
    EXPECT_EQ(f.client().sent[0].payload, frame);
    ASSERT_EQ(f.tdm->trace.Lines().size(), 2u);
    EXPECT_EQ(f.tdm->trace.Lines()[1], "[调试数据]:\r\n发送信息: " + frame + "\r\n返回信息: HELLO");
    // The decoder sees the reply unescaped.
    EXPECT_EQ(f.tdm->params.Get("Seen"), Reply("33", "01", "7E"));
    EXPECT_EQ(f.client().waits, (std::vector<int>{3500, 3500, 3500}));
}

// A reply no decoder words is data shown as itself; the result byte of one
// without a decoder is its first data byte, never the check code.
TEST_F(ExchangeTest, ReplyWithoutDecoderOrWithEmptyResultComesBackItself) {
    f.client().incoming = {HostDatagram("03", "01", "00")};
    ReplyResult r = Exchange("0381:0301 x");
    EXPECT_EQ(r.text, Reply("03", "01", "00"));
    EXPECT_EQ(r.kind, ReplyKind::Data);
    EXPECT_EQ(r.resultByte, 0x00u);
    f.client().incoming = {HostDatagram("03", "01", "")};
    r = Exchange("0381:0301 x");
    EXPECT_EQ(r.text, Reply("03", "01", ""));
    EXPECT_FALSE(r.resultByte);
    f.tdm->decoders.Register("34",
                             [](const std::string&, DecodeContext&) { return ReplyResult{}; });
    f.client().incoming = {HostDatagram("34", "01", "00")};
    r = Exchange("3481:3401 x");
    EXPECT_EQ(r.text, Reply("34", "01", "00"));
    EXPECT_EQ(r.kind, ReplyKind::Data);
    EXPECT_FALSE(r.Succeeded());
    // A decoder's outcome comes through whole.
    f.client().incoming = {HostDatagram("33", "01", "02")};
    r = Exchange("3381:3301 x");
    EXPECT_EQ(r.kind, ReplyKind::Outcome);
    EXPECT_TRUE(r.Succeeded());
}

TEST_F(ExchangeTest, NoReplyGivesEmptyTextAndTheNoReplyCommandDoesNotWait) {
    EXPECT_EQ(Exchange("3381:3301 x").kind, ReplyKind::NoReply);
    EXPECT_EQ(f.client().waits.size(), 1u);
    f.client().incoming = {HostDatagram("12", "05", "01")};
    const ReplyResult ack = f.tdm->exchanger.Exchange(Request(kArmingAckPair));
    EXPECT_EQ(ack.kind, ReplyKind::NoReply);
    EXPECT_EQ(ack.text, "");
    EXPECT_EQ(f.client().waits.size(), 1u);
    EXPECT_EQ(f.client().sent.size(), 2u);
}

TEST_F(ExchangeTest, SocketErrorIsShownOnceAndGivesEmptyText) {
    f.client().failSend = "Socket Error # 10065\r\nNo route to host.";
    const ReplyResult r = Exchange("3381:3301 x");
    EXPECT_EQ(r.kind, ReplyKind::NoReply);
    EXPECT_EQ(r.text, "");
    ASSERT_EQ(f.op.boxes.size(), 1u);
    EXPECT_EQ(f.op.boxes[0].kind, "warning");
    EXPECT_EQ(f.op.boxes[0].text, "连接主机失败，请稍候重试！\r\n" + std::string(38, '-') +
                                      "\r\nSocket Error # 10065\r\nNo route to host.");
}

TEST_F(ExchangeTest, StatusQueryIsQuietDecodesClass12AndReturnsTheLastDatagram) {
    int decoded = 0;
    f.tdm->decoders.Register("12", [&](const std::string&, DecodeContext&) {
        ++decoded;
        return Outcome(1, "ignored");
    });
    std::string stray = HostDatagram("12", "06", "01");
    f.timerClient().incoming = {stray};
    std::string last = f.tdm->exchanger.ExchangeStatusQuery(Request(kStatusQueryPair, "06F2"));
    EXPECT_EQ(last, Reply("12", "06", "01"));
    EXPECT_EQ(decoded, 1);
    EXPECT_TRUE(f.tdm->trace.Lines().empty());
    EXPECT_EQ(f.timerClient().waits, (std::vector<int>{2500, 2500}));
    EXPECT_TRUE(f.client().sent.empty());

    f.timerClient().failSend = "down";
    EXPECT_EQ(f.tdm->exchanger.ExchangeStatusQuery(Request(kStatusQueryPair, "06F2")), "");
    EXPECT_TRUE(f.op.boxes.empty());
}

// Datagrams that are not the host's reply to this request, each followed by
// the real reply: the exchange returns the reply and traces the stray.
struct StrayCase {
    const char* name;
    std::vector<testing::ScriptedEndpoint::Incoming> waiting;   // before the request
    std::vector<testing::ScriptedEndpoint::Incoming> incoming;  // during the wait
    const char* traced;                                         // in the one trace line
};

TEST_F(ExchangeTest, StraysNeverBecomeTheReply) {
    const std::string reply = HostDatagram("33", "01", "02");
    const std::string repeated = HostDatagram("33", "01", "01");  // an earlier request's reply
    const StrayCase cases[] = {
        {"stale copy of the last reply", {repeated}, {reply}, "发送前丢弃: "},
        {"same reply from another address",
         {},
         {{repeated, "10.77.0.99"}, reply},
         "来自其他地址: 10.77.0.99"},
        {"empty datagram from the host", {}, {"", reply}, "返回信息: \r\n"},
        {"empty datagram from elsewhere", {}, {{"", "10.77.0.12"}, reply}, "来自其他地址"},
        // Only class and command together make the reply.
        {"same class, another command", {}, {HostDatagram("33", "02", "01"), reply}, "01823302"},
        {"same command, another class", {}, {HostDatagram("34", "01", "01"), reply}, "01823401"},
    };
    for (const StrayCase& c : cases) {
        SCOPED_TRACE(c.name);
        f.tdm->trace.Clear();
        f.tdm->params.Clear();
        f.client().waiting.assign(c.waiting.begin(), c.waiting.end());
        f.client().incoming.assign(c.incoming.begin(), c.incoming.end());

        EXPECT_EQ(Run("3381:3301 x"), "decoded");
        EXPECT_EQ(f.tdm->params.Get("Seen"), testing::Reply("33", "01", "02"));
        ASSERT_EQ(f.tdm->trace.Lines().size(), 1u);
        EXPECT_NE((f.tdm->trace.Lines()[0] + "\r\n").find(c.traced), std::string::npos)
            << f.tdm->trace.Lines()[0];
        EXPECT_TRUE(f.client().waiting.empty());
    }
}

TEST_F(ExchangeTest, ABroadcastRequestTakesItsReplyFromAnyAddress) {
    f.tdm->session.SetCurrentHost("255.255.255.255");
    f.client().incoming = {{HostDatagram("33", "01", "02"), "10.77.0.40"}};
    EXPECT_EQ(Run("3381:3301 x"), "decoded");
}

TEST_F(ExchangeTest, AFloodEndsTheExchangeAtItsDeadlineWithTheStraysCounted) {
    // Junk from another address arrives every 7 ms for ever.
    f.client().onReceive = [&] {
        f.op.tick += 7;
        f.client().incoming.push_back({"JUNK", "10.77.0.66"});
    };
    EXPECT_EQ(Run("3381:3301 x"), "");
    EXPECT_GE(f.op.tick, static_cast<uint64_t>(kExchangeDeadlineMs));
    EXPECT_LE(f.op.tick, static_cast<uint64_t>(kExchangeDeadlineMs) + 7);
    const size_t receives = f.client().waits.size();
    ASSERT_EQ(f.tdm->trace.Lines().size(), static_cast<size_t>(kTracedStraysPerExchange) + 1);
    EXPECT_EQ(f.tdm->trace.Lines().back(), "[调试数据]: 另有 " +
                                               std::to_string(receives - kTracedStraysPerExchange) +
                                               " 个无关数据报未逐条记录");
    // Every datagram received was a stray; no wait reaches past the deadline.
    EXPECT_LE(f.client().waits.back(), 7);
}

TEST_F(ExchangeTest, AFullSocketIsDroppedOnlySoFarBeforeTheRequestGoesOut) {
    f.client().waiting.assign(kMaxDroppedBeforeRequest + 10, {"OLD"});
    f.client().incoming = {HostDatagram("33", "01", "02")};
    EXPECT_EQ(Run("3381:3301 x"), "decoded");
    EXPECT_EQ(f.client().waiting.size(), 10u);
    EXPECT_EQ(f.tdm->trace.Lines().back(),
              "[调试数据]: 另有 " +
                  std::to_string(kMaxDroppedBeforeRequest - kTracedStraysPerExchange) +
                  " 个无关数据报未逐条记录");
}

TEST_F(ExchangeTest, StatusQueryDecodesOnlyTheHostsOwnDatagrams) {
    std::vector<std::string> decoded;
    f.tdm->decoders.Register("12", [&](const std::string& reply, DecodeContext&) {
        decoded.push_back(reply);
        return ReplyResult{};
    });
    f.timerClient().waiting = {HostDatagram("12", "02", "01")};
    f.timerClient().incoming = {
        {HostDatagram("12", "02", "02"), "10.77.0.99"}, "", HostDatagram("12", "02", "03")};
    EXPECT_EQ(f.tdm->exchanger.ExchangeStatusQuery(Request("1282:1202 x", "06F2")),
              Reply("12", "02", "03"));
    EXPECT_EQ(decoded, std::vector<std::string>{Reply("12", "02", "03")});
}

}  // namespace
}  // namespace tarnwick

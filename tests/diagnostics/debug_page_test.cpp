#include "diagnostics/debug_page.h"

#include <gtest/gtest.h>

#include "hosts/host_window.h"
#include "operation/alarm_host_decoder.h"
#include "programming/programming_requests.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/core_fixture.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

struct DebugFixture {
    DebugFixture() { f.tdm->session.SetCurrentHost("10.77.0.11"); }
    Control& operator[](const std::string& name) { return page.Controls()[name]; }
    const std::vector<std::string>& Lines() { return f.tdm->trace.Lines(); }
    testing::CoreFixture f;
    HostWindow window{*f.tdm};
    DebugPage page{window};
};

TEST(DebugPage, ChecksumToolsShowTheSliceAndItsSum) {
    DebugFixture d;
    d["edtData"].text = " 7EB7820102D75A7E ";
    d.page.Controls().Click("btnGetCheckSum");
    d.page.Controls().Click("btnGetCheckCode");
    d["edtData"].text = "7EB7820102D75A7E";
    d.page.Controls().Click("btnCheckNum");
    d["edtData"].text = "7EB7820102D75A7";
    d.page.Controls().Click("btnCheckNum");
    d["edtData"].text = "7EB78201002D75A7E";  // odd slice
    d.page.Controls().Click("btnGetCheckSum");
    ASSERT_EQ(d.f.op.boxes.size(), 6u);
    EXPECT_EQ(d.f.op.boxes[0].text, "820102D75A :B7");
    EXPECT_EQ(d.f.op.boxes[1].text, "0102D7 :5A");
    EXPECT_EQ(d.f.op.boxes[2].text, "OK!!");
    EXPECT_EQ(d.f.op.boxes[3].text, "ERROR!!");
    EXPECT_EQ(d.f.op.boxes[4].text, std::string(kOddDigitMessage));
    EXPECT_EQ(d.f.op.boxes[5].text, "8201002D75A :");
    EXPECT_TRUE(VerifyFrame(SampleDebugFrame()));
}

TEST(DebugPage, DirectedSendTracesTheReplyOrTheSilence) {
    DebugFixture d;
    d["edtData"].text = "7EB7820102D75A7E";
    d["edtIP"].text = "10.77.0.12";
    d.page.Controls().Click("btnSendUDP");
    EXPECT_EQ(d.f.client().sent.at(0).host, "10.77.0.12");
    EXPECT_EQ(d.f.client().sent.at(0).payload, "7EB7820102D75A7E");
    EXPECT_EQ(d.Lines(), (std::vector<std::string>{
                             "Sending 7EB7820102D75A7E  to 10.77.0.12",
                             "No response received from the server after 3500 millseconds."}));
    d.f.client().incoming = {"7e3d820102db7d025d7e"};
    d.page.Controls().Click("btnSendUDP");
    EXPECT_EQ(d.Lines().back(), " Received: 7E3D820102DB7D025D7E");
}

TEST(DebugPage, BroadcastListsEachAnswerAndEndsAfterThreeSilences) {
    DebugFixture d;
    const std::string answer = testing::BareSearchAnswer("10.77.0.11");
    d.f.client().incoming = {answer, answer};
    d.page.Controls().Click("btnSendBroadcast");
    EXPECT_EQ(d.f.client().sent.at(0).host, "255.255.255.255");
    EXPECT_EQ(d.f.client().waits.size(), 5u);
    const auto& lines = d.Lines();
    ASSERT_EQ(lines.size(), 1u + 2 * 8 + 3);
    EXPECT_EQ(lines[0], "Sending BroadCast: 7EB7820102D75A7E");
    EXPECT_EQ(lines[1], "0" + std::string(98, '-'));
    EXPECT_EQ(lines[2], "Received: " + answer);
    EXPECT_EQ(lines[3], Slice(answer, 13, 112) + ":10.77.0.11");
    EXPECT_EQ(lines[9], "1" + std::string(98, '-'));
    EXPECT_EQ(lines.back(), "No response received from the server after 3500 millseconds.");
}

TEST(DebugPage, ReadBufferDrainsUntilTheFirstSilence) {
    DebugFixture d;
    d.page.Controls().Click("btnReadUDPBuffer");
    EXPECT_EQ(d.Lines(), (std::vector<std::string>{"读取缓存信息1：", std::string(45, '-')}));
    EXPECT_EQ(d.f.client().waits, std::vector<int>{100});
    d.f.tdm->trace.Clear();
    d.f.client().incoming = {"AA", "BB"};
    d.page.Controls().Click("btnReadUDPBuffer");
    EXPECT_EQ(d.Lines()[1], "读取缓存信息2：BB");
    EXPECT_EQ(d.Lines().size(), 4u);
}

TEST(DebugPage, SectionReadAndProbeUseTheCurrentHostAndKeepTheTimeOut) {
    DebugFixture d;
    d["Edit2"].index = 6;
    d.page.Controls().Click("Button1");
    EXPECT_EQ(d.f.client().sent.at(0).payload, "7E45820111810806217E");
    EXPECT_EQ(d.Lines().back(), std::string(kDebugSectionReadPair) + "(7E45820111810806217E): ");
    d.page.Controls().Click("Button2");
    EXPECT_EQ(d.f.client().sent.at(1).payload, std::string("\xF1\x00", 2));
    EXPECT_EQ(d.f.client().waits.back(), 2);
    EXPECT_EQ(d.f.op.boxes.back().text, std::string(24, '0'));
    EXPECT_EQ(d.f.client().ReceiveTimeoutMs(), 3500);
}

TEST(DebugPage, ChangingTheAddressRedirectsEveryLaterExchange) {
    DebugFixture d;
    d["edtIP"].text = "10.77.0.42";
    d.page.Controls().Change("edtIP");
    d.f.tdm->exchanger.Exchange(Request(kStatusQueryPair, "06F2"));
    d.f.tdm->exchanger.ExchangeStatusQuery(Request(kStatusQueryPair, "06F2"));
    EXPECT_EQ(d.f.client().sent.at(0).host, "10.77.0.42");
    EXPECT_EQ(d.f.timerClient().sent.at(0).host, "10.77.0.42");
    d.page.Controls().Click("BitBtn1");
    EXPECT_TRUE(d.Lines().empty());
}

}  // namespace
}  // namespace tarnwick

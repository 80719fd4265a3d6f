#include "operation/pairing.h"

#include <gtest/gtest.h>

#include "operation/pairing_decoder.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/timing.h"
#include "support/core_fixture.h"

namespace tarnwick {
namespace {

using testing::CoreFixture;
using testing::HostDatagram;

constexpr const char* kNow = "2026-12-07 08:30:05";

struct PairingTest : ::testing::Test {
    PairingTest() { f.tdm->session.SetCurrentHost("10.0.0.7"); }
    void Choose(int kind, int defence, int address = 0) {
        w.controls["cbWirelessDevice"].index = kind;
        w.controls.Change("cbWirelessDevice");
        w.controls["cbDefence"].index = defence;
        w.controls["cbAddress"].index = address;
    }
    // The data of every frame sent, in order.
    std::vector<std::string> SentData() {
        std::vector<std::string> out;
        for (const auto& s : f.client().sent)
            out.push_back(Slice(s.payload, 13, s.payload.size() - 4));
        return out;
    }
    const Control& Log() { return w.controls["memCMInfo"]; }

    CoreFixture f;
    PairingWindow w{*f.tdm};
};

TEST_F(PairingTest, SlotListsFollowTheDeviceKind) {
    Choose(1, 3);
    EXPECT_EQ(w.controls["cbDefence"].items,
              (std::vector<std::string>{"7", "8", "9", "10", "11", "12"}));
    w.controls["cbWirelessDevice"].index = 1;
    w.controls.Change("cbWirelessDevice");
    EXPECT_EQ(w.controls["cbDefence"].index, 0);
    EXPECT_TRUE(w.controls["cbAddress"].visible);
    EXPECT_TRUE(w.controls["lblAddress"].visible);
    EXPECT_EQ(w.controls["cbAddress"].items, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(w.controls["cbAddress"].SelectedText(), "1");

    Choose(0, 2);
    w.controls.Change("cbWirelessDevice");
    EXPECT_EQ(w.controls["cbDefence"].items, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(w.controls["cbDefence"].index, 0);
    EXPECT_FALSE(w.controls["cbAddress"].visible);
    EXPECT_FALSE(w.controls["lblAddress"].visible);
    Choose(2, 0);
    EXPECT_EQ(w.controls["cbDefence"].items.back(), "6");
}

TEST_F(PairingTest, RequestsCarryTheChosenSlot) {
    Choose(1, 5, 1);  // detector, zone 12, sub-address 2
    EXPECT_EQ(w.PairRequest().pair, std::string(kPairPair));
    EXPECT_EQ(w.PairRequest().frame, BuildFrame("13", "81", "18010C02"));
    Choose(2, 5);  // patrol device 6
    EXPECT_EQ(w.DeleteRequest().frame, BuildFrame("13", "82", "19020706"));
    Choose(0, 3);  // remote control 4
    EXPECT_EQ(w.DeviceAddress(), "000704");
    EXPECT_EQ(PairingWindow::PauseRequest().frame, BuildFrame("13", "81", "18030000"));
    EXPECT_EQ(PairingWindow::PauseRequest().pair, std::string(kPausePairingPair));
}

TEST_F(PairingTest, PairingStateWaitsForTheLearningReport) {
    Choose(1, 5, 1);
    f.client().incoming = {HostDatagram("13", "01", "02AB0101")};
    f.client().onReceive = [&] {
        // The first receive is the pair exchange; the report comes at the
        // fourth wait, after a datagram of another class at the second.
        if (f.client().waits.size() == 5)
            f.client().incoming.push_back(HostDatagram("13", "03", "01AB0103"));
        if (f.client().waits.size() == 3)
            f.client().incoming.push_back(HostDatagram("12", "02", "0191"));
        EXPECT_TRUE(w.Busy());
    };
    w.StartPairing();

    ASSERT_EQ(Log().lines.size(), 2u);
    EXPECT_EQ(Log().lines[0],
              std::string(kNow) + " 无线设备对码:失败! 进入对码状态,可以进行对码操作。");
    EXPECT_EQ(Log().lines[1],
              std::string(kNow) + " 上报无线设备学习结果: [探测器], 此无线设备对码成功。");
    EXPECT_EQ(Log().lineColors[0].rgb, kLogRed);
    EXPECT_EQ(Log().lineColors[1].rgb, kLogGreen);
    EXPECT_EQ(Log().lineColors[1].from, 20u);
    EXPECT_EQ(f.op.beeps, 1);
    EXPECT_EQ(SentData(), (std::vector<std::string>{"18010C02"}));
    // The other class's datagram went to the trace, not to the log.
    ASSERT_FALSE(f.tdm->trace.Lines().empty());
    EXPECT_NE(f.tdm->trace.Lines().back().find("[调试数据]:"), std::string::npos);
    // The waits are one second each, through the endpoint.
    EXPECT_EQ(f.client().waits.size(), 1u + 4u);
    EXPECT_EQ(w.progress, 3);
    EXPECT_EQ(f.client().waits.back(), kPairingWaitMs);
    EXPECT_FALSE(w.Busy());
    EXPECT_FALSE(w.progressVisible);
    EXPECT_TRUE(w.controls["bbtnCodeMatching"].enabled);
    EXPECT_FALSE(w.controls["bbtnStopCodeMatching"].enabled);
}

TEST_F(PairingTest, NoReportWithinThirtyWaitsPausesAndSaysStopped) {
    f.client().incoming = {HostDatagram("13", "01", "01AB0001")};
    int progressAtLastWait = -1;
    f.client().onReceive = [&] {
        if (f.client().waits.size() == 1u + kPairingWaits) {
            progressAtLastWait = w.progress;
            EXPECT_TRUE(w.progressVisible);
        }
    };
    w.StartPairing();
    EXPECT_EQ(f.client().waits.size(), 1u + kPairingWaits + 1u);  // pair, waits, pause
    EXPECT_EQ(progressAtLastWait, kPairingWaits - 1);
    EXPECT_EQ(w.progress, kPairingWaits);
    EXPECT_EQ(SentData(), (std::vector<std::string>{"18000701", "18030000"}));
    ASSERT_EQ(Log().lines.size(), 2u);
    EXPECT_EQ(Log().lines[1], std::string(kNow) + " 已停止对码.");
    EXPECT_EQ(Log().lineColors[1].rgb, 0u);
}

TEST_F(PairingTest, CancelStopsTheWaitAtItsNextSecond) {
    f.client().incoming = {HostDatagram("13", "01", "01AB0001")};
    f.client().onReceive = [&] {
        if (f.client().waits.size() == 4) w.controls.Click("bbtnStopCodeMatching");
    };
    w.StartPairing();
    EXPECT_TRUE(w.cancelRequested);
    EXPECT_EQ(SentData(), (std::vector<std::string>{"18000701", "18030000"}));
    ASSERT_EQ(Log().lines.size(), 2u);
    EXPECT_EQ(Log().lines[1], std::string(kNow) + " 已取消对码.");
    EXPECT_LT(f.client().waits.size(), 8u);
}

TEST_F(PairingTest, AnswersWithoutPairingStateStartNoWait) {
    // Sub-address missing, then no answer at all.
    f.client().incoming = {HostDatagram("13", "01", "01AB0100")};
    w.StartPairing();
    EXPECT_EQ(f.client().waits.size(), 1u);
    ASSERT_EQ(Log().lines.size(), 1u);
    EXPECT_EQ(Log().lineColors[0].rgb, 0u);
    w.StartPairing();
    EXPECT_EQ(f.client().waits.size(), 2u);
    EXPECT_EQ(Log().lines.size(), 1u);
    EXPECT_EQ(f.client().sent.size(), 2u);
}

TEST_F(PairingTest, DeletionLogsItsAnswerAndLeavesTheWindowIdle) {
    Choose(2, 5);
    f.client().incoming = {HostDatagram("13", "02", "01AB0210")};
    w.controls.Click("bbtnDeleteCodeMatch");
    EXPECT_EQ(SentData(), (std::vector<std::string>{"19020706"}));
    ASSERT_EQ(Log().lines.size(), 1u);
    // "删除" and "成功" both: the success test comes first.
    EXPECT_EQ(Log().lineColors[0].rgb, kLogGreen);
    EXPECT_EQ(f.op.beeps, 1);
    f.client().incoming = {HostDatagram("13", "02", "01AB0211")};
    w.DeletePairing();
    EXPECT_EQ(Log().lineColors[1].rgb, kLogRed);
    EXPECT_FALSE(w.Busy());
    EXPECT_TRUE(w.controls["bbtnQuit"].enabled);
    w.controls.Click("bbtnClear");
    EXPECT_TRUE(Log().lines.empty());
}

TEST_F(PairingTest, LogLinesKeepAHundredAndTwentyGbkBytesAndColourByWords) {
    w.AddPairingLogLine("");
    EXPECT_TRUE(Log().lines.empty());
    // 20 stamp bytes, then 60 two-byte characters: cut after 50 of them.
    std::string chinese;
    for (int i = 0; i < 30; ++i) chinese += "删除";
    w.AddPairingLogLine(std::string(kNow) + " " + chinese);
    EXPECT_EQ(Log().lines[0], std::string(kNow) + " " + chinese.substr(0, 50 * 3));
    EXPECT_EQ(Log().lineColors[0].rgb, kLogRed);
    // An odd byte count never splits a character.
    w.AddPairingLogLine(std::string(kNow) + "  " + chinese);
    EXPECT_EQ(Log().lines[1], std::string(kNow) + "  " + chinese.substr(0, 49 * 3));
    w.AddPairingLogLine("7E01820113" + std::string(20, '0') + "失败");
    EXPECT_EQ(Log().lineColors[2].rgb, kLogRed);
    EXPECT_EQ(f.op.beeps, 0);
}

}  // namespace
}  // namespace tarnwick

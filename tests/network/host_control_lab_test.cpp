// The host control page against a simulated host in the lab: the status it
// shows after a refresh, the poll, arming with its acknowledgement, a refused
// arming, time synchronisation and the section 06 save.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <sstream>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "operation/host_status.h"
#include "operation/status_poll.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

// Every frame a simulator received, in order, as it travelled.
std::vector<std::string> Received(const HostsimProcess& sim) {
    std::vector<std::string> out;
    for (const std::string& line : sim.LogLines("recv ")) {
        std::istringstream words(line);
        std::string recv, from, arrow, to, payload;
        words >> recv >> from >> arrow >> to >> payload;
        if (recv == "recv") out.push_back(payload);
    }
    return out;
}

std::vector<std::string> From(const std::vector<std::string>& all, size_t first) {
    return {all.begin() + static_cast<long>(std::min(first, all.size())), all.end()};
}

class HostControlInLab : public LabWindowFixture {
  protected:
    // Opens page 0 of the host at the first address, as the login does.
    void Open() {
        tdm->session.SetCurrentHost(lab->hostIps[0]);
        window->Refresh();
    }
    PageModel& Page() { return window->Page(0).Controls(); }
    Control& operator[](const std::string& name) { return Page()[name]; }
};

TEST_F(HostControlInLab, RefreshShowsTheHostsStateAndThePollFollowsIt) {
    // Armed at home, linkage on, mains and tamper, zone 2 in alarm, zone 3
    // bypassed, zone 10 in alarm, signal 13.
    auto sim = StartOneHost(
        R"("status": {"system": "45", "mode": "02", "zones1_8": "02", "bypass1_8": "04",)"
        R"( "zones9_16": "02", "csq": 13}, "model": "TWK-16 V2.30")");
    Open();
    EXPECT_FALSE(Page()["bbtnInArming"].enabled);
    EXPECT_TRUE(Page()["bbtnOutArming"].enabled);
    EXPECT_TRUE(Page()["bbtnDisArming"].enabled);
    EXPECT_FALSE(Page()["bbtnHostReset"].enabled);
    EXPECT_EQ(Page()["bbtnOnOffLinkage"].tag, 1);
    EXPECT_EQ(Page()["bbtnOnOffAlarmSound"].tag, 0);
    EXPECT_TRUE(Page()["sbtnAC"].enabled);
    EXPECT_TRUE(Page()["sbtnTamper"].enabled);
    EXPECT_FALSE(Page()["sbtnPhoneline"].enabled);
    EXPECT_EQ(Page()["lblDefence2"].color, kZoneActiveColor);
    EXPECT_EQ(Page()["lblDefence3"].color, kZoneBypassedColor);
    EXPECT_EQ(Page()["lblDefence1"].color, kZoneQuietColor);
    EXPECT_EQ(Page()["lblDefence10"].color, kZoneActiveColor);
    EXPECT_EQ(Page()["stxtGPRSCSQ"].text, "GPRS/GSM信号:13");
    EXPECT_EQ(Page()["Img1CSQ"].image, 3);
    EXPECT_EQ(Page()["stxtHostModel"].text, "主机型号版本:TWK-16 V2.30");
    EXPECT_TRUE(window->statusTimerRunning);

    // A poll on the poll's own socket, counted and traced.
    const size_t before = Received(*sim).size();
    ASSERT_TRUE(PollHostStatus(*window, Page(), true));
    EXPECT_EQ(From(Received(*sim), before), std::vector<std::string>{"7E1F8201128206F20E7E"});
    EXPECT_EQ(window->frame["Label101"].text, "1");
    EXPECT_EQ(tdm->trace.Lines().back().rfind(
                  "0. 1282:1202 报警器工作状态查询(7E1F8201128206F20E7E): 7E", 0),
              0u);
    // Behind a dialog, nothing goes out.
    EXPECT_FALSE(PollHostStatus(*window, Page(), false));
    EXPECT_EQ(Received(*sim).size(), before + 1);
}

TEST_F(HostControlInLab, AwayArmingIsAcknowledgedWithTheEchoedBytesAndReadBack) {
    auto sim = StartOneHost();
    Open();
    ASSERT_TRUE(Page()["bbtnOutArming"].enabled);
    const size_t before = Received(*sim).size();
    Page().Click("bbtnOutArming");

    const auto sent = From(Received(*sim), before);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], BuildFrame("12", "81", "03A663FFFF"));
    const std::string info = tdm->params.Get("ArmingOperateInfo");
    ASSERT_EQ(info.size(), 22u);
    EXPECT_EQ(sent[1], BuildFrame("12", "85", info));
    EXPECT_EQ(sent[2], BuildFrame("12", "82", "06F2"));
    EXPECT_EQ(sim->LogLines("arming acknowledgement matches").size(), 1u);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_NE(op.boxes[0].text.find("成功!"), std::string::npos) << op.boxes[0].text;
    // Armed away: only disarming is left.
    EXPECT_FALSE(Page()["bbtnOutArming"].enabled);
    EXPECT_FALSE(Page()["bbtnInArming"].enabled);
    EXPECT_TRUE(Page()["bbtnDisArming"].enabled);
    EXPECT_EQ(db->Select("Select * From OperationLog").size(), 1u);
}

TEST_F(HostControlInLab, RefusedArmingSendsNoAcknowledgement) {
    auto sim = StartOneHost(R"("faults": [{"match": "1281", "result": 3}])");
    Open();
    const size_t before = Received(*sim).size();
    Page().Click("bbtnInArming");
    const auto sent = From(Received(*sim), before);
    EXPECT_EQ(sent, (std::vector<std::string>{BuildFrame("12", "81", "03A662FFFF"),
                                              BuildFrame("12", "82", "06F2")}));
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, "布撤防操作拒绝!");
    EXPECT_TRUE(Page()["bbtnInArming"].enabled);  // still disarmed
    EXPECT_TRUE(db->Select("Select * From OperationLog").empty());
}

TEST_F(HostControlInLab, TimeSyncSendsThePcClock) {
    auto sim = StartOneHost();
    Open();
    const size_t before = Received(*sim).size();
    Page().Click("bbtnTimeSync");
    const auto sent = From(Received(*sim), before);
    ASSERT_EQ(sent.size(), 1u);
    // Class 02, command 81, the seven clock bytes; this year's byte travels
    // escaped when it is 7E (2026).
    const std::string frame = NormalizeReceived(sent[0]);
    EXPECT_EQ(frame.substr(8, 4), "0281");
    EXPECT_TRUE(VerifyFrame(frame));
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string year = ByteHex(static_cast<unsigned>(local.tm_year));
    EXPECT_EQ(frame.substr(12, 2), year);
    if (year == "7E") EXPECT_NE(sent[0].find("02817D02"), std::string::npos) << sent[0];
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, "系统时间校准成功!");
    ASSERT_EQ(sim->LogLines("time calibration").size(), 1u);
}

TEST_F(HostControlInLab, AChangedScheduleIsWrittenAsSection06AndAnUnchangedOneIsNot) {
    auto sim = StartOneHost();
    Open();
    size_t before = Received(*sim).size();
    window->Save();
    EXPECT_EQ(Received(*sim).size(), before);  // nothing changed, nothing sent

    Page().Click("stxtWeek27");
    Page()["chkDefenceZone1"].checked = false;
    Page().Change("chkDefenceZone1");
    const std::string body = window->Page(0).SaveList(tdm->params).at(0).frame;
    before = Received(*sim).size();
    window->Save();
    const auto sent = From(Received(*sim), before);
    ASSERT_GE(sent.size(), 1u);
    EXPECT_EQ(sent[0], body);
    EXPECT_EQ(NormalizeReceived(sent[0]).substr(8, 8), "11820906");
    // The refresh after the save reads back what was written.
    EXPECT_EQ(tdm->params.Get("Prog06_1Time"), "24602460");
    EXPECT_FALSE(Page()["chkDefenceZone1"].checked);
    EXPECT_TRUE(Page()["stxtWeek27"].checked);
}

}  // namespace
}  // namespace tarnwick::testing

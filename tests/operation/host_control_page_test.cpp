#include "operation/host_control_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "app/page_table.h"
#include "hosts/host_window.h"
#include "operation/control_decoder.h"
#include "operation/host_status.h"
#include "operation/remote_commands.h"
#include "operation/status_poll.h"
#include "protocol/frame_codec.h"
#include "support/host_window_fixture.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

// Result 01, marker 91, then system status, mode, zones 1-8, zones 9-16,
// bypass 1-8, bypass 9-16, signal.
std::string StatusReply(const std::string& status, const std::string& mode,
                        const std::string& zones = "0000", const std::string& bypass = "0000",
                        const std::string& csq = "14") {
    return HostDatagram("12", "02", "0191" + status + mode + zones + bypass + csq);
}

// Result, number 12, marker 92, 03-15 10:30, operator 1, alarm code 2A (a
// code of the seed table), two more bytes.
const std::string kArmingInfo = "010C9203151030012A0102";

struct Page0 : testing::HostWindowFixture {
    Page0() { AutoRefresh(true); }
    PageModel& c() { return window.Page(0).Controls(); }
    Control& operator[](const std::string& name) { return c()[name]; }
    void Set(const std::string& key, const std::string& value) { f.tdm->params.Set(key, value); }
    void Show() { ShowHostStatus(c(), f.tdm->params); }
    std::vector<std::string> Sent(testing::ScriptedEndpoint& e) const {
        std::vector<std::string> out;
        for (const auto& s : e.sent) out.push_back(s.payload);
        return out;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const auto& b : f.op.boxes) out.push_back(b.kind + ":" + b.text);
        return out;
    }
    size_t LogRows() { return f.db->Select("Select * From OperationLog").size(); }
};

TEST(HostStatus, ModeAndSystemStatusDecideTheButtonsSwitchesAndLamps) {
    struct Case {
        std::string mode, status;
        bool in, out, dis, reset, linkage;
    };
    const Case cases[] = {
        // Armed at home, everything off: only away arming and disarming.
        {"02", "00", false, true, true, false, true},
        {"00", "40", true, true, false, true, true},
        {"01", "13", false, false, true, false, true},
        // Locked: the five control buttons go grey, the mode is not applied again.
        {"00", "80", false, false, false, false, false},
        // Alarm sound on: only disarming, whatever the mode.
        {"00", "20", false, false, true, true, true},
    };
    for (const Case& k : cases) {
        Page0 p;
        p.Set("KeepAwayMode", k.mode);
        p.Set("SystemStatus", k.status);
        p.Show();
        const std::string at = k.mode + "/" + k.status;
        EXPECT_EQ(p["bbtnInArming"].enabled, k.in) << at;
        EXPECT_EQ(p["bbtnOutArming"].enabled, k.out) << at;
        EXPECT_EQ(p["bbtnDisArming"].enabled, k.dis) << at;
        EXPECT_EQ(p["bbtnHostReset"].enabled, k.reset) << at;
        EXPECT_EQ(p["bbtnOnOffLinkage"].enabled, k.linkage) << at;
    }

    Page0 p;
    p.Set("KeepAwayMode", "02");
    p.Set("SystemStatus", "00");
    p.Show();
    EXPECT_EQ(p["bbtnOnOffLinkage"].tag, 0);
    EXPECT_EQ(p["bbtnOnOffLinkage"].hint, "联动开启(当前关闭)");
    EXPECT_EQ(p["bbtnOnOffLinkage"].image, 0);
    EXPECT_EQ(p["bbtnOnOffAlarmSound"].hint, "报警声开启(当前关闭)");
    EXPECT_EQ(p["bbtnOnOffAlarmSound"].image, 2);
    for (const Lamp& lamp : kLamps) EXPECT_FALSE(p[lamp.name].enabled) << lamp.name;

    p.Set("SystemStatus", "75");  // linkage, sound, phone line, tamper, mains
    p.Show();
    EXPECT_EQ(p["bbtnOnOffLinkage"].tag, 1);
    EXPECT_EQ(p["bbtnOnOffLinkage"].hint, "联动关闭(当前打开)");
    EXPECT_EQ(p["bbtnOnOffLinkage"].image, 1);
    EXPECT_EQ(p["bbtnOnOffAlarmSound"].tag, 1);
    EXPECT_EQ(p["bbtnOnOffAlarmSound"].hint, "报警声关闭(当前打开)");
    EXPECT_EQ(p["bbtnOnOffAlarmSound"].image, 3);
    EXPECT_TRUE(p["sbtnPhoneline"].enabled);
    EXPECT_TRUE(p["sbtnTamper"].enabled);
    EXPECT_FALSE(p["sbtnButterfly"].enabled);
    EXPECT_TRUE(p["sbtnAC"].enabled);
    EXPECT_FALSE(p["bbtnPowerReset"].enabled);
}

TEST(HostStatus, ZonesTakeTheirColourAndTheSignalItsIcon) {
    Page0 p;
    // Zone 3 bypassed and in alarm, zone 4 in alarm, zone 9 bypassed, zone 12 in alarm.
    p.Set("Defence1_8", "0C");
    p.Set("ByPass1_8", "04");
    p.Set("Defence9_16", "08");
    p.Set("ByPass9_16", "01");
    p.Set("GPRSCSQ", "17");
    p.Show();
    EXPECT_EQ(p["lblDefence3"].color, kZoneBypassedColor);
    EXPECT_EQ(p["lblDefence4"].color, kZoneActiveColor);
    EXPECT_EQ(p["lblDefence1"].color, kZoneQuietColor);
    EXPECT_EQ(p["lblDefence9"].color, kZoneBypassedColor);
    EXPECT_EQ(p["lblDefence12"].color, kZoneActiveColor);
    EXPECT_EQ(p["lblDefence10"].color, kZoneQuietColor);
    EXPECT_EQ(p["stxtGPRSCSQ"].text, "GPRS/GSM信号:17");
    EXPECT_EQ(p["Img1CSQ"].image, 4);

    const std::pair<std::string, int> icons[] = {{"5", 0},  {"6", 1},  {"7", 1},  {"11", 2},
                                                 {"12", 3}, {"19", 4}, {"20", 5}, {"99", 5},
                                                 {"", 0},   {"x", 0}};
    for (const auto& [value, icon] : icons) EXPECT_EQ(SignalIcon(value), icon) << value;

    // Without zone bytes 1-8 the colours and the signal stay as they were;
    // a byte that is not hex skips its step the same way.
    p.f.tdm->params.Clear();
    p.Set("GPRSCSQ", "3");
    p.Show();
    p.Set("Defence1_8", "G1");
    p.Set("ByPass1_8", "00");
    p.Set("SystemStatus", "8");
    p.Show();
    EXPECT_EQ(p["lblDefence3"].color, kZoneBypassedColor);
    EXPECT_EQ(p["stxtGPRSCSQ"].text, "GPRS/GSM信号:17");
    EXPECT_EQ(p["Img1CSQ"].image, 4);
    EXPECT_EQ(p["bbtnOnOffLinkage"].tag, 0);

    p.window.Page(0).Prepare();
    EXPECT_FALSE(p["lblDefence3"].color.has_value());
    EXPECT_EQ(p["stxtGPRSCSQ"].text, "GPRS/GSM信号:");
    EXPECT_TRUE(p["sbtnButterfly"].enabled);
}

TEST(HostStatus, LoaderShowsModelAndTrimmedModuleVersion) {
    Page0 p;
    p.Set("HostModel", "TW-8000");
    p.Set("GprsKERNELVer", " 2.1 ");
    p.window.Page(0).Load(p.f.tdm->params);
    EXPECT_EQ(p["stxtHostModel"].text, "主机型号版本:TW-8000");
    EXPECT_EQ(p["stxtModuleVer"].text, "模块软件版本:2.1");
    EXPECT_EQ(p["stxtModuleVer"].hint, "模块软件版本: 2.1 ");
}

TEST(StatusPoll, PollsOnlyOnTheActiveWindowsFirstPageWhenNothingRuns) {
    Page0 p;
    auto& timer = p.f.timerClient();
    timer.responder = [](const std::string&) {
        return std::vector<std::string>{StatusReply("00", "01", "0000", "0000", "1F")};
    };
    EXPECT_FALSE(PollHostStatus(p.window, p.c(), false));  // a dialog is in front
    p.window.waitingFlag = true;
    EXPECT_FALSE(PollHostStatus(p.window, p.c(), true));
    p.window.waitingFlag = false;
    p.window.PageChange(3);
    p.f.op.boxes.clear();  // the page's refresh got no answer
    EXPECT_FALSE(PollHostStatus(p.window, p.c(), true));
    EXPECT_TRUE(timer.sent.empty());
    EXPECT_EQ(p.window.frame["Label101"].text, "0");

    p.f.op.pauses.clear();
    p.f.client().sent.clear();
    StandardPage(p.window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    p.window.PageChange(0);
    EXPECT_TRUE(p.window.statusTimerRunning);
    ASSERT_TRUE(PollHostStatus(p.window, p.c(), true));
    EXPECT_EQ(p.Sent(timer), std::vector<std::string>{"7E1F8201128206F20E7E"});
    EXPECT_EQ(p.f.tdm->trace.Lines().back(),
              "0. 1282:1202 报警器工作状态查询(7E1F8201128206F20E7E): " +
                  NormalizeReceived(StatusReply("00", "01", "0000", "0000", "1F")));
    EXPECT_EQ(p.window.frame["Label101"].text, "1");
    EXPECT_FALSE(p["bbtnOutArming"].enabled);  // armed away
    EXPECT_EQ(p["stxtGPRSCSQ"].text, "GPRS/GSM信号:31");

    // Silence is traced and counted like an answer, without a box; the
    // counter is never shown.
    timer.responder = nullptr;
    ASSERT_TRUE(PollHostStatus(p.window, p.c(), true));
    const auto& lines = p.f.tdm->trace.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "0. 1282:1202 报警器工作状态查询(7E1F8201128206F20E7E): ");
    EXPECT_EQ(lines.back(), "[状态]: 主机无应答（最后更新 08:30:05）");
    EXPECT_EQ(p.window.frame["Label101"].text, "2");
    EXPECT_FALSE(p.window.frame["Label101"].visible);
    EXPECT_TRUE(p.f.op.boxes.empty());
    EXPECT_TRUE(p.f.client().sent.empty());
}

// What the status group shows after each way a status query can end: the
// poll, the refresh of page 0 and a remote command's read-back alike.
struct StatusShown {
    std::vector<int> lamps;  // sbtnPhoneline, sbtnTamper, sbtnButterfly, sbtnAC pictures
    std::optional<uint32_t> zone1, zone3;
    std::string arming, note;
    bool signalIcon;
};

StatusShown Shown(PageModel& c) {
    StatusShown s;
    for (const Lamp& lamp : kLamps) {
        s.lamps.push_back(c[lamp.name].image);
        EXPECT_EQ(c[lamp.name].enabled, c[lamp.name].image == kLampLit) << lamp.name;
    }
    s.zone1 = c["lblDefence1"].color;
    s.zone3 = c["lblDefence3"].color;
    s.arming = c["stxtArmingState"].text;
    s.note = c["stxtHostAnswer"].text;
    s.signalIcon = c["Img1CSQ"].visible;
    return s;
}

void ExpectShown(PageModel& c, const StatusShown& want, const std::string& at) {
    const StatusShown got = Shown(c);
    EXPECT_EQ(got.lamps, want.lamps) << at;
    EXPECT_EQ(got.zone1, want.zone1) << at;
    EXPECT_EQ(got.zone3, want.zone3) << at;
    EXPECT_EQ(got.arming, want.arming) << at;
    EXPECT_EQ(got.note, want.note) << at;
    EXPECT_EQ(got.signalIcon, want.signalIcon) << at;
}

TEST(StatusPoll, ASilentHostIsShownUnknownAtOnceAndTheNextAnswerIsShownLive) {
    const int off = kLampOff, lit = kLampLit, unknown = kLampUnknown;
    // Armed away; phone line and mains lit; zone 3 in alarm.
    const StatusShown live{{lit, off, off, lit}, kZoneQuietColor,     kZoneActiveColor,
                           "布防状态:离家布防",  "最后更新 08:30:05", true};
    const StatusShown silent{{unknown, unknown, unknown, unknown},
                             kZoneUnknownColor,
                             kZoneUnknownColor,
                             "布防状态:未知",
                             "主机无应答（最后更新 08:30:05）",
                             false};
    const StatusShown disarmed{{lit, off, off, lit}, kZoneQuietColor,     kZoneActiveColor,
                               "布防状态:撤防",      "最后更新 08:31:10", true};
    Page0 p;
    auto& timer = p.f.timerClient();
    std::string mode = "01";
    bool answering = true;
    timer.responder = [&](const std::string&) {
        return answering ? std::vector<std::string>{StatusReply("11", mode, "0400")}
                         : std::vector<std::string>{};
    };
    using Step = std::function<void()>;
    const Step poll = [&] { ASSERT_TRUE(PollHostStatus(p.window, p.c(), true)); };
    const Step refresh = [&] {
        p.f.client().responder = timer.responder;
        p.window.Refresh();
        p.f.op.boxes.clear();
    };
    struct Case {
        const char* what;
        bool answers;
        const char* now;
        Step run;
        const StatusShown& shown;
    };
    const Case cases[] = {
        {"first poll", true, "2026-12-07 08:30:05", poll, live},
        {"silent poll", false, "2026-12-07 08:30:20", poll, silent},
        {"second silent poll", false, "2026-12-07 08:30:35", poll, silent},
        {"answer",
         true,
         "2026-12-07 08:30:50",
         poll,
         {live.lamps, live.zone1, live.zone3, live.arming, "最后更新 08:30:50", true}},
        {"silent refresh",
         false,
         "2026-12-07 08:31:00",
         refresh,
         {silent.lamps, silent.zone1, silent.zone3, silent.arming,
          "主机无应答（最后更新 08:30:50）", false}},
        {"answered refresh", true, "2026-12-07 08:31:10", refresh, disarmed},
    };
    for (const Case& k : cases) {
        answering = k.answers;
        if (std::string(k.what) == "answered refresh") mode = "00";
        p.f.clock.now = k.now;
        k.run();
        ExpectShown(p.c(), k.shown, k.what);
    }
    // The poll's trace says when the host fell silent and when it came back.
    const auto& lines = p.f.tdm->trace.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[状态]: 主机无应答（最后更新 08:30:05）"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[状态]: 最后更新 08:30:50"), 1);
    // The note is drawn in its own colour only while the host is silent.
    EXPECT_FALSE(p["stxtHostAnswer"].color.has_value());
    answering = false;
    poll();
    EXPECT_EQ(p["stxtHostAnswer"].color, kHostSilentColor);
    // A schedule group's reload shows the page as last read, but not the
    // old status as live.
    p.window.Page(0).Load(p.f.tdm->params);
    ExpectShown(p.c(),
                {silent.lamps, silent.zone1, silent.zone3, silent.arming,
                 "主机无应答（最后更新 08:31:10）", false},
                "reload");
}

TEST(RemoteCommands, AReadBackWithoutAnswerShowsTheHostSilent) {
    Page0 p;
    p.f.clock.now = "2026-12-07 09:00:00";
    p.f.client().incoming = {HostDatagram("10", "01", "019A09"), StatusReply("10", "00")};
    p.c().Click("bbtnHostReset");
    EXPECT_EQ(p["stxtHostAnswer"].text, "最后更新 09:00:00");
    EXPECT_EQ(p["sbtnPhoneline"].image, kLampLit);
    p.f.client().incoming = {HostDatagram("10", "01", "019A09")};
    p.c().Click("bbtnHostReset");
    EXPECT_EQ(p["stxtHostAnswer"].text, "主机无应答（最后更新 09:00:00）");
    EXPECT_EQ(p["sbtnPhoneline"].image, kLampUnknown);
}

TEST(StatusPoll, APressDuringThePollsWaitRunsWhenThePollEnds) {
    Page0 p;
    auto& timer = p.f.timerClient();
    size_t commandsDuringPoll = 99;
    timer.responder = [&](const std::string&) {
        p.c().Click("bbtnOutArming");
        p.window.KeyDown(HostWindow::Key::F5);
        commandsDuringPoll = p.f.client().sent.size();
        return std::vector<std::string>{StatusReply("00", "00")};
    };
    ASSERT_TRUE(PollHostStatus(p.window, p.c(), true));
    EXPECT_EQ(commandsDuringPoll, 0u);
    const auto sent = p.Sent(p.f.client());
    ASSERT_GE(sent.size(), 2u + 9u);
    EXPECT_EQ(sent[0], BuildFrame("12", "81", "03A663FFFF"));
    EXPECT_EQ(sent[1], BuildFrame("12", "82", "06F2"));  // the status read back
    EXPECT_EQ(sent[2], "7E1F8201128206F20E7E");          // then the refresh of F5
    EXPECT_FALSE(p.window.pollWaiting);
}

TEST(RemoteCommands, SwitchesSendTheOppositeOfTheirStateAndReadTheStatusBack) {
    const std::pair<std::string, std::string> cases[] = {{"40", "0A06"}, {"00", "0A05"}};
    for (const auto& [status, data] : cases) {
        Page0 p;
        p.Set("SystemStatus", status);
        p.Show();
        p.f.client().incoming = {HostDatagram("10", "01", "019A" + data.substr(2)),
                                 StatusReply("40", "00")};
        p.c().Click("bbtnOnOffLinkage");
        const auto sent = p.Sent(p.f.client());
        ASSERT_EQ(sent.size(), 2u) << status;
        EXPECT_EQ(sent[0], BuildFrame("10", "81", data));
        EXPECT_EQ(sent[1], BuildFrame("12", "82", "06F2"));
        const std::string word = data == "0A06" ? "联动关闭成功!" : "联动开启成功!";
        EXPECT_EQ(p.Boxes(), std::vector<std::string>{"information:" + word});
        EXPECT_EQ(p.f.tdm->trace.Lines().back(),
                  std::string(kRemoteControlPair) + "(" + sent[0] + "): " + word);
        EXPECT_EQ(p.LogRows(), 1u);
        EXPECT_EQ(p["bbtnOnOffLinkage"].tag, 1);  // read back
        EXPECT_FALSE(p.window.waitingFlag);
        EXPECT_TRUE(p.window.statusTimerRunning);
    }
    // Without an answer there is no box, but the row is written all the same.
    Page0 p;
    p.c().Click("bbtnHostReset");
    EXPECT_EQ(p.Sent(p.f.client())[0], BuildFrame("10", "81", "0A09"));
    EXPECT_TRUE(p.f.op.boxes.empty());
    EXPECT_EQ(p.LogRows(), 1u);
}

TEST(RemoteCommands, ArmingIsAcknowledgedWithItsOwnBytesOnlyWhenAccepted) {
    Page0 p;
    p.Set("ArmingOperateInfo", "stale");
    p.f.client().incoming = {HostDatagram("12", "01", kArmingInfo), StatusReply("00", "01")};
    p.c().Click("bbtnOutArming");
    auto sent = p.Sent(p.f.client());
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], BuildFrame("12", "81", "03A663FFFF"));
    EXPECT_EQ(sent[1], BuildFrame("12", "85", kArmingInfo));
    EXPECT_EQ(sent[2], BuildFrame("12", "82", "06F2"));
    EXPECT_EQ(p.Boxes(), std::vector<std::string>{
                             "information:12. 03月15日10时30分.以太网断开[操作员1]成功!"});
    EXPECT_EQ(p.f.tdm->trace.Lines().back(),
              "(" + sent[0] + "): 12. 03月15日10时30分.以太网断开[操作员1]成功!");
    EXPECT_EQ(p.LogRows(), 1u);
    EXPECT_FALSE(p["bbtnOutArming"].enabled);  // the read-back shows armed away
    EXPECT_TRUE(p["bbtnDisArming"].enabled);

    Page0 r;
    r.f.client().incoming = {HostDatagram("12", "01", "0300920315"), StatusReply("00", "00")};
    r.c().Click("bbtnDisArming");
    sent = r.Sent(r.f.client());
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], BuildFrame("12", "81", "03A668FFFF"));
    EXPECT_EQ(sent[1], BuildFrame("12", "82", "06F2"));
    EXPECT_EQ(r.Boxes(), std::vector<std::string>{"information:布撤防操作拒绝!"});
    EXPECT_EQ(r.LogRows(), 0u);
}

TEST(RemoteCommands, AFailureShowsWhatWasSentAfterTheIdleStep) {
    Page0 p;
    // The command is answered; the status read after it cannot be decoded.
    p.f.client().incoming = {HostDatagram("10", "01", "019A0A"), "7EZZ820112020100007E"};
    p.c().Click("bbtnDisAlarm");
    const std::string frame = BuildFrame("12", "82", "06F2");
    ASSERT_EQ(p.f.op.boxes.size(), 2u);
    EXPECT_EQ(p.f.op.boxes[0].text, "消除报警记忆成功!");
    const std::string box = p.f.op.boxes.back().text;
    EXPECT_EQ(box.rfind("错误:", 0), 0u) << box;
    EXPECT_NE(box.find("ZZ"), std::string::npos) << box;
    EXPECT_NE(box.find("\rSend:" + frame + "\rReceive:"), std::string::npos) << box;
    EXPECT_EQ(p.LogRows(), 1u);
    EXPECT_FALSE(p.window.waitingFlag);
}

TEST(RemoteCommands, AnOperationLogThatCannotBeWrittenIsSaidBesideTheResult) {
    Page0 p;
    p.f.db->Execute("Drop Table OperationLog", {});
    p.f.client().incoming = {HostDatagram("10", "01", "019A0A")};
    p.c().Click("bbtnDisAlarm");
    ASSERT_FALSE(p.f.op.boxes.empty());
    const auto& box = p.f.op.boxes.front();
    EXPECT_EQ(box.kind, "information");
    EXPECT_EQ(box.text.rfind("消除报警记忆成功!\r操作日志无法写入：", 0), 0u) << box.text;
    // The status is still read back after the result.
    EXPECT_EQ(p.f.client().sent.back().payload, BuildFrame("12", "82", "06F2"));
}

TEST(RemoteCommands, TimeSyncSendsThePcClockEscapedOnTheWire) {
    const std::pair<std::string, std::string> cases[] = {
        {"2010-03-15 08:05:09", "6E020F00080509"},
        {"2026-12-06 23:59:58", "7E0B0606173B3A"},  // a Sunday in 2026
    };
    for (const auto& [now, data] : cases) {
        Page0 p;
        p.f.clock.now = now;
        EXPECT_EQ(ClockData(now), data);
        p.f.client().incoming = {HostDatagram("02", "01", "01")};
        p.c().Click("bbtnTimeSync");
        const auto sent = p.Sent(p.f.client());
        ASSERT_EQ(sent.size(), 1u) << now;  // no status read-back
        EXPECT_EQ(sent[0], BuildFrame("02", "81", data));
        EXPECT_EQ(p.Boxes(), std::vector<std::string>{"information:系统时间校准成功!"});
        EXPECT_EQ(p.LogRows(), 1u);
    }
    // The year byte 7E travels as 7D 02 between the frame's delimiters.
    const std::string wire = BuildFrame("02", "81", "7E0B0606173B3A");
    EXPECT_NE(wire.find("7D020B0606173B3A"), std::string::npos) << wire;
    EXPECT_THROW(ClockData("2026-02-30 00:00:00"), std::exception);
}

TEST(RemoteCommands, PairingButtonOpensThePairingWindowWhenItExists) {
    Page0 p;
    p.c().Click("bbtnCodeMatching");  // nothing to open yet
    int opened = 0;
    p.window.openPairingWindow = [&] { ++opened; };
    p.c().Click("bbtnCodeMatching");
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(p.f.client().sent.empty());
}

}  // namespace
}  // namespace tarnwick

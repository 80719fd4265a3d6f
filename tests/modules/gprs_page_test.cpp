#include "modules/gprs_page.h"

#include <gtest/gtest.h>

#include <map>

#include "hosts/host_window.h"
#include "hosts/save_refused.h"
#include "modules/gprs_decoder.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/host_window_fixture.h"

namespace tarnwick {
namespace {

constexpr int kGprsPageIndex = 5;

std::string Text(const std::string& text, size_t width) {
    return TextToHexField(text, width);
}
std::string LengthPrefixed(const std::string& text) {
    return ByteHex(static_cast<unsigned>(text.size())) + TextToHex(text);
}
std::string Phone(const std::string& digits) {
    return EncodeGprsPhoneNumber(digits);
}

// What a GPRS module answers to each query of the page, by request command
// (and phone group).
std::map<std::string, std::pair<std::string, std::string>> ModuleAnswers() {
    std::string alarms;
    for (int i = 1; i <= 8; ++i) alarms += Phone(i == 1 ? "110" : i == 3 ? "13900000003" : "");
    return {
        {"8C",
         {"0C", "01" + Text("000123", 20) + Text("CMNET", 15) + Text("10.1.2.3", 15) +
                    Text("7001", 5) + Text("alarm.example.net", 50)}},
        {"CD",
         {"3D", "01" + Text("UNINET", 15) + Text("10.9.8.7", 15) + Text("80", 5) +
                    Text("backup.example.net", 50)}},
        {"CE", {"3E", "017800"}},
        {"8500", {"05", "0100" + Phone("13800138000")}},
        {"8501", {"05", "0101" + Phone("1001") + Phone("") + Phone("1003")}},
        {"8502", {"05", "0102" + alarms + "30300000"}},
        {"8503", {"05", "0103" + Phone("13800100500") + "01"}},
        {"87", {"07", "0102" + LengthPrefixed("10.0.0.1") + LengthPrefixed("10.0.0.2")}},
        {"D4", {"44", "0102"}},
        {"D1", {"41", "0101"}},
        {"D3", {"43", "0100"}},
    };
}

struct GprsFixture : testing::HostWindowFixture {
    GprsFixture() {
        AutoRefresh(true);
        f.client().responder = [this](const std::string& payload) {
            const std::string frame = NormalizeReceived(payload);
            const std::string command = Slice(frame, 11, 12);
            std::string key = command == "85" ? command + Slice(frame, 13, 14) : command;
            std::vector<std::string> out;
            if (silent || (!answerOnly.empty() && key != answerOnly)) return out;
            auto it = answers.find(key);
            if (it != answers.end())
                out.push_back(testing::HostDatagram("01", it->second.first, it->second.second));
            return out;
        };
    }
    GprsPage& page() { return dynamic_cast<GprsPage&>(window.Page(kGprsPageIndex)); }
    Control& operator[](const std::string& name) { return page().Controls()[name]; }
    // The operator types into a control: the value and its change event.
    void Type(const std::string& name, const std::string& text) {
        (*this)[name].text = text;
        page().Controls().Change(name);
    }
    void Choose(const std::string& name, int index) {
        (*this)[name].index = index;
        page().Controls().Change(name);
    }
    void Open() {
        window.PageChange(kGprsPageIndex);
        f.client().sent.clear();
    }
    CommandList Writes() { return page().SaveList(f.tdm->params); }

    std::map<std::string, std::pair<std::string, std::string>> answers = ModuleAnswers();
    bool silent = false;
    std::string answerOnly;  // when set, the module answers only this query
};

std::vector<std::string> Pairs(const CommandList& list) {
    std::vector<std::string> pairs;
    for (const CommandEntry& e : list) pairs.push_back(e.pair);
    return pairs;
}

// The data of a request frame: between the command and the check code.
std::string DataOf(const std::string& frame) {
    const std::string plain = UnescapeFrame(frame);
    return plain.substr(12, plain.size() - 16);
}

TEST(GprsPage, RefreshSendsElevenQueriesInOrderAndShowsTheModule) {
    GprsFixture g;
    g.window.PageChange(kGprsPageIndex);
    const auto& sent = g.f.client().sent;
    ASSERT_EQ(sent.size(), 11u);
    EXPECT_EQ(sent[0].payload, "7E1F8201018C0E7E");
    EXPECT_EQ(sent[3].payload, "7E118201018500077E");
    const char* commands[] = {"8C", "CD", "CE", "85", "85", "85", "85", "87", "D4", "D1", "D3"};
    for (size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(Slice(UnescapeFrame(sent[i].payload), 11, 12), commands[i]) << i;

    EXPECT_EQ(g["edtGprsDeviceID"].text, "000123");
    EXPECT_EQ(g["edtGprsDomainName2"].text, "backup.example.net");
    EXPECT_EQ(g["edtGprsPort2"].text, "80");
    EXPECT_EQ(g["edtGprsHeartbeatInterval"].text, "120");
    EXPECT_EQ(g["memGprsDomainRPIP"].lines, (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(g["cbGprsInfoSMS"].index, 2);
    EXPECT_TRUE(g["chkGprsBootSMS"].checked);
    EXPECT_FALSE(g["chkGprsReportSMS"].checked);
    EXPECT_EQ(g["edtManagePhone"].text, "13800138000");
    EXPECT_EQ(g["edtSMSPhone"].text, "13800100500");
    EXPECT_EQ(g["cbSMSPhoneStatus"].index, 1);
    EXPECT_EQ(g["edtProgPhone3"].text, "1003");
    EXPECT_EQ(g["edtAlarmPhone3"].text, "13900000003");
    const int statuses[] = {1, 0, 1, 0, 0, 0, 0, 0};
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(g.page().Controls().At("cbAlarmPhoneStatus", i).index, statuses[i - 1]) << i;
    // The module holds what the page shows: nothing to write.
    EXPECT_TRUE(g.Writes().empty());
}

// A module that answers nothing leaves the page as it was and unsavable
// until a refresh is answered; one that answers part of the reads clears
// what it did not answer. The user name is not the module's: always kept.
TEST(GprsPage, ASilentModuleKeepsThePageShownAndUnsavedAPartlySilentOneClearsIt) {
    struct Case {
        const char* what;
        std::string answerOnly;
        std::string deviceId;
        int smsIndex;
        std::vector<std::string> boxes;  // after the refresh, then after F8
    };
    const Case cases[] = {
        {"silent", "", "000123", 2, {kSilentRefreshText, kSilentRefreshSaveText}},
        {"partly silent", "D3", "", -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GprsFixture g;
        g.window.PageChange(kGprsPageIndex);
        ASSERT_EQ(g["edtGprsDeviceID"].text, "000123");
        g.Type("edtUserName", "card");
        g.silent = c.answerOnly.empty();
        g.answerOnly = c.answerOnly;
        g.f.client().sent.clear();
        g.window.Refresh();
        EXPECT_EQ(g["edtGprsDeviceID"].text, c.deviceId);
        EXPECT_EQ(g["cbGprsInfoSMS"].index, c.smsIndex);
        EXPECT_EQ(g["memGprsDomainRPIP"].lines.empty(), c.deviceId.empty());
        EXPECT_EQ(g["edtUserName"].text, "card");
        g.window.KeyDown(HostWindow::Key::F8);
        EXPECT_EQ(g.f.client().sent.size(), 11u);  // the reads; nothing written
        std::vector<std::string> boxes;
        for (const auto& box : g.f.op.boxes) boxes.push_back(box.text);
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_FALSE(g.page().HasUnsavedChanges());
    }
    // An answered refresh makes the page savable again.
    GprsFixture g;
    g.window.PageChange(kGprsPageIndex);
    g.silent = true;
    g.window.Refresh();
    g.silent = false;
    g.window.Refresh();
    g.Type("edtGprsDeviceID", "000124");
    g.f.client().sent.clear();
    g.f.op.boxes.clear();
    g.window.KeyDown(HostWindow::Key::F8);
    EXPECT_GT(g.f.client().sent.size(), 11u);  // the write, then the reads
    for (const auto& box : g.f.op.boxes) EXPECT_NE(box.text, kSilentRefreshSaveText);
}

// A group whose query failed holds nothing the module has: a save after
// part of it was changed is refused with one box naming the group's fields
// and sends nothing (the module would lose the rest); filled in whole, the
// group is written.
TEST(GprsPage, AGroupWhoseQueryFailedIsWrittenOnlyWhenFilledInWhole) {
    using Fields = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        std::string pair;
        Fields part;  // typed first: the save is refused
        Fields rest;  // then: the group is written
        const char* named;
        std::string data;
    };
    Fields alarmRest;
    std::string alarmData = "4A02";
    for (int i = 1; i <= 8; ++i) {
        const std::string phone = "1390000000" + std::to_string(i);
        if (i != 2) alarmRest.push_back({"edtAlarmPhone" + std::to_string(i), phone});
        alarmRest.push_back({"cbAlarmPhoneStatus" + std::to_string(i), i == 2 ? "1" : "0"});
        alarmData += Phone(phone);
    }
    alarmData += "03000000";
    const Case cases[] = {
        {std::string(kGprsSetCentreIpPair),
         {{"edtGprsIP1", "10.1.1.1"}},
         {{"edtGprsPort1", "7001"}, {"edtGprsIP2", "10.1.1.2"}, {"edtGprsPort2", "80"}},
         "第一中心IP、端口号1、第二中心IP、端口号2",
         "000200" + Text("10.1.1.1", 15) + Text("7001", 5) + "00" + Text("10.1.1.2", 15) +
             Text("80", 5)},
        {std::string(kGprsSetPhoneGroupPair) + "02",
         {{"edtAlarmPhone2", "13900000002"}},
         alarmRest,
         "报警电话号码1、报警电话号码2、报警电话号码3、报警电话号码4、报警电话号码5、"
         "报警电话号码6、报警电话号码7、报警电话号码8",
         alarmData},
        {std::string(kGprsSetPhoneGroupPair) + "01",
         {{"edtProgPhone1", "1001"}},
         {{"edtProgPhone2", "1002"}, {"edtProgPhone3", "1003"}},
         "编程电话号码1、编程电话号码2、编程电话号码3",
         "4A01" + Phone("1001") + Phone("1002") + Phone("1003")},
        {std::string(kGprsSetPhoneGroupPair) + "03",
         {{"cbSMSPhoneStatus", "1"}},
         {{"edtSMSPhone", "123"}},
         "短信中心号码",
         "4A03" + Phone("123") + "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pair);
        GprsFixture g;
        g.answerOnly = "D3";  // every group's query fails
        g.Open();
        auto fill = [&g](const Fields& fields) {
            for (const auto& [name, value] : fields)
                name.starts_with("cb") ? g.Choose(name, std::stoi(value)) : g.Type(name, value);
        };
        fill(c.part);
        g.window.KeyDown(HostWindow::Key::F8);
        EXPECT_TRUE(g.f.client().sent.empty());
        ASSERT_EQ(g.f.op.boxes.size(), 1u);
        EXPECT_EQ(g.f.op.boxes[0].kind, "warning");
        EXPECT_NE(g.f.op.boxes[0].text.find(c.named), std::string::npos) << g.f.op.boxes[0].text;

        fill(c.rest);
        const CommandList writes = g.Writes();
        ASSERT_EQ(Pairs(writes), std::vector<std::string>{c.pair});
        EXPECT_EQ(DataOf(writes[0].frame), c.data);
    }

    // A group of one field is filled by its change; the power-on and report
    // switches need a value read from the module.
    GprsFixture g;
    g.silent = true;
    g.Open();
    g.Choose("cbGprsInfoSMS", 1);
    g["chkGprsBootSMS"].checked = true;
    g.page().Controls().Change("chkGprsBootSMS");
    const CommandList writes = g.Writes();
    ASSERT_EQ(Pairs(writes), std::vector<std::string>{std::string(kGprsSetSmsAlarmPair)});
    EXPECT_EQ(DataOf(writes[0].frame), "01");
}

TEST(GprsPage, EachChangedSettingIsOneWriteWithItsData) {
    struct Case {
        const char* control;
        std::string text;
        std::string pair;
        std::string data;
    };
    const Case cases[] = {
        {"edtGprsDeviceID", "123", std::string(kGprsSetDeviceIdPair), Text("000123", 20)},
        {"edtGprsDeviceID", " 42 ", std::string(kGprsSetDeviceIdPair), Text("000042", 20)},
        {"edtGprsDomainName1", "x", std::string(kGprsSetDomainName1Pair), "017800"},
        {"edtGprsDomainName2", "", std::string(kGprsSetDomainName2Pair), "000000"},
        {"edtGprsDomainName1", "报警.cn", std::string(kGprsSetDomainName1Pair),
         "07" + TextToHex("报警.cn")},
        {"edtGprsHeartbeatInterval", "60", std::string(kGprsSetHeartbeatPair), "3C00"},
        {"edtGprsHeartbeatInterval", "10000", std::string(kGprsSetHeartbeatPair), "1027"},
        {"edtGprsPort2", "81", std::string(kGprsSetCentreIpPair),
         "000200" + Text("10.1.2.3", 15) + Text("7001", 5) + "00" + Text("10.9.8.7", 15) +
             Text("81", 5)},
        {"edtGprsAPN1", "CMWAP", std::string(kGprsSetNetworkPair),
         Text("CMWAP", 15) + Text("", 15) + Text("", 18)},
        {"edtManagePhone", "", std::string(kGprsSetPhoneGroupPair) + "00", "4A00" + Phone("")},
        {"edtProgPhone2", "1002", std::string(kGprsSetPhoneGroupPair) + "01",
         "4A01" + Phone("1001") + Phone("1002") + Phone("1003")},
    };
    for (const Case& c : cases) {
        GprsFixture g;
        g.Open();
        g.Type(c.control, c.text);
        const CommandList writes = g.Writes();
        ASSERT_EQ(writes.size(), 1u) << c.control << " " << c.text;
        EXPECT_EQ(writes[0].pair, c.pair);
        EXPECT_EQ(DataOf(writes[0].frame), c.data) << c.control << " " << c.text;
        EXPECT_TRUE(VerifyFrame(writes[0].frame));
    }
}

TEST(GprsPage, SaveShowsThePaddedDeviceIdAndRereadsThePage) {
    GprsFixture g;
    g.Open();
    g.Type("edtGprsDeviceID", "123");
    g.answers["83"] = {"03", "01"};
    g.window.KeyDown(HostWindow::Key::F8);
    const auto& sent = g.f.client().sent;
    ASSERT_EQ(sent.size(), 12u);  // the write, then the eleven queries again
    EXPECT_EQ(DataOf(sent[0].payload), Text("000123", 20));
    EXPECT_EQ(g.f.op.boxes.at(0).text, "\r0183:0103 配置终端标识号----GPRS配置终端标识号成功!\r");
    EXPECT_EQ(g["edtGprsDeviceID"].text, "000123");
}

TEST(GprsPage, EverySettingChangedIsFifteenWritesInOrderAndAllAreSent) {
    GprsFixture g;
    g.Open();
    for (const auto& [edit, text] :
         std::map<std::string, std::string>{{"edtGprsDeviceID", "9"},
                                            {"edtGprsDomainName1", "a"},
                                            {"edtGprsDomainName2", "b"},
                                            {"edtGprsIP1", "10.0.0.9"},
                                            {"edtGprsHeartbeatInterval", "61"},
                                            {"edtGprsAPN1", "CMWAP"},
                                            {"edtOldPassword", "1"},
                                            {"edtNewPassword", "2"},
                                            {"edtManagePhone", "1"},
                                            {"edtProgPhone1", "2"},
                                            {"edtAlarmPhone2", "3"},
                                            {"edtSMSPhone", "4"}})
        g.Type(edit, text);
    g["memGprsDomainRPIP"].lines = {"10.0.0.7"};
    g.Choose("cbGprsInfoSMS", 0);
    g["chkGprsBootSMS"].checked = false;
    g["chkGprsReportSMS"].checked = true;
    const std::vector<std::string> commands = {"83", "8A", "CA", "84", "CB", "84", "8B", "89",
                                               "D6", "D0", "D2", "82", "82", "82", "82"};
    const CommandList writes = g.Writes();
    ASSERT_EQ(writes.size(), commands.size());
    for (size_t i = 0; i < writes.size(); ++i)
        EXPECT_EQ(Slice(UnescapeFrame(writes[i].frame), 11, 12), commands[i]) << i;
    g.window.Save();
    ASSERT_GE(g.f.client().sent.size(), commands.size());
    EXPECT_EQ(g.f.client().sent[commands.size() - 1].payload, writes.back().frame);
}

TEST(GprsPage, MemoAndSwitchesAndPasswords) {
    GprsFixture g;
    g.Open();
    g["memGprsDomainRPIP"].lines = {"10.0.0.1", "", " 10.0.0.3 "};
    g.page().Controls().Change("memGprsDomainRPIP");
    g.Type("edtPassword", "secret");  // alone: nothing for the APN group
    g.Type("edtOldPassword", "1234");
    g.Type("edtNewPassword", "");
    g["chkGprsReportSMS"].checked = true;
    g.page().Controls().Change("chkGprsReportSMS");
    CommandList writes = g.Writes();
    ASSERT_EQ(Pairs(writes), (std::vector<std::string>{std::string(kGprsSetDnsPair),
                                                       std::string(kGprsSetReportSmsPair)}));
    EXPECT_EQ(DataOf(writes[0].frame),
              "0002"
              "02" +
                  Text("10.0.0.1", 15) + std::string(10, '0') + "02" + Text("10.0.0.3", 15) +
                  std::string(10, '0'));
    EXPECT_EQ(DataOf(writes[1].frame), "01");
    g.Type("edtNewPassword", "9999");
    writes = g.Writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[1].pair, std::string(kGprsSetSmsPasswordPair));
    EXPECT_EQ(DataOf(writes[1].frame), Text("1234", 6) + Text("9999", 6));
}

TEST(GprsPage, AlarmPhoneGroupCarriesOneStatusDigitPerPhone) {
    GprsFixture g;
    g.Open();
    g.Choose("cbAlarmPhoneStatus1", 1);
    g.Choose("cbAlarmPhoneStatus3", 1);
    g.Choose("cbAlarmPhoneStatus5", 0);
    EXPECT_EQ(g.page().EncodePhoneGroup(2).substr(8 * 22), "30300000");
    g.Type("edtAlarmPhone8", "12");
    const CommandList writes = g.Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(DataOf(writes[0].frame).substr(4 + 7 * 22), Phone("12") + "30300000");
}

TEST(GprsPage, HeartbeatThatCannotBeSentRefusesTheWholeSave) {
    for (const char* heartbeat : {"9", "65536", "99999", "6O", ""}) {
        GprsFixture g;
        g.Open();
        g.Type("edtGprsDeviceID", "777");
        g.Type("edtGprsHeartbeatInterval", heartbeat);
        EXPECT_THROW(g.Writes(), SaveRefused) << heartbeat;
        g.window.KeyDown(HostWindow::Key::F8);
        EXPECT_TRUE(g.f.client().sent.empty()) << heartbeat;
        ASSERT_EQ(g.f.op.boxes.size(), 1u);
        EXPECT_EQ(g.f.op.boxes[0].kind, "warning");
        EXPECT_EQ(g.f.op.boxes[0].text, *heartbeat
                                            ? "心跳间隔时间：输入的数值超出范围，请重新输入！"
                                            : "心跳间隔时间：输入的数值不能为空，请重新输入！");
        EXPECT_EQ(g["edtGprsHeartbeatInterval"].text, heartbeat);
        EXPECT_EQ(g["edtGprsDeviceID"].text, "777");  // not padded: nothing was saved
    }
}

TEST(GprsPage, PhoneNumbersThatAreNotDigitsRefuseTheSave) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"edtProgPhone2", "12-3", "编程电话号码2：输入的号码有误，请重新输入！"},
        {"edtAlarmPhone4", " 123", "报警电话号码4：输入的号码有误，请重新输入！"},
        {"edtSMSPhone", "1 2", "短信中心号码：输入的号码有误，请重新输入！"},
        {"edtManagePhone", " 123 ", ""},  // trimmed before it is sent
    };
    for (const auto& [edit, text, message] : cases) {
        GprsFixture g;
        g.Open();
        g.Type(edit, text);
        if (*message == 0) {
            EXPECT_EQ(DataOf(g.Writes().at(0).frame), "4A00" + Phone("123"));
            continue;
        }
        try {
            g.Writes();
            ADD_FAILURE() << edit << " was not refused";
        } catch (const SaveRefused& refused) {
            EXPECT_EQ(std::string(refused.what()), message);
        }
    }
}

TEST(GprsPage, ShortAndGarbledRepliesLoadWhatWasStoredAndSaveNothingUntouched) {
    GprsFixture g;
    // A cut first parameter reply, a domain name that is not GBK, a server
    // list whose count runs past its data, a short alarm phone group.
    g.answers["8C"] = {"0C", "01" + Text("000123", 20) + "434D4E"};
    g.answers["CD"] = {"3D", "01" + Text("UNINET", 15) + Text("10.9.8.7", 15) + Text("80", 5) +
                                 "81FF8130" + std::string(92, '0')};
    g.answers["87"] = {"07", "0105" + LengthPrefixed("10.0.0.1") + "08" + Text("10.0", 4)};
    g.answers["8502"] = {"05", "0102" + Phone("110") + "1234"};
    g.Open();
    EXPECT_EQ(g["edtGprsDeviceID"].text, "000123");
    EXPECT_EQ(g["edtGprsAPN1"].text, "CMN");
    EXPECT_EQ(g["edtGprsIP1"].text, "");
    EXPECT_NE(g["edtGprsDomainName2"].text.find("\uFFFD"), std::string::npos);
    EXPECT_EQ(g["memGprsDomainRPIP"].lines, (std::vector<std::string>{"10.0.0.1", "10.0"}));
    EXPECT_EQ(g["edtAlarmPhone1"].text, "110");
    EXPECT_EQ(Pairs(g.Writes()), std::vector<std::string>{});
}

TEST(GprsPage, ChecksOnLeavingAFieldWarnAndKeepTheText) {
    GprsFixture g;
    PageModel& c = g.page().Controls();
    // The box shown on leaving `name` with `text`, empty for none.
    auto leave = [&](const std::string& name, const std::string& text) {
        g.f.op.boxes.clear();
        g[name].text = text;
        c.Exit(name);
        return g.f.op.boxes.empty() ? std::string() : g.f.op.boxes.back().text;
    };
    EXPECT_EQ(leave("edtGprsHeartbeatInterval", " "),
              "心跳间隔时间：输入的数值不能为空，请重新输入！");
    EXPECT_EQ(c.TakeFocusRequest(), "edtGprsHeartbeatInterval");
    EXPECT_EQ(leave("edtGprsHeartbeatInterval", "65536"),
              "心跳间隔时间：输入的数值超出范围，请重新输入！");
    EXPECT_EQ(c.TakeFocusRequest(), "edtGprsHeartbeatInterval");
    EXPECT_EQ(leave("edtGprsHeartbeatInterval", "10"), "");
    EXPECT_EQ(leave("edtGprsIP1", ""), "");
    EXPECT_EQ(g["edtGprsIP1"].text, "0.0.0.0");
    EXPECT_EQ(leave("edtGprsIP2", "255.255.255.255"), "输入的IP数值有误，请重新输入！");
    EXPECT_EQ(g["edtGprsIP2"].text, "255.255.255.255");
    EXPECT_EQ(leave("edtGprsIP2", "10.0.0.256"), "输入的IP数值有误，请重新输入！");
    EXPECT_EQ(c.TakeFocusRequest(), "");  // the focus moves on
    EXPECT_EQ(leave("edtGprsPort2", ""), "");
    EXPECT_EQ(g["edtGprsPort2"].text, "0");
    g["memGprsDomainRPIP"].lines = {"10.0.0.1", "", "10.0.0.x"};
    g.f.op.boxes.clear();
    c.Exit("memGprsDomainRPIP");
    ASSERT_EQ(g.f.op.boxes.size(), 1u);
    EXPECT_EQ(g.f.op.boxes[0].text, "输入的IP数值有误，请重新输入！");
    g["memGprsDomainRPIP"].lines = {"10.0.0.1", "10.0.0.2"};
    EXPECT_EQ(leave("edtGprsIP1", "10.0.0.1"), "");
    c.Exit("memGprsDomainRPIP");
    EXPECT_TRUE(g.f.op.boxes.empty());
}

TEST(GprsPhoneNumber, EncodesTerminatorAndFill) {
    EXPECT_EQ(EncodeGprsPhoneNumber(""), "E" + std::string(21, '0'));
    EXPECT_EQ(EncodeGprsPhoneNumber("12345"), "12345E0000000000000000");
    EXPECT_EQ(EncodeGprsPhoneNumber(std::string(20, '9')), std::string(20, '9') + "E0");
    EXPECT_EQ(DecodeGprsPhoneNumber(EncodeGprsPhoneNumber("13800138000")), "13800138000");
}

struct ActionFixture : GprsFixture {
    void Answer(const std::string& command, const std::string& result) {
        answers[command == "08" ? "88" : "8D"] = {command, result};
    }
    size_t Seconds() const {
        size_t n = 0;
        for (int p : f.op.pauses) n += p == 1000;
        return n;
    }
    void Click(const std::string& name) { page().Controls().Click(name); }
};

TEST(GprsModuleActions, RestartAsksSendsCountsDownAndReports) {
    ActionFixture a;
    a.Answer("0D", "01");
    a.Click("bbtnRebootGPRS");
    ASSERT_EQ(a.f.client().sent.size(), 1u);
    EXPECT_EQ(a.f.client().sent[0].payload, Request(kGprsRestartPair).frame);
    EXPECT_EQ(a.Seconds(), 60u);
    ASSERT_EQ(a.f.op.boxes.size(), 2u);
    EXPECT_EQ(a.f.op.boxes[0].text, "该操作会重新启动GPRS模块，请确认是否继续。");
    EXPECT_EQ(a.f.op.boxes[1].kind, "information");
    EXPECT_EQ(a.f.op.boxes[1].text, "GPRS重新启动成功!");
    EXPECT_EQ(a.f.tdm->trace.Lines().at(0), std::string(kGprsRestartPair) + "(" +
                                                Request(kGprsRestartPair).frame +
                                                "): GPRS重新启动成功!");
    // Module actions are not operation log rows.
    EXPECT_TRUE(a.f.db->Select("Select OperationInfo From OperationLog").empty());
}

TEST(GprsModuleActions, FailedOrSilentRestartReportsWithoutWaiting) {
    for (bool silent : {false, true}) {
        ActionFixture a;
        a.Answer("0D", "02");
        a.silent = silent;
        a.Click("bbtnRebootGPRS");
        EXPECT_EQ(a.Seconds(), 0u);
        EXPECT_EQ(a.f.op.boxes.back().text, silent ? "" : "GPRS重新启动失败!");
    }
}

TEST(GprsModuleActions, FactoryResetLeadsIntoTheRestartQuestion) {
    ActionFixture a;
    a.Answer("08", "01");
    a.f.op.answers = {true, false};
    a.Click("bbtnDefaultSetGPRS");
    ASSERT_EQ(a.f.client().sent.size(), 1u);
    EXPECT_EQ(a.f.client().sent[0].payload, Request(kGprsFactoryResetPair).frame);
    ASSERT_EQ(a.f.op.boxes.size(), 3u);
    EXPECT_EQ(a.f.op.boxes[0].text, "该操作会将当前的GPRS信息恢复出厂默认值，请确认是否继续。");
    EXPECT_EQ(a.f.op.boxes[1].text, "GPRS恢复出厂默认值成功!");
    EXPECT_EQ(a.f.op.boxes[2].text, "该操作会重新启动GPRS模块，请确认是否继续。");
    EXPECT_EQ(a.Seconds(), 0u);

    ActionFixture refused;
    refused.f.op.answers = {false};
    refused.Click("bbtnDefaultSetGPRS");
    EXPECT_TRUE(refused.f.client().sent.empty());
}

}  // namespace
}  // namespace tarnwick

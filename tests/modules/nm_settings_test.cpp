#include "modules/nm_settings.h"

#include <gtest/gtest.h>

#include "app/standard_pages.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/nm_decoder.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/core_fixture.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

std::string Field15(const std::string& text) {
    return TextToHexField(text, 15);
}

// What a full read of a module with a static address stores.
void ReadModule(DeviceParams& p) {
    for (auto [key, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"NMDeviceID", "100101"},
             {"NMDomainName1", "centre1.lan"},
             {"NMIP1", "10.231.200.1"},
             {"NMPort1", "7000"},
             {"NMDomainName2", "centre2.lan"},
             {"NMIP2", "10.231.200.2"},
             {"NMPort2", "7001"},
             {"NMHeartbeatInterval", "30"},
             {"NMNetMode", "00"},
             {"NMNetSwitch", "05"},
             {"NMLocalDHCP", "01"},
             {"NMLocalIP", "10.231.1.1"},
             {"NMLocalMask", "255.255.0.0"},
             {"NMLocalGateway", "10.231.0.254"}})
        p.Set(key, value);
    const std::string dns1 = Field15("10.0.0.1"), dns2 = std::string(30, '0');
    p.Set("NMLocalDNS1", dns1);
    p.Set("NMLocalDNS2", dns2);
    p.Set("NMLocal", "01" + Field15("10.231.1.1") + Field15("255.255.0.0") +
                         Field15("10.231.0.254") + dns1 + dns2);
}

struct NmFixture {
    NmFixture() {
        f.tdm->session.SetCurrentHost("10.231.1.1");
        AssembleStandardPages(window);
        window.closeWindow = [this] { ++closed; };
    }
    PageModel& c() { return window.Page(0).Controls(); }
    void Load(const DeviceParams& p) {
        window.Page(0).Prepare();
        window.Page(0).Load(p);
    }
    CommandList Save(const DeviceParams& p) {
        CommandList list;
        QueueNmWrites(list, c(), p);
        return list;
    }
    testing::CoreFixture f;
    HostWindow window{*f.tdm};
    int closed = 0;
};

TEST(NmSettings, LoadFillsTheGroupsAndAnUntouchedSaveSendsNothing) {
    NmFixture n;
    DeviceParams p;
    ReadModule(p);
    n.Load(p);
    EXPECT_EQ(n.c()["edtNMDeviceID"].text, "100101");
    EXPECT_EQ(n.c()["edtNMPort2"].text, "7001");
    EXPECT_EQ(n.c()["edtNMHeartbeatInterval"].text, "30");
    EXPECT_EQ(n.c()["cbNMInfo"].index, 0);
    // 05: wired and PSTN on, GPRS/GSM off.
    EXPECT_EQ(n.c()["chklbNMInfo"].itemChecked, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(n.c()["rbtnStaticIP"].checked);
    EXPECT_FALSE(n.c()["rbtnDHCP"].checked);
    EXPECT_TRUE(n.c()["edtLocalIP"].enabled);
    EXPECT_EQ(n.c()["edtLocalGateway"].text, "10.231.0.254");
    EXPECT_TRUE(n.Save(p).empty());

    // "多网" with the same switches gives 01 05.
    n.c()["cbNMInfo"].index = 1;
    const CommandList list = n.Save(p);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].pair, std::string(kNmSetNetSwitchPair));
    EXPECT_EQ(list[0].frame, BuildFrame("02", "8E", "0105"));
}

// A module that holds no centre reports empty text; the groups show it empty
// and send it as 0.0.0.0 and 0, which is no change.
TEST(NmSettings, AnEmptyCentreIsNoChangeUntilOneIsTyped) {
    NmFixture n;
    DeviceParams p;
    ReadModule(p);
    for (const char* key : {"NMIP1", "NMPort1", "NMIP2", "NMPort2"}) p.Set(key, "");
    n.Load(p);
    EXPECT_TRUE(n.Save(p).empty());
    n.c()["edtNMIP2"].text = "10.231.200.9";
    const CommandList list = n.Save(p);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].pair, std::string(kNmSetCentreIpPair));
}

TEST(NmSettings, AddressKindSetsTheRadioButtonsAndTheLocalEdits) {
    NmFixture n;
    DeviceParams p;
    ReadModule(p);
    p.Set("NMLocalDHCP", "00");
    n.Load(p);
    EXPECT_TRUE(n.c()["rbtnDHCP"].checked);
    EXPECT_FALSE(n.c()["rbtnStaticIP"].checked);
    for (const char* name : {"edtLocalIP", "edtLocalMask", "edtLocalGateway"})
        EXPECT_FALSE(n.c()[name].enabled) << name;

    // The operator picks a static address: the edits open, the other button clears.
    n.c().Click("rbtnStaticIP");
    EXPECT_FALSE(n.c()["rbtnDHCP"].checked);
    EXPECT_TRUE(n.c()["rbtnStaticIP"].checked);
    EXPECT_TRUE(n.c()["edtLocalMask"].enabled);
    n.c().Click("rbtnStaticIP");  // clicking the checked one keeps it checked
    EXPECT_TRUE(n.c()["rbtnStaticIP"].checked);

    // A value other than 00 and 01 leaves both unchecked.
    p.Set("NMLocalDHCP", "07");
    n.Load(p);
    EXPECT_FALSE(n.c()["rbtnDHCP"].checked);
    EXPECT_FALSE(n.c()["rbtnStaticIP"].checked);
}

TEST(NmSettings, EveryChangedSettingIsWrittenInOrderWithItsData) {
    NmFixture n;
    DeviceParams p;
    ReadModule(p);
    n.Load(p);
    PageModel& c = n.c();
    c["edtNMDeviceID"].text = "123";
    c["edtNMDomainName1"].text = " x ";
    c["edtNMDomainName2"].text = "";
    c["edtNMIP2"].text = "";
    c["edtNMPort2"].text = "";
    c["edtNMHeartbeatInterval"].text = "10000";
    c["chklbNMInfo"].itemChecked = {false, true, false};
    c.Click("rbtnDHCP");
    const CommandList list = n.Save(p);
    std::vector<std::string> pairs;
    for (const auto& e : list) pairs.push_back(e.pair);
    EXPECT_EQ(pairs, (std::vector<std::string>{
                         std::string(kNmSetDeviceIdPair), std::string(kNmSetDomainName1Pair),
                         std::string(kNmSetDomainName2Pair), std::string(kNmSetCentreIpPair),
                         std::string(kNmSetHeartbeatPair), std::string(kNmSetNetSwitchPair),
                         std::string(kNmSetLocalPair)}));
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(c["edtNMDeviceID"].text, "000123");
    EXPECT_EQ(list[0].frame, BuildFrame("02", "83", TextToHexField("000123", 20)));
    EXPECT_EQ(list[1].frame, BuildFrame("02", "8A", "017800"));
    EXPECT_EQ(list[2].frame, BuildFrame("02", "CA", "000000"));
    EXPECT_EQ(c["edtNMIP2"].text, "0.0.0.0");
    EXPECT_EQ(c["edtNMPort2"].text, "0");
    EXPECT_EQ(list[3].frame,
              BuildFrame("02", "84",
                         "000200" + Field15("10.231.200.1") + TextToHexField("7000", 5) + "00" +
                             Field15("0.0.0.0") + TextToHexField("0", 5)));
    EXPECT_EQ(list[4].frame, BuildFrame("02", "CB", "1027"));
    EXPECT_EQ(list[5].frame, BuildFrame("02", "8E", "0002"));
    // DHCP flag, 01 00, the three fields and the two name servers as read.
    EXPECT_EQ(list[6].frame, BuildFrame("02", "CF",
                                        "000100" + Field15("10.231.1.1") + Field15("255.255.0.0") +
                                            Field15("10.231.0.254") + p.Get("NMLocalDNS1") +
                                            p.Get("NMLocalDNS2")));
}

TEST(NmSettings, SettingsNeverReadAreLeftOutUnlessTheOperatorChoosesThem) {
    NmFixture n;
    const DeviceParams none;  // every query of the refresh went unanswered
    n.Load(none);
    EXPECT_EQ(n.c()["cbNMInfo"].index, -1);
    EXPECT_FALSE(n.c()["rbtnDHCP"].checked || n.c()["rbtnStaticIP"].checked);
    // Empty centres go out as 0.0.0.0 and port 0, which is what a module
    // without centres holds: nothing to write.
    CommandList list = n.Save(none);
    EXPECT_TRUE(list.empty());

    // A static address chosen by hand, with no name servers read: 48 bytes.
    n.c().Click("rbtnStaticIP");
    n.c()["edtLocalIP"].text = "10.0.0.5";
    n.c()["edtLocalMask"].text = "255.255.255.0";
    n.c()["edtLocalGateway"].text = "10.0.0.1";
    list = n.Save(none);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].frame, BuildFrame("02", "CF",
                                        "010100" + Field15("10.0.0.5") + Field15("255.255.255.0") +
                                            Field15("10.0.0.1")));
}

TEST(NmSettings, LeavingAnEditChecksItsValue) {
    NmFixture n;
    PageModel& c = n.c();
    struct Case {
        const char* edit;
        std::string typed, kept, message;
    };
    for (const Case& k :
         {Case{"edtNMHeartbeatInterval", " ", " ",
               "心跳间隔时间：输入的数值不能为空，请重新输入！"},
          Case{"edtNMHeartbeatInterval", "9", "9",
               "心跳间隔时间：输入的数值超出范围，请重新输入！"},
          Case{"edtNMHeartbeatInterval", "65536", "65536",
               "心跳间隔时间：输入的数值超出范围，请重新输入！"},
          Case{"edtNMHeartbeatInterval", "65535", "65535", ""}, Case{"edtNMIP1", "", "0.0.0.0", ""},
          Case{"edtNMIP2", "255.255.255.255", "255.255.255.255", "输入的IP数值有误，请重新输入！"},
          Case{"edtLocalMask", "255.255.0", "255.255.0", "输入的IP数值有误，请重新输入！"},
          Case{"edtNMPort1", "", "0", ""}}) {
        n.f.op.boxes.clear();
        c[k.edit].text = k.typed;
        c.Exit(k.edit);
        EXPECT_EQ(c[k.edit].text, k.kept) << k.edit << " " << k.typed;
        // Only a refused heartbeat takes the focus back.
        const bool heartbeatRefused =
            std::string(k.edit) == "edtNMHeartbeatInterval" && !k.message.empty();
        EXPECT_EQ(c.TakeFocusRequest(), heartbeatRefused ? k.edit : "") << k.typed;
        if (k.message.empty()) {
            EXPECT_TRUE(n.f.op.boxes.empty()) << k.edit << " " << k.typed;
        } else {
            ASSERT_EQ(n.f.op.boxes.size(), 1u) << k.edit << " " << k.typed;
            EXPECT_EQ(n.f.op.boxes[0].text, k.message);
            EXPECT_EQ(n.f.op.boxes[0].kind, "warning");
        }
    }
}

// A host that answers every network module write with success.
std::vector<std::string> Succeeds(const std::string& payload) {
    const std::string frame = UnescapeFrame(payload);
    const std::string cmd = Slice(frame, 11, 12);
    const std::map<std::string, std::string> replies = {
        {"CB", "3B"}, {"8E", "0E"}, {"83", "03"}, {"8D", "0D"}};
    const auto found = replies.find(cmd);
    if (found == replies.end()) return {};
    return {HostDatagram("02", found->second, "01")};
}

TEST(NmSettings, AHeartbeatTheModuleCannotTakeRefusesTheWholeSave) {
    NmFixture n;
    ReadModule(n.f.tdm->params);
    n.Load(n.f.tdm->params);
    n.c()["edtNMDeviceID"].text = "654321";
    n.c()["edtNMHeartbeatInterval"].text = "70000";
    n.f.client().responder = Succeeds;
    n.window.Save();
    EXPECT_TRUE(n.f.client().sent.empty());
    ASSERT_FALSE(n.f.op.boxes.empty());
    EXPECT_EQ(n.f.op.boxes.back().kind, "warning");
    EXPECT_EQ(n.f.op.boxes.back().text, "心跳间隔时间：输入的数值超出范围，请重新输入！");
    EXPECT_EQ(n.c()["edtNMHeartbeatInterval"].text, "70000");
}

TEST(NmSettings, ASuccessfulHeartbeatSaveAsksForTheRestartAndClosesTheWindow) {
    NmFixture n;
    ReadModule(n.f.tdm->params);
    n.Load(n.f.tdm->params);
    n.c()["edtNMHeartbeatInterval"].text = "60";
    n.f.client().responder = Succeeds;
    n.f.op.answers = {false};  // no restart
    n.window.Save();
    ASSERT_EQ(n.f.client().sent.size(), 1u);
    EXPECT_EQ(UnescapeFrame(n.f.client().sent[0].payload), BuildFrame("02", "CB", "3C00"));
    ASSERT_EQ(n.f.op.boxes.size(), 2u);
    EXPECT_EQ(n.f.op.boxes[0].text,
              "\r02CB:023B 设置心跳间隔时间----设置心跳间隔时间成功! "
              "该操作需要重新启动网管主机才能生效。\r");
    EXPECT_EQ(n.f.op.boxes[1].text, "该操作会重新启动报警主机网管模块，请确认是否继续。");
    EXPECT_EQ(n.closed, 1);
}

}  // namespace
}  // namespace tarnwick

#include "hosts/modify_ip.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <thread>

#include "hosts/host_search.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/core_fixture.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

std::string SearchAnswer(const std::string& ip, const std::string& mask,
                         const std::string& gateway) {
    return UnescapeFrame(HostDatagram("02", "47",
                                      TextToHexField(ip, 15) + std::string(250, '0') +
                                          TextToHexField(mask, 15) + TextToHexField(gateway, 15)));
}

// The host's answer to the change: result byte, then its new address.
std::string ChangeAnswer(const std::string& result, const std::string& address) {
    return HostDatagram("02", "4B", result + TextToHexField(address, 15));
}

struct ModifyIpFixture {
    ModifyIpFixture() {
        window.list.AddSearchAnswer(SearchAnswer("10.77.0.11", "255.255.0.0", "10.77.0.254"));
        window.list.AddSearchAnswer(SearchAnswer("10.77.0.12", "255.255.255.0", "10.77.0.1"));
        window.focusList = [this] { ++focused; };
        // What the waiting panel shows at the last pause of the wait.
        f.op.onServe = [this] {
            if (window.waiting.visible) panelSeen = {window.waiting.title, window.waiting.percent};
        };
        dialog.show = [this](ModifyIpDialog& d) {
            shownOld = d.controls["edtOldIP"].text;
            shownMask = d.controls["edtNewMask"].text;
            shownGateway = d.controls["edtNewGateway"].text;
            for (const auto& [name, text] : typed) d.controls[name].text = text;
            return accept;
        };
    }
    // The host answers the broadcast through the listener; waits until the
    // listener has taken the datagram in or a second has passed.
    void AnswerWith(const std::string& datagram, bool accepted) {
        f.client().responder = [this, datagram, accepted](const std::string&) {
            f.SendToListener(datagram);
            for (int i = 0; i < 100 && accepted && f.tdm->params.Get("ModifyIPInfo").empty(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!accepted) std::this_thread::sleep_for(std::chrono::milliseconds(150));
            return std::vector<std::string>{};
        };
    }
    void Run(int row = 1) { ModifyHostAddress(*f.tdm, window, row, dialog); }
    size_t LogRows() { return f.db->Select("Select OperationIP From OperationLog").size(); }

    testing::CoreFixture f;
    HostListWindowModel window;
    ModifyIpDialog dialog{f.op};
    std::vector<std::string> panelSeen;
    std::vector<std::pair<std::string, std::string>> typed = {{"edtNewIP", "10.77.0.50"}};
    bool accept = true;
    std::string shownOld, shownMask, shownGateway;
    int focused = 0;
};

TEST(ModifyIp, LeavingAnEditWithAWrongAddressWarnsAndKeepsTheText) {
    ModifyIpFixture m;
    PageModel& c = m.dialog.controls;
    for (const char* name : {"edtNewIP", "edtNewMask", "edtNewGateway"}) {
        m.f.op.boxes.clear();
        c[name].text = "192.168.1.300";
        c.Exit(name);
        ASSERT_EQ(m.f.op.boxes.size(), 1u) << name;
        EXPECT_EQ(m.f.op.boxes[0].text, "输入的IP数值有误，请重新输入！");
        EXPECT_EQ(c[name].text, "192.168.1.300");
        c[name].text = "192.168.1.30";
        c.Exit(name);
        EXPECT_EQ(m.f.op.boxes.size(), 1u) << name;
    }
}

TEST(ModifyIp, InvalidNewAddressMaskOrGatewayIsRefusedWithoutSending) {
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"edtNewIP", "192.168.1.300"}, {"edtNewMask", "255.255.0"}, {"edtNewGateway", ""}}) {
        ModifyIpFixture m;
        m.typed.push_back({name, text});
        m.Run();
        EXPECT_TRUE(m.f.client().sent.empty()) << name;
        ASSERT_EQ(m.f.op.boxes.size(), 1u) << name;
        EXPECT_EQ(m.f.op.boxes[0].kind, "information");
        EXPECT_EQ(m.f.op.boxes[0].text, "输入无效的IP地址，请重试！");
        EXPECT_FALSE(m.f.tdm->listener.IsOpen());
    }
}

TEST(ModifyIp, CancelOrARowWithoutAddressSendsNothing) {
    ModifyIpFixture m;
    m.accept = false;
    m.Run();
    EXPECT_EQ(m.shownOld, "10.77.0.11");
    m.shownOld = "unchanged";
    m.accept = true;
    m.Run(5);  // an empty row: the dialog is not even shown
    EXPECT_EQ(m.shownOld, "unchanged");
    EXPECT_TRUE(m.f.client().sent.empty());
    EXPECT_TRUE(m.f.op.boxes.empty());
}

TEST(ModifyIp, SuccessFromTheNewAddressIsShownAndLoggedForTheChangedHost) {
    ModifyIpFixture m;
    m.typed = {{"edtNewIP", " 10.77.0.50"}, {"edtNewGateway", "10.77.0.1"}};
    const std::string answer = ChangeAnswer("01", "10.77.0.50");
    m.AnswerWith(answer, true);
    m.Run(2);
    EXPECT_EQ(m.shownOld, "10.77.0.12");
    EXPECT_EQ(m.shownMask, "255.255.255.0");
    EXPECT_EQ(m.shownGateway, "10.77.0.1");

    ASSERT_EQ(m.f.client().sent.size(), 1u);
    const auto& sent = m.f.client().sent[0];
    EXPECT_EQ(sent.host, "255.255.255.255");
    EXPECT_EQ(sent.port, 5200);
    const std::string frame = UnescapeFrame(sent.payload);
    EXPECT_EQ(Slice(frame, 9, 12), "02DB");
    EXPECT_EQ(HexToText(Slice(frame, 13, 42)), "10.77.0.12");
    EXPECT_EQ(HexToText(Slice(frame, 43, 72)), "10.77.0.50");
    EXPECT_EQ(HexToText(Slice(frame, 73, 102)), "255.255.255.0");
    EXPECT_EQ(HexToText(Slice(frame, 103, 132)), "10.77.0.1");
    EXPECT_EQ(frame.size(), 12u + 120u + 4u);
    EXPECT_EQ(m.f.tdm->trace.Lines().back(), "[广播包]：" + sent.payload);
    // The three seconds' wait runs behind the waiting panel, which has gone
    // before the box.
    EXPECT_EQ(std::accumulate(m.f.op.pauses.begin(), m.f.op.pauses.end(), 0), 3000);
    EXPECT_EQ(m.panelSeen, (std::vector<std::string>{"正在修改主机的IP地址，请稍候...", "100%"}));
    EXPECT_FALSE(m.window.waiting.visible);

    const std::string stored = UnescapeFrame(answer);
    ASSERT_EQ(m.f.op.boxes.size(), 1u);
    EXPECT_EQ(m.f.op.boxes[0].text, stored +
                                        ": IP地址修改成功！\r新IP地址为： 10.77.0.50\r"
                                        "网络主机正在重新启动中，请稍候刷新...");
    auto rows =
        m.f.db->Select("Select OperationIP, OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].second, "10.77.0.12");
    EXPECT_EQ(rows[0][1].second, sent.payload);
    EXPECT_EQ(rows[0][2].second, stored);

    // The clean-up.
    EXPECT_TRUE(m.window.listEnabled);
    EXPECT_TRUE(m.window.bottomEnabled);
    EXPECT_TRUE(m.window.keysAttached);
    EXPECT_EQ(m.focused, 1);
    EXPECT_FALSE(m.f.tdm->listener.IsOpen());
    EXPECT_FALSE(m.f.tdm->flowRunning);
}

TEST(ModifyIp, FailureIsShownButNotLogged) {
    ModifyIpFixture m;
    const std::string answer = ChangeAnswer("02", "10.77.0.50");
    m.AnswerWith(answer, true);
    m.Run();
    ASSERT_EQ(m.f.op.boxes.size(), 1u);
    EXPECT_EQ(m.f.op.boxes[0].text, UnescapeFrame(answer) + ": IP地址修改失败！");
    EXPECT_EQ(m.LogRows(), 0u);
}

TEST(ModifyIp, AnswersNotNamingTheNewAddressOrWithAnotherResultShowNothing) {
    for (const std::string& answer :
         {ChangeAnswer("01", "10.77.0.11"),  // the host's old address
          ChangeAnswer("01", "10.77.0.5"),   // a prefix of the new address
          HostDatagram("02", "4B", "01" + TextToHexField("10.77.0.5", 15).substr(0, 12)),
          ChangeAnswer("03", "10.77.0.50"), std::string("7E0102GARBAGE7E")}) {
        ModifyIpFixture m;
        const bool stored = answer == ChangeAnswer("03", "10.77.0.50");
        m.AnswerWith(answer, stored);
        m.Run();
        EXPECT_EQ(m.f.client().sent.size(), 1u);
        EXPECT_TRUE(m.f.op.boxes.empty()) << answer;
        EXPECT_EQ(m.LogRows(), 0u);
        EXPECT_EQ(m.f.tdm->params.Get("ModifyIPInfo").empty(), !stored) << answer;
    }
}

TEST(ModifyIp, ASocketErrorEndsQuietlyWithTheCleanUp) {
    ModifyIpFixture m;
    m.f.client().failSend = "Network is unreachable";
    m.Run();
    EXPECT_TRUE(m.f.op.boxes.empty());
    EXPECT_TRUE(m.window.listEnabled);
    EXPECT_TRUE(m.window.keysAttached);
    EXPECT_FALSE(m.f.tdm->listener.IsOpen());
    EXPECT_TRUE(m.f.tdm->session.PendingNewAddress().empty());
}

}  // namespace
}  // namespace tarnwick

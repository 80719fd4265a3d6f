// The network module of a simulated host in the lab: the restart mark of a
// heartbeat setting, the restart that ends a save, and the local network
// setting that moves the tool to another address.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "modules/nm_decoder.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/lab_fixture.h"
#include "support/scripted_page.h"

namespace tarnwick::testing {
namespace {

constexpr const char* kRestartFrame = "7E238201028D107E";
constexpr const char* kRestartQuestion = "该操作会重新启动报警主机网管模块，请确认是否继续。";

// The frames a simulator received, in order.
std::vector<std::string> FramesReceivedBy(const HostsimProcess& sim) {
    std::vector<std::string> frames;
    for (const std::string& line : sim.LogLines("recv ")) {
        std::istringstream words(line);
        std::string recv, from, arrow, to, payload;
        words >> recv >> from >> arrow >> to >> payload;
        if (recv == "recv") frames.push_back(payload);
    }
    return frames;
}

std::vector<std::string> From(const std::vector<std::string>& frames, size_t first) {
    return {frames.begin() + static_cast<std::ptrdiff_t>(std::min(first, frames.size())),
            frames.end()};
}

CommandEntry SetHeartbeat(unsigned seconds) {
    const std::string data = ByteHex(seconds & 0xFF) + ByteHex(seconds >> 8);
    return Request(kNmSetHeartbeatPair, data);
}

CommandEntry SetDomain2(const std::string& name) {
    const std::string data =
        ByteHex(static_cast<unsigned>(name.size())) + PadHexField(TextToHex(name), 2);
    return Request(kNmSetDomainName2Pair, data);
}

using NetworkModuleInLab = LabFixture;

TEST_F(NetworkModuleInLab, HeartbeatSettingMarksARestartUntilTheNextModuleReply) {
    auto sim = StartOneHost(
        R"("network": {"heartbeat": 30}, "faults": [{"match": "02CB", "result": 2, "times": 1}])");
    const CommandEntry set = SetHeartbeat(300);  // 012C, sent as 2C 01

    EXPECT_EQ(tdm->exchanger.Exchange(set).text, "设置心跳间隔时间失败!");
    EXPECT_EQ(tdm->params.Get("NMReboot"), "0");

    EXPECT_EQ(tdm->exchanger.Exchange(set).text,
              "设置心跳间隔时间成功! 该操作需要重新启动网管主机才能生效。");
    EXPECT_EQ(tdm->params.Get("NMReboot"), "1");

    Exchange(kNmQueryHeartbeatPair);
    EXPECT_EQ(tdm->params.Get("NMReboot"), "0");
    EXPECT_EQ(tdm->params.Get("NMHeartbeatInterval"), "300");
}

// A host window whose page 3 reads the module's heartbeat and second centre
// and saves the writes a test lists.
class ModuleSaveInLab : public LabFixture {
  protected:
    void SetUp() override {
        LabFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        window = std::make_unique<HostWindow>(*tdm);
        window->closeWindow = [this] { ++closed; };
        page = &AssembleWithScriptedPage(*window, 3);
        page->reads = {Request(kNmQueryHeartbeatPair), Request(kNmQueryParams2Pair)};
        page->saveBranch = [this] { return writes; };
    }
    void TearDown() override {
        window.reset();
        LabFixture::TearDown();
    }

    // Shows page 3 (which reads it), saves, and gives what the host got from
    // the save on.
    std::vector<std::string> ShowAndSave() {
        window->PageChange(3);
        const size_t before = FramesReceivedBy(*sim).size();
        op.boxes.clear();
        tdm->trace.Clear();
        window->Save();
        return From(FramesReceivedBy(*sim), before);
    }

    std::unique_ptr<HostsimProcess> sim;
    std::unique_ptr<HostWindow> window;
    ScriptedPage* page = nullptr;
    CommandList writes;
    int closed = 0;
};

TEST_F(ModuleSaveInLab, SaveEndingOnAHeartbeatSettingRestartsTheModuleAndClosesTheWindow) {
    sim = StartOneHost();
    writes = {SetDomain2("backup.alarm.lan"), SetHeartbeat(90)};
    op.answers = {true};

    const auto received = ShowAndSave();

    // The two writes and the restart; the page is not read again.
    EXPECT_EQ(received,
              (std::vector<std::string>{writes[0].frame, writes[1].frame, kRestartFrame}));
    ASSERT_EQ(op.boxes.size(), 3u);
    EXPECT_EQ(op.boxes[0].kind, "information");
    EXPECT_EQ(op.boxes[0].text,
              "\r" + writes[0].pair + "----设置第2中心服务器域名成功!\r" + "\r" + writes[1].pair +
                  "----设置心跳间隔时间成功! 该操作需要重新启动网管主机才能生效。\r");
    EXPECT_EQ(op.boxes[1].kind, "ask");
    EXPECT_EQ(op.boxes[1].text, kRestartQuestion);
    EXPECT_EQ(op.boxes[2].kind, "information");
    EXPECT_EQ(op.boxes[2].text, "重新启动成功!");
    EXPECT_EQ(closed, 1);

    // A minute of one-second steps while the module comes back.
    EXPECT_EQ(std::count(op.pauses.begin(), op.pauses.end(), 1000), 60);
    EXPECT_EQ(window->waiting.maximum, 60);
    EXPECT_EQ(window->waiting.position, 60);
    EXPECT_EQ(window->waiting.title, "正在重新启动中，请稍候...");
    EXPECT_FALSE(window->waiting.visible);
    EXPECT_TRUE(window->pcMainEnabled && window->bottomEnabled && window->keysAttached);

    const auto& lines = tdm->trace.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        std::string(kNmRestartPair) + "(" + kRestartFrame + "): 重新启动成功!"),
              lines.end());
    const auto rows = db->Select("Select OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][0].second, kRestartFrame);
    EXPECT_EQ(rows[2][1].second, "重新启动成功!");
}

TEST_F(ModuleSaveInLab, RestartDeclinedSendsNothingMoreAndStillClosesTheWindow) {
    sim = StartOneHost();
    writes = {SetHeartbeat(90)};
    op.answers = {false};

    const auto received = ShowAndSave();

    EXPECT_EQ(received, std::vector<std::string>{writes[0].frame});
    ASSERT_EQ(op.boxes.size(), 2u);
    EXPECT_EQ(op.boxes[1].kind, "ask");
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(std::count(op.pauses.begin(), op.pauses.end(), 1000), 0);
}

TEST_F(ModuleSaveInLab, LaterModuleReplyClearsTheMarkSoThePageIsReadAgainInstead) {
    sim = StartOneHost(R"("network": {"heartbeat": 30, "domain2": "centre2.alarm.lan"})");
    writes = {SetHeartbeat(90), SetDomain2("backup.alarm.lan")};

    const auto received = ShowAndSave();

    EXPECT_EQ(received, (std::vector<std::string>{writes[0].frame, writes[1].frame,
                                                  BuildFrame("02", "CE"), BuildFrame("02", "CD")}));
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].kind, "information");
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(tdm->params.Get("NMHeartbeatInterval"), "90");
    EXPECT_EQ(tdm->params.Get("NMDomainName2"), "backup.alarm.lan");
    EXPECT_EQ(tdm->params.Get("NMReboot"), "0");
}

// The 78-byte local network data for `address`, keeping what the last read of
// the host's local network stored for the other fields.
std::string LocalNetworkData(const DeviceParams& p, const std::string& address) {
    return p.Get("NMLocalDHCP") + "0100" + TextToHexField(address, 15) +
           TextToHexField(p.Get("NMLocalMask"), 15) + TextToHexField(p.Get("NMLocalGateway"), 15) +
           p.Get("NMLocalDNS1") + p.Get("NMLocalDNS2");
}

TEST_F(NetworkModuleInLab, LocalNetworkSettingMovesTheToolToTheNewAddress) {
    ASSERT_GE(lab->hostNs.size(), 2u);
    const std::string first = lab->hostIps[0], second = lab->hostIps[1];
    auto host1 = StartOneHost(R"("faults": [{"match": "02CF", "result": 2, "times": 1}])");
    auto host2 = StartHostsim(lab->hostNs[1], R"({"hosts": [{"address": ")" + second + "\"}]}");
    HostWindow window(*tdm);
    AssembleStandardPages(window);
    // As the login leaves them.
    window.ShowHost(first);
    StandardPage(window, PageId::Debug).Controls()["edtIP"].text = first;
    window.Refresh();
    ASSERT_EQ(tdm->params.Get("NMLocalIP"), first);
    const std::string data = LocalNetworkData(tdm->params, second);
    ASSERT_EQ(data.size(), 156u);
    window.Page(0).Controls()["edtLocalIP"].text = second;

    // Refused: the tool stays where it is.
    EXPECT_EQ(Exchange(kNmSetLocalPair, data), "设置设备本地网络参数失败!");
    EXPECT_EQ(tdm->session.CurrentHost(), first);
    EXPECT_EQ(StandardPage(window, PageId::Debug).Controls()["edtIP"].text, first);

    const std::string result = Exchange(kNmSetLocalPair, data);
    EXPECT_EQ(result, "设置设备本地网络参数成功! 主机正在重启中,请退到主机搜索界面，并重新搜索...");
    EXPECT_EQ(tdm->session.CurrentHost(), second);
    EXPECT_EQ(StandardPage(window, PageId::Debug).Controls()["edtIP"].text, second);
    EXPECT_EQ(window.frame["lblHost"].text, "IP地址:" + second + ":5200");

    // The next exchanges go to the second host only.
    const size_t sentToFirst = FramesReceivedBy(*host1).size();
    ASSERT_TRUE(FramesReceivedBy(*host2).empty());
    window.Refresh();
    EXPECT_EQ(FramesReceivedBy(*host1).size(), sentToFirst);
    const auto atSecond = host2->LogLines("recv ");
    EXPECT_EQ(atSecond.size(), 9u);
    for (const auto& line : atSecond)
        EXPECT_NE(line.find(" -> " + second + ":5200 "), std::string::npos) << line;
    EXPECT_EQ(tdm->params.Get("NMLocalIP"), second);
}

}  // namespace
}  // namespace tarnwick::testing

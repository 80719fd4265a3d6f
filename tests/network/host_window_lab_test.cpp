// Opening a host found by the search, and the host window's refresh and save
// cycle, against simulated hosts in the lab: the frames the host receives in
// their order, the trace, the boxes and the operation log.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "app/standard_pages.h"
#include "hosts/host_search.h"
#include "hosts/host_window.h"
#include "hosts/login.h"
#include "modules/gprs_decoder.h"
#include "modules/nm_decoder.h"
#include "operation/alarm_host_decoder.h"
#include "programming/programming_requests.h"
#include "support/lab_fixture.h"
#include "support/scripted_page.h"

namespace tarnwick::testing {
namespace {

struct Received {
    std::string to;       // address:port the datagram was sent to
    std::string payload;  // the frame text as it travelled
};

// Every datagram a simulator received, in order.
std::vector<Received> ReceivedBy(const HostsimProcess& sim) {
    std::vector<Received> out;
    for (const std::string& line : sim.LogLines("recv ")) {
        std::istringstream words(line);
        std::string recv, from, arrow;
        Received r;
        words >> recv >> from >> arrow >> r.to >> r.payload;
        if (recv == "recv") out.push_back(r);
    }
    return out;
}

std::vector<std::string> Payloads(const std::vector<Received>& received, size_t from = 0) {
    std::vector<std::string> out;
    for (size_t i = from; i < received.size(); ++i) out.push_back(received[i].payload);
    return out;
}

class HostWindowInLab : public LabFixture {
  protected:
    void SetUp() override {
        LabFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        window = std::make_unique<HostWindow>(*tdm);
        window->closeWindow = [this] { ++closed; };
        dialog.show = [this](LoginDialog&) {
            ++dialogShown;
            return true;
        };
    }
    void TearDown() override {
        window.reset();
        LabFixture::TearDown();
    }

    // The host list's search, then a double click on row 1 with `typed` in
    // the password dialog.
    void SearchAndOpenRowOne(const std::string& typed) {
        op.sleepInPauses = true;  // the search waits for the listener thread
        RunHostSearch(*tdm, hostList);
        op.sleepInPauses = false;
        dialog.password = typed;
        OpenHost(*tdm, hostList.list, 1, *window, dialog, [this] { ++shown; });
    }

    std::string Host() const { return lab->hostIps[0]; }

    std::unique_ptr<HostWindow> window;
    HostListWindowModel hostList;
    LoginDialog dialog;
    int dialogShown = 0, shown = 0, closed = 0;
};

TEST_F(HostWindowInLab, SearchThenRightPasswordShowsTheWindowAndItsRefreshReadsPageZero) {
    auto sim = StartOneHost(R"("installerCode": "135790", "model": "TWK-8 V1.07")");
    AssembleStandardPages(*window);

    SearchAndOpenRowOne("135790");

    ASSERT_EQ(hostList.list.Field(1, 1), Host());
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window->frame["lblHost"].text, "IP地址:" + Host() + ":5200");
    EXPECT_EQ(StandardPage(*window, PageId::Debug).Controls()["edtIP"].text, Host());
    EXPECT_EQ(tdm->session.CurrentHost(), Host());
    EXPECT_TRUE(op.boxes.empty());
    const auto atLogin = ReceivedBy(*sim);
    ASSERT_EQ(Payloads(atLogin),
              (std::vector<std::string>{"7EB7820102D75A7E", "7E398201118108001B7E"}));
    EXPECT_EQ(atLogin[1].to, Host() + ":5200");

    // Shown after the login: its activation refreshes page 0.
    tdm->trace.Clear();
    window->Activate();

    const std::vector<std::string> reads = {
        "7E1F8201128206F20E7E",  // working status
        "7E45820112830B00217E",  // model
        "7E45820111810806217E",  // programming section 06
        "7E218201028C0F7E",      // network module terminal parameters 1
        "7EA3820102CD507E",      // terminal parameters 2
        "7EA5820102CE517E",      // heartbeat interval
        "7EB3820102D5587E",      // network management switch
        "7EBB820102D9005C7E",    // local network parameters
        "7E31820101860F177E",    // module software versions
    };
    const auto received = ReceivedBy(*sim);
    EXPECT_EQ(Payloads(received, atLogin.size()), reads);
    for (size_t i = atLogin.size(); i < received.size(); ++i)
        EXPECT_EQ(received[i].to, Host() + ":5200") << i;

    const std::vector<std::string> pairs = {
        std::string(kStatusQueryPair),        std::string(kModelQueryPair),
        std::string(kReadSectionPair) + "06", std::string(kNmQueryParams1Pair),
        std::string(kNmQueryParams2Pair),     std::string(kNmQueryHeartbeatPair),
        std::string(kNmQueryNetSwitchPair),   std::string(kNmQueryLocalPair),
        std::string(kGprsQueryVersionPair)};
    const auto& lines = tdm->trace.Lines();
    ASSERT_EQ(lines.size(), 12u);
    for (size_t k = 0; k < 9; ++k) {
        const std::string head = std::to_string(k) + ". " + pairs[k] + "(" + reads[k] + "): ";
        EXPECT_EQ(lines[k].rfind(head, 0), 0u) << lines[k];
        EXPECT_GT(lines[k].size(), head.size()) << "no result traced: " << lines[k];
    }
    EXPECT_EQ(lines[9], std::string(115, '-'));
    EXPECT_EQ(lines[10], tdm->params.Text());
    EXPECT_EQ(lines[11], std::string(115, '='));

    // The store holds this refresh's replies only; the login's code is gone.
    EXPECT_FALSE(tdm->params.Has("Prog00_Installer"));
    EXPECT_EQ(tdm->params.Get("HostModel"), "TWK-8 V1.07");
    EXPECT_EQ(tdm->params.Get("NMLocalIP"), Host());
    EXPECT_EQ(tdm->params.Get("NMHeartbeatInterval"), "30");
    EXPECT_EQ(tdm->params.Get("Prog06_1Time"), "22000700");
    EXPECT_FALSE(window->waiting.visible);
    EXPECT_TRUE(window->pcMainEnabled && window->bottomEnabled && window->keysAttached);
    EXPECT_TRUE(op.boxes.empty());
    EXPECT_EQ(closed, 0);
}

TEST_F(HostWindowInLab, WrongPasswordShowsTheErrorBoxAndNoWindow) {
    auto sim = StartOneHost(R"("installerCode": "135790")");
    AssembleStandardPages(*window);

    SearchAndOpenRowOne("135790 ");  // the comparison is exact: a trailing blank fails

    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].kind, "error");
    EXPECT_EQ(op.boxes[0].text, "\r    密码有误，无法登录！    ");
    EXPECT_EQ(window->frame["lblHost"].text, "IP地址:");
    EXPECT_EQ(dialog.password, "135790 ");
    // The search and the section 00 read, nothing after them.
    EXPECT_EQ(Payloads(ReceivedBy(*sim)),
              (std::vector<std::string>{"7EB7820102D75A7E", "7E398201118108001B7E"}));
}

TEST_F(HostWindowInLab, HostSilentToTheSectionZeroReadCannotBeManaged) {
    auto sim = StartOneHost(R"("installerCode": "135790",
                               "faults": [{"match": "1181", "data": "0800", "silent": true}])");
    AssembleStandardPages(*window);
    // A code left from an earlier host must not let this one in.
    tdm->params.Set("Prog00_Installer", "135790");

    SearchAndOpenRowOne("135790");

    ASSERT_EQ(hostList.list.Field(1, 1), Host());  // it did answer the search
    EXPECT_EQ(dialogShown, 0);
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].kind, "information");
    EXPECT_EQ(op.boxes[0].text, "无法管理到" + Host() + "设备，请检查网络配置!");
    EXPECT_EQ(sim->LogLines("1181 left unanswered").size(), 1u);
    EXPECT_EQ(window->frame["lblHost"].text, "IP地址:");
}

// A page that reads two programming sections and writes each one whose body
// differs from what the last refresh stored.
class SectionsSaveInLab : public HostWindowInLab {
  protected:
    void SetUp() override {
        HostWindowInLab::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        page = &AssembleWithScriptedPage(*window, 3);
        page->reads = {ReadSectionRequest(4), ReadSectionRequest(5)};
        page->saveBranch = [this] {
            CommandList writes;
            for (const auto& [section, body] : wanted)
                if (tdm->params.Get("Prog0" + std::to_string(section)) != body)
                    writes.push_back(WriteSectionRequest(section, body));
            return writes;
        };
    }

    ScriptedPage* page = nullptr;
    std::map<int, std::string> wanted;
};

TEST_F(SectionsSaveInLab, TwoChangedSectionsAreWrittenReportedLoggedAndReadAgain) {
    auto sim = StartOneHost();
    window->PageChange(3);  // chkAutoRefresh is ticked: the page is read
    const std::string old4 = tdm->params.Get("Prog04");
    const std::string old5 = tdm->params.Get("Prog05");
    ASSERT_EQ(old4.size(), 48u);
    ASSERT_EQ(old5.size(), 36u);
    std::string zones4, zones5;
    for (int z = 0; z < 6; ++z) zones4 += "1A211010", zones5 += "9C0111";
    ASSERT_NE(zones4, old4);
    ASSERT_NE(zones5, old5);
    wanted = {{4, zones4}, {5, zones5}};
    const CommandEntry write4 = WriteSectionRequest(4, zones4);
    const CommandEntry write5 = WriteSectionRequest(5, zones5);
    const size_t before = ReceivedBy(*sim).size();
    tdm->trace.Clear();

    window->Save();

    // Two writes, then the page read again.
    EXPECT_EQ(Payloads(ReceivedBy(*sim), before),
              (std::vector<std::string>{write4.frame, write5.frame, "7E418201118108041F7E",
                                        "7E43820111810805207E"}));
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].kind, "information");
    EXPECT_EQ(op.boxes[0].text, "\r" + write4.pair + "----编程报警主机成功!\r" + "\r" +
                                    write5.pair + "----编程报警主机成功!\r");

    const auto rows =
        db->Select("Select OperationIP, OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].second, Host());
    EXPECT_EQ(rows[0][1].second, write4.frame);
    EXPECT_EQ(rows[1][1].second, write5.frame);
    for (const auto& row : rows) EXPECT_EQ(row[2].second, "编程报警主机成功!");

    const auto& lines = tdm->trace.Lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "0." + write4.pair + "(" + write4.frame + "): 编程报警主机成功!");
    EXPECT_EQ(lines[1], "1." + write5.pair + "(" + write5.frame + "): 编程报警主机成功!");
    EXPECT_EQ(lines[2], std::string(113, '-'));
    EXPECT_EQ(lines[3].rfind("0. 1181:1101 读取报警主机编程内容04(", 0), 0u) << lines[3];
    EXPECT_EQ(lines[5], std::string(115, '-'));

    // The refresh after the save read back what was written.
    EXPECT_EQ(tdm->params.Get("Prog04"), zones4);
    EXPECT_EQ(tdm->params.Get("Prog05"), zones5);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(window->waiting.visible);
    EXPECT_TRUE(window->pcMainEnabled && window->bottomEnabled && window->keysAttached);

    // Saving again finds nothing changed: nothing sent, no report, no re-read.
    const size_t afterSave = ReceivedBy(*sim).size();
    window->Save();
    EXPECT_EQ(ReceivedBy(*sim).size(), afterSave);
    EXPECT_EQ(op.boxes.size(), 1u);
}

TEST_F(SectionsSaveInLab, RefusedWriteIsReportedAndTheReReadShowsTheHostUnchanged) {
    auto sim = StartOneHost(R"("faults": [{"match": "1182", "data": "0905", "result": 3}])");
    window->PageChange(3);
    const std::string old5 = tdm->params.Get("Prog05");
    std::string zones4, zones5;
    for (int z = 0; z < 6; ++z) zones4 += "1A211010", zones5 += "9C0111";
    wanted = {{4, zones4}, {5, zones5}};

    window->Save();

    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text,
              "\r" + WriteSectionRequest(4, zones4).pair + "----编程报警主机成功!\r" + "\r" +
                  WriteSectionRequest(5, zones5).pair + "----编程报警主机拒绝!\r");
    const auto rows = db->Select("Select OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0].second, "编程报警主机拒绝!");
    EXPECT_EQ(tdm->params.Get("Prog04"), zones4);
    EXPECT_EQ(tdm->params.Get("Prog05"), old5);
}

}  // namespace
}  // namespace tarnwick::testing

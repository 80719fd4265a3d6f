#include "hosts/host_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/standard_pages.h"
#include "hosts/save_refused.h"
#include "modules/nm_decoder.h"
#include "programming/programming_requests.h"
#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/core_fixture.h"
#include "support/host_window_fixture.h"
#include "support/scripted_page.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

using testing::HostWindowFixture;

// A host that takes every section write and answers every read.
std::vector<std::string> ProgrammingHost(const std::string& payload) {
    const std::string command = NormalizeReceived(payload).substr(10, 2);
    if (command == "82") return {HostDatagram("11", "02", "01")};
    if (command == "81") return {HostDatagram("11", "01", "01")};
    return {};
}

TEST(Refresh, FirstPageSendsItsNineReadsInOrderAndTracesEach) {
    HostWindowFixture w;
    w.window.Refresh();
    const auto sent = w.SentPayloads();
    ASSERT_EQ(sent.size(), 9u);
    EXPECT_EQ(sent[0], "7E1F8201128206F20E7E");
    EXPECT_EQ(sent[1], BuildFrame("12", "83", "0B00"));
    EXPECT_EQ(sent[2], "7E45820111810806217E");
    EXPECT_EQ(sent[7], BuildFrame("02", "D9", "00"));
    EXPECT_EQ(sent[8], BuildFrame("01", "86", "0F"));
    const auto& lines = w.f.tdm->trace.Lines();
    ASSERT_EQ(lines.size(), 11u);  // nothing stored, so no store dump
    EXPECT_EQ(lines[0], "0. 1282:1202 报警器工作状态查询(7E1F8201128206F20E7E): ");
    EXPECT_EQ(lines[8].substr(0, 3), "8. ");
    EXPECT_EQ(lines[9], std::string(115, '-'));
    EXPECT_EQ(lines[10], std::string("[刷新中止]: ") + kSilentRefreshText);
    EXPECT_EQ(w.window.waiting.maximum, 120);
    EXPECT_EQ(w.window.waiting.position, 90);
    EXPECT_EQ(w.window.waiting.percent, "75%");
    EXPECT_FALSE(w.window.waiting.visible);
    EXPECT_TRUE(w.window.pcMainEnabled && w.window.bottomEnabled && w.window.keysAttached);
    EXPECT_FALSE(w.window.waitingFlag);
}

TEST(Refresh, ClearsTheStoreAndDumpsWhatTheRepliesStored) {
    HostWindowFixture w;
    w.f.tdm->params.Set("Prog04", "left over");
    w.AutoRefresh(true);
    w.window.PageChange(1);  // the page is read; no answer puts the store back
    EXPECT_EQ(w.f.tdm->params.Get("Prog04"), "left over");
    EXPECT_EQ(w.window.waiting.maximum, 36);
    EXPECT_EQ(w.window.waiting.position, 20);
    EXPECT_EQ(w.window.waiting.percent, "56%");

    w.f.client().responder = [](const std::string& payload) {
        if (payload != BuildFrame("11", "81", "0804")) return std::vector<std::string>{};
        return std::vector<std::string>{HostDatagram("11", "01",
                                                     "01"
                                                     "99"
                                                     "04" +
                                                         std::string(48, '1'))};
    };
    w.f.tdm->trace.Clear();
    w.window.Refresh();
    EXPECT_EQ(w.f.tdm->params.Get("Prog04"), std::string(48, '1'));
    const auto& lines = w.f.tdm->trace.Lines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[2], std::string(115, '-'));
    EXPECT_NE(lines[3].find("Prog04=" + std::string(48, '1') + "\r\n"), std::string::npos);
    EXPECT_EQ(lines[4], std::string(115, '='));

    StandardPage(w.window, PageId::Debug).Controls()["chkPrintGs"].checked = false;
    w.f.tdm->trace.Clear();
    w.window.Refresh();
    EXPECT_EQ(w.f.tdm->trace.Lines().size(), 3u);
}

TEST(Refresh, DebugPageSendsNothingAndPrintsNoSeparator) {
    HostWindowFixture w;
    w.window.PageChange(PageIndex(PageId::Debug));
    w.window.Refresh();
    EXPECT_TRUE(w.SentPayloads().empty());
    EXPECT_TRUE(w.f.tdm->trace.Lines().empty());
    EXPECT_FALSE(w.window.waiting.visible);
}

TEST(Refresh, StopDuringAnExchangeLetsItFinishAndSendsNoFurtherEntry) {
    HostWindowFixture w;
    w.window.PageChange(3);
    w.f.op.onServe = [&] {
        if (w.f.clientEndpoint->sent.size() == 3) w.window.Stop();
    };
    w.window.Refresh();
    EXPECT_EQ(w.SentPayloads().size(), 3u);
    const auto& lines = w.f.tdm->trace.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2].substr(0, 3), "2. ");
    EXPECT_EQ(lines[3], std::string(115, '-'));
    EXPECT_EQ(lines[4], std::string("[刷新中止]: ") + kSilentRefreshText);
}

TEST(Save, WritesChangedSettingsReportsLogsAndReadsThePageAgain) {
    HostWindowFixture w(3);
    w.window.PageChange(3);
    w.scripted->reads = {ReadSectionRequest(3)};
    w.writes = {WriteSectionRequest(0, std::string(30, '1')),
                WriteSectionRequest(3, std::string(66, '0'))};
    w.f.client().responder = ProgrammingHost;
    w.window.Save();
    ASSERT_EQ(w.f.client().sent.size(), 3u);  // two writes, then the page's read
    ASSERT_EQ(w.f.op.boxes.size(), 1u);
    EXPECT_EQ(w.f.op.boxes[0].text,
              "\r1182:1102 编程报警主机00----编程报警主机成功!\r"
              "\r1182:1102 编程报警主机03----编程报警主机成功!\r");
    const auto& lines = w.f.tdm->trace.Lines();
    EXPECT_EQ(lines[0], "0.1182:1102 编程报警主机00(" + w.writes[0].frame + "): 编程报警主机成功!");
    EXPECT_EQ(lines[2], std::string(113, '-'));
    EXPECT_EQ(lines[3].substr(0, 3), "0. ");
    EXPECT_EQ(w.scripted->loaded, 1);
    auto rows = w.f.db->Select("Select OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0].second, w.writes[1].frame);
    EXPECT_EQ(rows[1][1].second, "编程报警主机成功!");
    EXPECT_EQ(w.closed, 0);
}

TEST(Save, ALogThatCannotBeWrittenStopsNoWriteAndIsReportedOnce) {
    HostWindowFixture w(3);
    w.window.PageChange(3);
    w.scripted->reads = {ReadSectionRequest(3)};
    w.writes = {WriteSectionRequest(0, std::string(30, '1')),
                WriteSectionRequest(3, std::string(66, '0'))};
    w.f.client().responder = ProgrammingHost;
    w.f.db->Execute("Drop Table OperationLog", {});
    w.window.Save();
    EXPECT_EQ(w.f.client().sent.size(), 3u);  // both writes, then the page's read
    ASSERT_EQ(w.f.op.boxes.size(), 1u);
    const std::string& report = w.f.op.boxes[0].text;
    EXPECT_EQ(report.find("\r1182:1102 编程报警主机00----编程报警主机成功!\r"
                          "\r1182:1102 编程报警主机03----编程报警主机成功!\r"
                          "\r操作日志无法写入："),
              0u)
        << report;
    EXPECT_NE(report.find("OperationLog"), std::string::npos) << report;
    EXPECT_EQ(report.find("操作日志"), report.rfind("操作日志"));  // said once
    EXPECT_EQ(w.scripted->loaded, 1);
}

TEST(Save, NothingChangedSendsNothingAndDoesNotReadAgain) {
    HostWindowFixture w(3);
    w.window.PageChange(3);
    w.window.Save();
    EXPECT_TRUE(w.f.client().sent.empty());
    EXPECT_TRUE(w.f.op.boxes.empty());
    EXPECT_EQ(w.f.tdm->trace.Lines(), std::vector<std::string>{std::string(113, '-')});
    EXPECT_EQ(w.scripted->prepared, 0);
}

// A save branch that cannot build its list (a refusal or a value that will
// not encode) sends nothing, says why in a box, and reads nothing again.
TEST(Save, ABranchThatCannotBuildItsListSendsNothingAndSaysWhy) {
    for (bool refusal : {true, false}) {
        HostWindowFixture w(3);
        w.scripted->saveBranch = [refusal]() -> CommandList {
            if (refusal) throw SaveRefused("心跳间隔时间：输入的数值超出范围，请重新输入！");
            throw ConversionError("Prog0302 is 40 digits, not 44");
        };
        w.window.PageChange(3);
        const size_t loadsBefore = static_cast<size_t>(w.scripted->loaded);
        const size_t sentBefore = w.f.clientEndpoint->sent.size();
        w.f.op.boxes.clear();
        w.window.Save();
        EXPECT_EQ(w.f.clientEndpoint->sent.size(), sentBefore);
        EXPECT_EQ(static_cast<size_t>(w.scripted->loaded), loadsBefore);
        ASSERT_EQ(w.f.op.boxes.size(), 1u);
        EXPECT_EQ(w.f.op.boxes[0].kind, "warning");
        EXPECT_NE(w.f.op.boxes[0].text.find(refusal ? "超出范围" : "Prog0302"), std::string::npos);
        EXPECT_FALSE(w.window.waitingFlag);
        EXPECT_TRUE(w.window.bottomEnabled);
    }
}

TEST(Save, AnErrorWhileSendingIsSaidInABoxAndNothingIsReadAgain) {
    HostWindowFixture w(3);
    w.window.PageChange(3);
    w.writes = {WriteSectionRequest(0, std::string(30, '1')),
                WriteSectionRequest(3, std::string(66, '0'))};
    // A reply with the right code whose checksum is no hex cannot be decoded.
    w.f.client().responder = [](const std::string&) {
        return std::vector<std::string>{"7EZZ820111020100007E"};
    };
    w.window.Save();
    EXPECT_EQ(w.f.client().sent.size(), 1u);
    ASSERT_EQ(w.f.op.boxes.size(), 1u);
    EXPECT_EQ(w.f.op.boxes[0].kind, "warning");
    EXPECT_EQ(w.f.op.boxes[0].text.find("保存中止："), 0u) << w.f.op.boxes[0].text;
    EXPECT_NE(w.f.op.boxes[0].text.find("ZZ"), std::string::npos) << w.f.op.boxes[0].text;
    EXPECT_EQ(w.scripted->loaded, 0);
    EXPECT_FALSE(w.window.waiting.visible);
}

TEST(Save, ARestartMarkRestartsTheModuleAndClosesTheWindowInsteadOfReading) {
    HostWindowFixture w(3);
    w.window.PageChange(3);
    w.writes = {Request(kNmSetHeartbeatPair, "3C00")};
    w.f.client().responder = [](const std::string&) {
        return std::vector<std::string>{HostDatagram("02", "3B", "01")};
    };
    w.window.Save();
    // The save's step moved the bar without showing a percentage.
    EXPECT_GT(w.window.waiting.position, 0);
    EXPECT_EQ(w.window.waiting.percent, "0%");
    EXPECT_EQ(w.f.tdm->params.Get("NMReboot"), "1");
    EXPECT_EQ(w.restarts, 1);
    EXPECT_EQ(w.closed, 1);
    EXPECT_EQ(w.scripted->prepared, 0);
    EXPECT_FALSE(w.window.waiting.visible);
}

TEST(PageChange, WithoutAutoRefreshChangesTitleAndSaveButtonOnly) {
    HostWindowFixture w;
    // Before any change the title is the first page's.
    EXPECT_EQ(w.window.frame["lblTitle"].text, "主机控制");
    for (int page = 0; page < static_cast<int>(kStandardPageCount); ++page) {
        w.window.PageChange(page);
        EXPECT_EQ(w.window.frame["lblTitle"].text, w.window.Page(page).Caption());
        EXPECT_EQ(w.window.frame["bbtnSave"].enabled, page <= 5) << page;
        EXPECT_EQ(w.window.statusTimerRunning, page == 0);
    }
    EXPECT_TRUE(w.SentPayloads().empty());
    EXPECT_EQ(w.window.frame["lblTitle"].text, "调试");
}

TEST(Keys, AreTakenOnlyWhileAttachedAndF8SavesOnlyWhereSavingIsOffered) {
    HostWindowFixture w(3);
    w.window.PageChange(3);
    w.scripted->reads = {ReadSectionRequest(3)};
    EXPECT_TRUE(w.window.KeyDown(HostWindow::Key::F10));
    EXPECT_TRUE(w.window.KeyDown(HostWindow::Key::F5));
    EXPECT_EQ(w.f.client().sent.size(), 1u);
    w.window.keysAttached = false;
    EXPECT_TRUE(w.window.KeyDown(HostWindow::Key::F5));
    EXPECT_EQ(w.f.client().sent.size(), 1u);
    w.window.keysAttached = true;
    w.window.PageChange(PageIndex(PageId::Debug));
    w.window.KeyDown(HostWindow::Key::F8);
    EXPECT_TRUE(w.f.tdm->trace.Lines().empty() ||
                w.f.tdm->trace.Lines().back() != std::string(113, '-'));
}

TEST(TimedWait, CountsSecondsAndLeavesEarlyOnStop) {
    HostWindowFixture w;
    int seconds = 0;
    w.f.op.onServe = [&] {
        if (w.f.op.pauses.back() == 1000 && ++seconds == 5) w.window.Stop();
    };
    w.window.TimedWait(60, WaitKind::Restart);
    EXPECT_EQ(seconds, 5);
    EXPECT_EQ(w.window.waiting.title, "正在重新启动中，请稍候...");
    EXPECT_EQ(w.window.waiting.maximum, 60);
    EXPECT_EQ(w.window.waiting.percent, "8%");
    EXPECT_TRUE(w.window.keysAttached);
    EXPECT_FALSE(w.window.waiting.visible);
}

TEST(OneFlow, ClicksKeysAndPageChangesAreIgnoredWhileAFlowRuns) {
    HostWindowFixture w(3);
    w.AutoRefresh(true);
    w.window.PageChange(3);
    w.scripted->reads = {ReadSectionRequest(3)};
    const size_t sentBefore = w.f.client().sent.size();
    std::vector<int> shown;
    w.window.onPageShown = [&](int index) { shown.push_back(index); };
    {
        FlowScope login(*w.f.tdm);  // a login's read, say
        w.window.frame.Click("bbtnRefresh");
        w.window.frame.Click("bbtnSave");
        EXPECT_TRUE(w.window.KeyDown(HostWindow::Key::F5));
        w.window.Page(0).Controls().Click("bbtnRebootNM");
        w.window.PageChange(1);
    }
    EXPECT_EQ(w.f.client().sent.size(), sentBefore);
    EXPECT_TRUE(w.f.op.boxes.empty());
    EXPECT_EQ(w.window.ActivePage(), 3);
    EXPECT_EQ(shown, std::vector<int>{3});  // the page control goes back to the page it had
    w.window.frame.Click("bbtnRefresh");
    EXPECT_EQ(w.f.client().sent.size(), sentBefore + 1);
}

TEST(OneFlow, TimedWaitAndPageChangeMarkTheirFlowAndSayWhenItEnds) {
    HostWindowFixture w;
    w.AutoRefresh(true);
    std::vector<bool> runningInWait;
    w.f.op.onServe = [&] { runningInWait.push_back(w.f.tdm->flowRunning); };
    int ended = 0;
    w.f.tdm->onFlowEnded = [&] { ++ended; };
    w.window.TimedWait(3, WaitKind::Restart);
    ASSERT_FALSE(runningInWait.empty());
    EXPECT_EQ(std::count(runningInWait.begin(), runningInWait.end(), false), 0);
    EXPECT_EQ(ended, 1);
    w.window.PageChange(
        PageIndex(PageId::Debug));  // with auto refresh: a pause and a refresh, one flow
    EXPECT_EQ(ended, 2);
    EXPECT_FALSE(w.f.tdm->flowRunning);
}

TEST(PercentText, RoundsHalfToEven) {
    EXPECT_EQ(PercentText(90, 144), "62%");
    EXPECT_EQ(PercentText(20, 36), "56%");
    EXPECT_EQ(PercentText(1, 8), "12%");  // 12.5 goes to 12
    EXPECT_EQ(PercentText(3, 8), "38%");  // 37.5 goes to 38
    EXPECT_EQ(PercentText(0, 0), "0%");
}

}  // namespace
}  // namespace tarnwick

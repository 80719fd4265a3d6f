#include "hosts/host_window.h"

#include <stdexcept>

#include "hosts/data_module.h"
#include "hosts/save_refused.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {
namespace {

constexpr int kCycleStep = 10;
constexpr int kSaveMaximum = 120;
constexpr const char* kSaveStoppedText = "保存中止：";

}  // namespace

std::string UnreadablePageText(const std::string& page, const std::string& field) {
    const std::string what = field.empty() ? "有内容" : "的“" + field + "”";
    return Trim(page) + "页面" + what + "无法读取，不能保存。请刷新页面，读到完整内容后再保存。";
}

bool HostWindow::IsSavablePage(int page) const {
    return page >= 0 && page < PageCount() && pages_[static_cast<size_t>(page)]->Savable();
}

HostWindow::HostWindow(DataModule& tdm_) : tdm(tdm_) {
    frame.Label("lblTitle");  // the shown page's caption
    frame.Label("lblHost", "IP地址:");
    // The poll counter: counted for the trace, never shown.
    Control& counter = frame.Label("Label101", "0");
    counter.color = 0xFFFFFF;
    counter.visible = false;
    // The tooltips name the keys that do the same.
    frame.Button("bbtnSave", "保存", "保存当前配置（F8）|保存当前配置!");
    frame.Button("bbtnRefresh", "刷新", "查询当前状态并刷新（F5）");
    frame.Button("bbtnQuit", "退出");
    // Opens the menu of the configuration's backup, comparison and restore.
    frame.Button("bbtnConfig", "配置(&C)", "备份、比较或恢复主机配置");
    frame.Label("lblSaveState");
    frame.OnClick("bbtnSave", [this] { RunWhenFree([this] { Save(); }); });
    frame.OnClick("bbtnRefresh", [this] { RequestRefresh(); });
    frame.OnClick("bbtnQuit", [this] { Close(); });
    frame.SetBusyCheck([this] { return tdm.flowRunning; });
}

PageBranch& HostWindow::AddPage(std::unique_ptr<PageBranch> page) {
    page->Controls().SetBusyCheck([this] { return tdm.flowRunning; });
    // What the operator does may mark the page's tab, and makes the word on
    // the last save old news.
    page->Controls().SetOperatorActionListener([this] {
        if (!frame["lblSaveState"].text.empty()) ShowSaveState("");
        Changed();
    });
    // Until a load, the page's own start values count as loaded.
    page->NoteLoaded();
    pages_.push_back(std::move(page));
    if (PageCount() == activePage_ + 1) frame["lblTitle"].text = Trim(pages_.back()->Caption());
    return *pages_.back();
}

bool HostWindow::MayLeavePage() {
    PageBranch& page = Page(activePage_);
    if (!page.HasUnsavedChanges()) return true;
    if (!tdm.op.Ask(kDiscardEditsQuestion)) return false;
    page.DiscardEdits();
    page.Controls().Changed();
    Changed();
    return true;
}

std::string HostWindow::TabCaption(int index) const {
    const PageBranch& page = Page(index);
    return (page.HasUnsavedChanges() ? "*" : "") + page.Caption();
}

void HostWindow::RequestRefresh() {
    RunWhenFree([this] {
        if (MayLeavePage()) Refresh();
    });
}

void HostWindow::Close() {
    if (!MayLeavePage()) return;
    if (closeWindow) closeWindow();
}

void HostWindow::ShowSaveState(const std::string& text) {
    frame["lblSaveState"].text = text;
    frame.Changed();
}

void HostWindow::ShowHost(const std::string& host, uint16_t port) {
    frame["lblHost"].text = "IP地址:" + host + ":" + std::to_string(port);
    frame.Changed();
}

void HostWindow::RunWhenFree(std::function<void()> action) {
    if (pollWaiting) {
        keptActions_.push_back(std::move(action));
        return;
    }
    action();
}

void HostWindow::EndPollWait() {
    pollWaiting = false;
    std::vector<std::function<void()>> kept;
    kept.swap(keptActions_);
    for (auto& action : kept) action();
}

void HostWindow::BusyStep() {
    pcMainEnabled = false;
    bottomEnabled = false;
    statusTimerRunning = false;
    keysAttached = false;
    waitingFlag = true;
    Changed();
}

void HostWindow::IdleStep() {
    pcMainEnabled = true;
    bottomEnabled = true;
    statusTimerRunning = true;
    keysAttached = true;
    waitingFlag = false;
    Changed();
}

void HostWindow::ShowWaitingPanel(const std::string& text) {
    waitingFlag = true;
    statusTimerRunning = false;
    waiting.Show("正在" + text + ",请稍等...");
    Changed();
    tdm.op.Pause(kPanelPauseMs);
}

void HostWindow::HideWaitingPanel() {
    waitingFlag = false;
    waiting.Hide();
    Changed();
    tdm.op.Pause(kPanelPauseMs);
}

void HostWindow::RunCycle(void (HostWindow::*cycle)(), const char* abortMark) {
    FlowScope flow(tdm);
    BusyStep();
    try {
        (this->*cycle)();
        tdm.op.Pause(kCycleEndPauseMs);
    } catch (const std::exception& e) {
        // A refresh ends quietly; the trace keeps what stopped it. A save
        // that stops while it sends says why, so it never looks like
        // "nothing changed".
        tdm.trace.Add(std::string(abortMark) + e.what());
        if (cycle == &HostWindow::SaveCycle) {
            HideWaitingPanel();
            tdm.op.Warning(std::string(kSaveStoppedText) + e.what());
        }
    }
    IdleStep();
}

void HostWindow::Refresh() {
    if (setHostListEnabled) setHostListEnabled(false);
    RunCycle(&HostWindow::RefreshCycle, "[刷新中止]: ");
    if (setHostListEnabled) setHostListEnabled(true);
    HideWaitingPanel();
}

void HostWindow::Save() {
    RunCycle(&HostWindow::SaveCycle, "[保存中止]: ");
    HideWaitingPanel();
}

ReplyResult HostWindow::RunEntry(const CommandEntry& entry, size_t k, const char* separator) {
    tdm.op.Pause(kEntryPauseMs);
    ReplyResult result = tdm.exchanger.Exchange(entry);
    tdm.op.Pause(kAfterExchangePauseMs);
    tdm.trace.Add(std::to_string(k) + separator + entry.pair + "(" + entry.frame +
                  "): " + result.text);
    return result;
}

void HostWindow::StepTo(const CommandEntry& entry) {
    waiting.SetTitle("正在 " + entry.pair + " 中，请稍候...");
    waiting.StepIt();
}

void HostWindow::RefreshCycle() {
    ShowSaveState("");
    ShowWaitingPanel("查询准备中......");
    const int page = activePage_;
    PageBranch& branch = Page(page);
    // What the page shows and what it was loaded from, put back when the
    // host answers nothing.
    const std::vector<Control> shown = branch.Controls().Copy();
    const auto stored = tdm.params.Entries();
    tdm.params.Clear();
    branch.Prepare();
    // The cleared page holds no edits while it is read.
    branch.NoteLoaded();
    branch.Controls().Changed();
    const CommandList entries = branch.ReadList();
    waiting.Reset(12 * (static_cast<int>(entries.size()) + 1), kCycleStep);
    stopRequest = false;
    size_t sent = 0;
    size_t answered = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
        StepTo(entries[k]);
        if (stopRequest) break;
        if (entries[k].frame.empty()) {
            tdm.op.Pause(kEntryPauseMs);
            continue;
        }
        ++sent;
        if (RunEntry(entries[k], k, ". ").kind != ReplyKind::NoReply) ++answered;
    }
    const bool silent = sent > 0 && answered == 0;
    if (branch.LoadsAfterRefresh()) {
        tdm.trace.Add(std::string(115, '-'));
        if (options_ && options_->TraceStoreAfterRefresh() && tdm.params.Count() > 0) {
            tdm.trace.Add(tdm.params.Text());
            tdm.trace.Add(std::string(115, '='));
        }
        if (silent) {
            // An empty page would look like a host holding nothing.
            branch.Controls().Restore(shown);
            tdm.params.Clear();
            for (const auto& [name, value] : stored) tdm.params.Set(name, value);
            branch.NoteLoaded();
            branch.NoteUnanswered();
            tdm.trace.Add(std::string("[刷新中止]: ") + kSilentRefreshText);
        } else {
            branch.LoadFromStore(tdm.params);
            if (branch.LoadStopped())
                tdm.trace.Add("[刷新中止]: " +
                              UnreadablePageText(branch.Caption(), branch.UnreadableField()));
        }
        branch.AfterRefresh(silent);
        // What a save would put right is said before any save writes it.
        if (!branch.RepairText().empty()) ShowSaveState(branch.RepairText());
        branch.Controls().Changed();
        Changed();
    }
    HideWaitingPanel();
    if (silent && branch.LoadsAfterRefresh()) tdm.op.Warning(kSilentRefreshText);
}

void HostWindow::SaveCycle() {
    ShowSaveState("");
    ShowWaitingPanel("保存当前设置项...");
    waiting.Reset(kSaveMaximum, kCycleStep);
    const int page = activePage_;
    PageBranch& branch = Page(page);
    CommandList entries;
    try {
        // Controls after a stopped load show nothing the host holds: a save
        // would write them back blank.
        if (IsSavablePage(page) && branch.Unanswered()) throw SaveRefused(kSilentRefreshSaveText);
        if (IsSavablePage(page) && branch.LoadStopped())
            throw SaveRefused(UnreadablePageText(branch.Caption(), branch.UnreadableField()));
        if (IsSavablePage(page)) entries = branch.SaveList(tdm.params);
    } catch (const std::exception& e) {
        // Nothing is sent; the operator learns why and keeps what was typed.
        branch.Controls().Changed();
        HideWaitingPanel();
        tdm.trace.Add(std::string("[保存中止]: ") + e.what());
        tdm.op.Warning(e.what());
        return;
    }
    // What the save branch found nothing to write for, and what it sends, is
    // no longer an unsaved change; the refresh below shows what the host took.
    branch.NoteLoaded();
    branch.Controls().Changed();
    Changed();
    std::string report;
    std::string logProblem;  // the first failed log write; every write is still sent
    for (size_t k = 0; k < entries.size(); ++k) {
        const CommandEntry& entry = entries[k];
        waiting.SetTitle("正在 " + entry.pair + " 中，请稍候...");
        waiting.Advance();  // the save's bar shows no percentage
        const std::string result = RunEntry(entry, k, ".").text;
        report += "\r" + entry.pair + "----" + result + "\r";
        const std::string problem = tdm.operationLog.Write(entry.Logged(), result);
        if (logProblem.empty()) logProblem = problem;
    }
    if (!logProblem.empty()) {
        report += "\r" + OperationLogProblemText(logProblem) + "\r";
        tdm.trace.Add(OperationLogProblemText(logProblem));
    }
    if (!report.empty()) tdm.op.Information(report);
    tdm.trace.Add(std::string(113, '-'));
    if (entries.empty() && IsSavablePage(page)) ShowSaveState(kNothingToSaveText);
    if (tdm.params.Get("NMReboot") == "1") {
        if (restartNetworkModule) restartNetworkModule();
        HideWaitingPanel();
        if (closeWindow) closeWindow();
        return;
    }
    if (!entries.empty() && IsSavablePage(page)) Refresh();
    HideWaitingPanel();
}

void HostWindow::TimedWait(int steps, WaitKind kind) {
    FlowScope flow(tdm);  // nothing starts inside the wait
    BusyStep();
    try {
        ShowWaitingPanel("查询准备中......");
        waiting.Reset(steps, 1);
        stopRequest = false;
        const char* title =
            kind == WaitKind::Restart ? "正在重新启动中，请稍候..." : "正在升级过程中，请稍候...";
        for (int i = 0; i < steps; ++i) {
            waiting.SetTitle(title);
            waiting.StepIt();
            tdm.op.Pause(kTimedWaitStepMs);
            if (stopRequest) break;
        }
    } catch (...) {
        // Waiting has nothing to report.
    }
    IdleStep();
    HideWaitingPanel();
}

void HostWindow::PageChange(int index) {
    if (index < 0 || index >= PageCount()) return;
    // Ignored while a flow runs, and kept when the operator keeps the
    // page's unsaved changes: the page control shows the page it had.
    if (tdm.flowRunning || (index != activePage_ && !MayLeavePage())) {
        if (onPageShown) onPageShown(activePage_);
        return;
    }
    FlowScope flow(tdm);
    activePage_ = index;
    frame["lblTitle"].text = Trim(Page(index).Caption());
    statusTimerRunning = Page(index).PollsStatus();
    frame["bbtnSave"].enabled = IsSavablePage(index);
    frame.Changed();
    Changed();
    if (onPageShown) onPageShown(index);
    if (options_ && options_->RefreshOnPageChange()) {
        RunWhenFree([this] {
            tdm.op.Pause(kPageChangePauseMs);
            Refresh();
        });
    }
}

bool HostWindow::KeyDown(Key key) {
    // Taken and ignored while busy: no key starts a flow while another runs.
    if (!keysAttached || tdm.flowRunning) return key != Key::Other;
    switch (key) {
        case Key::F5:
            RequestRefresh();
            return true;
        case Key::F8:
            // Saving is for the pages whose save button is enabled.
            if (frame["bbtnSave"].enabled) RunWhenFree([this] { Save(); });
            return true;
        case Key::F10:
            return true;
        case Key::Other:
            return false;
    }
    return false;
}

}  // namespace tarnwick

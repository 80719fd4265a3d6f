#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/page_branch.h"
#include "hosts/page_model.h"
#include "hosts/refresh_options.h"
#include "hosts/waiting_panel.h"
#include "protocol/reply_result.h"
#include "protocol/timing.h"
#include "version.h"

namespace tarnwick {

class DataModule;

enum class WaitKind { Restart, Upgrade };

// Asked before a page holding unsaved changes is left, refreshed or closed.
inline constexpr const char* kDiscardEditsQuestion = "当前页面有未保存的修改，是否放弃？";
// Said once when a refresh got no answer at all; the page keeps what it showed.
inline constexpr const char* kSilentRefreshText = "主机无应答，页面内容未更新。";
// F8 on a page whose last refresh got no answer.
inline constexpr const char* kSilentRefreshSaveText =
    "主机无应答，页面内容未更新，不能保存。请刷新页面，主机应答后再保存。";
// The status bar after a save that found nothing to write.
inline constexpr const char* kNothingToSaveText = "没有需要保存的修改。";

// Why a page whose last load stopped cannot be saved: the page, and the
// first field that could not be read when it is known.
std::string UnreadablePageText(const std::string& page, const std::string& field);

// TFormMain without its widgets: the frame of the pages, the bottom
// buttons, the waiting panel, and the refresh and save cycle every page runs.
class HostWindow {
  public:
    explicit HostWindow(DataModule& tdm);

    // Pages are added in tab order, from index 0.
    PageBranch& AddPage(std::unique_ptr<PageBranch> page);
    // The options the cycles follow (the debug page's); without them a
    // refresh traces no store and a page change reads nothing.
    void SetRefreshOptions(const RefreshOptions* options) { options_ = options; }
    PageBranch& Page(int index) { return *pages_.at(static_cast<size_t>(index)); }
    const PageBranch& Page(int index) const { return *pages_.at(static_cast<size_t>(index)); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int ActivePage() const { return activePage_; }

    // The refresh and save cycles (bbtnRefreshClick, bbtnSaveClick), and
    // bbtnStopClick.
    void Refresh();
    void Save();
    void Stop() { stopRequest = true; }
    // The operator's refresh (bbtnRefresh, F5): asks before it throws away
    // unsaved changes of the page.
    void RequestRefresh();
    // pcMainChange: the operator chose another page.
    void PageChange(int index);
    // The window became the program's active window: a refresh, asked for
    // as the operator's.
    void Activate() { RequestRefresh(); }
    // bbtnQuit, btnExit, Escape: closes the window once unsaved changes of
    // the page are saved or given up.
    void Close();
    // True when the current page holds no unsaved changes, or the operator
    // gives them up (the page shows what was loaded again); false keeps the
    // page and its edits. The question's default answer is 否.
    bool MayLeavePage();
    // The caption of page `index`'s tab: "*" in front while it holds unsaved
    // changes.
    std::string TabCaption(int index) const;
    // FormKeyDown; true when the key was taken (F5, F8, F10).
    enum class Key { F5, F8, F10, Other };
    bool KeyDown(Key key);
    // Busy step and idle step, waiting panel, timed wait.
    void BusyStep();
    void IdleStep();
    void ShowWaitingPanel(const std::string& text);
    void HideWaitingPanel();
    void TimedWait(int steps, WaitKind kind);
    // The address label: "IP地址:" + host + ":" + the port it is reached at.
    void ShowHost(const std::string& host, uint16_t port = kHostPort);
    // An operator's action: run now, or, while the status poll waits for its
    // reply, kept and run as soon as the poll has ended.
    void RunWhenFree(std::function<void()> action);
    // The status poll marks its wait; ending it runs the actions kept meanwhile.
    void BeginPollWait() { pollWaiting = true; }
    void EndPollWait();
    DataModule& tdm;
    // lblTitle, lblHost, Label101, bbtnSave, bbtnRefresh, bbtnQuit, bbtnConfig,
    // and lblSaveState, the status bar's word on the last save.
    PageModel frame;
    WaitingPanel waiting;
    bool waitingFlag = false;
    bool stopRequest = false;
    bool pcMainEnabled = true;
    bool bottomEnabled = true;
    bool keysAttached = true;
    bool statusTimerRunning = false;
    bool pollWaiting = false;
    bool visible = false;

    // Set by the application: enable the host list while it shows, close
    // (hide) this window, and keep its widgets in step.
    std::function<void(bool)> setHostListEnabled;
    std::function<void()> closeWindow;
    std::function<void()> onStateChanged;
    // The page control shows another page (a cycle may switch it).
    std::function<void(int)> onPageShown;
    // Runs the network module restart when a save left NMReboot at "1".
    std::function<void()> restartNetworkModule;
    // bbtnCodeMatching: shows the pairing window modally (empty until set).
    std::function<void()> openPairingWindow;

    // Pages with a save branch.
    bool IsSavablePage(int page) const;
    // Sends one entry of a cycle with the pauses around it and traces it as
    // "k" + separator + pair(frame): result text.
    ReplyResult RunEntry(const CommandEntry& entry, size_t k, const char* separator);
    // One tick of the status timer, told whether this window is the active one.
    std::function<void(bool windowActive)> statusTick;

  private:
    void RefreshCycle();
    void SaveCycle();
    // Busy step, the cycle, the closing pause; the idle step in every case.
    void RunCycle(void (HostWindow::*cycle)(), const char* abortMark);
    // The waiting title and the bar for one entry.
    void StepTo(const CommandEntry& entry);
    void ShowSaveState(const std::string& text);
    void Changed() const {
        if (onStateChanged) onStateChanged();
    }

    std::vector<std::unique_ptr<PageBranch>> pages_;
    std::vector<std::function<void()>> keptActions_;
    int activePage_ = 0;
    const RefreshOptions* options_ = nullptr;
};

inline constexpr const char* kHostWindowTitle = "Tarnwick " TARNWICK_VERSION_TEXT;

}  // namespace tarnwick

#pragma once

namespace tarnwick {

// The windows of the program as the activation rules tell them apart.
enum class ProgramWindow {
    None,
    HostList,    // TFormHostList
    HostWindow,  // TFormMain
    Dialog,      // a box or dialog: it belongs to the window the operator was in
};

// What entering a window starts.
enum class EntryAction { None, Search, Refresh };

// Decides what an activation means. The host list searches when it is first
// shown and when the operator comes back to it from the host window; the host
// window refreshes once when it is shown after a login and again only when
// the operator comes back to it from the host list. Closing one of a window's
// own boxes or dialogs, or coming back from another application, starts
// nothing. An action that falls due while a flow runs is owed until the flow
// has ended, so the first refresh after a login is never lost.
class WindowFocus {
  public:
    // The window was shown; its next entry counts as the showing.
    void Shown(ProgramWindow window);
    // The window became the program's active window (or, where no window
    // manager says so, was shown a moment ago). What it starts is owed.
    void Entered(ProgramWindow window);
    // The host window was closed: the operator is back at the host list.
    void HostWindowClosed();
    // The action owed, taken once, or None while `flowRunning` keeps it owed.
    EntryAction TakeOwed(bool flowRunning);
    // The window whose boxes are shown now: the main window the operator was
    // last in (a dialog's box belongs to the dialog's window).
    ProgramWindow BoxOwner() const { return last_; }
    ProgramWindow Last() const { return last_; }

  private:
    ProgramWindow last_ = ProgramWindow::None;
    bool hostListShown_ = false;
    bool hostWindowShown_ = false;
    EntryAction owed_ = EntryAction::None;
};

}  // namespace tarnwick

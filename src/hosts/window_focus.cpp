#include "hosts/window_focus.h"

namespace tarnwick {

void WindowFocus::Shown(ProgramWindow window) {
    if (window == ProgramWindow::HostList) hostListShown_ = true;
    if (window == ProgramWindow::HostWindow) hostWindowShown_ = true;
}

void WindowFocus::Entered(ProgramWindow window) {
    EntryAction action = EntryAction::None;
    switch (window) {
        case ProgramWindow::HostList:
            if (hostListShown_ || last_ == ProgramWindow::HostWindow) action = EntryAction::Search;
            hostListShown_ = false;
            break;
        case ProgramWindow::HostWindow:
            if (hostWindowShown_ || last_ == ProgramWindow::HostList) action = EntryAction::Refresh;
            hostWindowShown_ = false;
            break;
        case ProgramWindow::Dialog:
        case ProgramWindow::None:
            return;  // the operator is still in the window the dialog belongs to
    }
    last_ = window;
    // Entering a window drops what the other one was owed.
    const EntryAction own =
        window == ProgramWindow::HostList ? EntryAction::Search : EntryAction::Refresh;
    if (action != EntryAction::None)
        owed_ = action;
    else if (owed_ != own)
        owed_ = EntryAction::None;
}

void WindowFocus::HostWindowClosed() {
    hostWindowShown_ = false;
    if (last_ == ProgramWindow::HostWindow) Entered(ProgramWindow::HostList);
}

EntryAction WindowFocus::TakeOwed(bool flowRunning) {
    if (flowRunning) return EntryAction::None;
    const EntryAction action = owed_;
    owed_ = EntryAction::None;
    return action;
}

}  // namespace tarnwick

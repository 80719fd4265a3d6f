#include "hosts/window_focus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace {

using W = ProgramWindow;
using A = EntryAction;

// One event the windows report, then what is taken once no flow runs.
struct Step {
    enum Kind { Show, Enter, CloseHostWindow } kind;
    W window;
    bool flowRunning;
    A expected;
};

std::vector<A> Play(WindowFocus& focus, const std::vector<Step>& steps) {
    std::vector<A> taken;
    for (const Step& s : steps) {
        if (s.kind == Step::Show) focus.Shown(s.window);
        if (s.kind == Step::Enter) focus.Entered(s.window);
        if (s.kind == Step::CloseHostWindow) focus.HostWindowClosed();
        taken.push_back(focus.TakeOwed(s.flowRunning));
    }
    return taken;
}

std::vector<A> Expected(const std::vector<Step>& steps) {
    std::vector<A> out;
    for (const Step& s : steps) out.push_back(s.expected);
    return out;
}

TEST(WindowFocus, LoginRefreshesOnceAfterTheFlowAndTheListDoesNotSearchAgain) {
    const std::vector<Step> steps = {
        {Step::Show, W::HostList, false, A::None},
        {Step::Enter, W::HostList, false, A::Search},  // first showing
        {Step::Enter, W::Dialog, true, A::None},       // the password dialog, inside the login
        {Step::Enter, W::HostList, true, A::None},     // the dialog closed: no second search
        {Step::Show, W::HostWindow, true, A::None},
        {Step::Enter, W::HostWindow, true, A::None},  // owed while the login still runs
        {Step::Enter, W::HostWindow, false, A::Refresh},
        {Step::Enter, W::HostWindow, false, A::None},  // a later activation is no showing
    };
    WindowFocus focus;
    EXPECT_EQ(Play(focus, steps), Expected(steps));
    EXPECT_EQ(focus.BoxOwner(), W::HostWindow);
}

TEST(WindowFocus, OwnBoxesAndOtherApplicationsStartNothing) {
    const std::vector<Step> steps = {
        {Step::Show, W::HostWindow, false, A::None},
        {Step::Enter, W::HostWindow, false, A::Refresh},
        {Step::Enter, W::Dialog, false, A::None},      // a box of the window
        {Step::Enter, W::HostWindow, false, A::None},  // the box closed
        {Step::Enter, W::HostWindow, false, A::None},  // back from another application
    };
    WindowFocus focus;
    EXPECT_EQ(Play(focus, steps), Expected(steps));
}

TEST(WindowFocus, GoingBetweenTheTwoWindowsSearchesAndRefreshes) {
    const std::vector<Step> steps = {
        {Step::Enter, W::HostList, false, A::None},  // never shown through Shown: no search
        {Step::Show, W::HostWindow, false, A::None},
        {Step::Enter, W::HostWindow, false, A::Refresh},
        {Step::Enter, W::HostList, false, A::Search},     // the operator clicks the list
        {Step::Enter, W::Dialog, false, A::None},         // one of the list's boxes
        {Step::Enter, W::HostList, false, A::None},       // ... closed
        {Step::Enter, W::HostWindow, false, A::Refresh},  // back to the host window
        {Step::CloseHostWindow, W::None, false, A::Search},
        {Step::Enter, W::HostList, false, A::None},  // the activation after the close
    };
    WindowFocus focus;
    EXPECT_EQ(Play(focus, steps), Expected(steps));
    EXPECT_EQ(focus.BoxOwner(), W::HostList);
}

TEST(WindowFocus, AnOwedActionIsDroppedWhenTheOtherWindowIsEntered) {
    WindowFocus focus;
    focus.Shown(W::HostWindow);
    focus.Entered(W::HostWindow);
    EXPECT_EQ(focus.TakeOwed(true), A::None);
    focus.HostWindowClosed();  // closed before its refresh could run
    EXPECT_EQ(focus.TakeOwed(false), A::Search);
    EXPECT_EQ(focus.TakeOwed(false), A::None);
}

}  // namespace
}  // namespace tarnwick

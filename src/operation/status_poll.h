#pragma once
#include "hosts/page_model.h"

namespace tarnwick {

class HostWindow;

// PollHostStatus: one tick of the status timer. It asks the host for its
// working status on the poll's own socket, traces the answer, counts the poll
// in Label101 and shows the status on the first page. It polls nothing unless
// the host window is the active window, shows the first page and no refresh,
// save or command is under way. An operator's action that arrives while the
// poll waits runs when the poll has ended. Nothing inside it reaches the
// operator: every failure is swallowed and the next tick tries again.
// Returns whether a poll was sent.
bool PollHostStatus(HostWindow& window, PageModel& page, bool windowActive);

}  // namespace tarnwick

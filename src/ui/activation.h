#pragma once

class QWidget;

namespace tarnwick::ui {

// Starts following which window had the focus before the current one.
void TrackWindowFocus();
// True when `window` just became active again because one of its own message
// boxes or dialogs closed; such a return does not count as an activation.
bool ReturnedFromOwnDialog(const QWidget* window);

}  // namespace tarnwick::ui

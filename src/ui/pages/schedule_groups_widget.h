#pragma once

class QWidget;
class QGroupBox;

namespace tarnwick::ui {

// gbDefenceGroup1 or gbDefenceGroup2: one timed arming group with its check
// box, the two times with their up-down buttons, day and zone toggles.
QGroupBox* BuildScheduleGroup(QWidget* parent, int group);

}  // namespace tarnwick::ui

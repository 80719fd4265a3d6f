#pragma once

class QWidget;
class QGroupBox;

namespace tarnwick::ui {

// gbAlarmHost "报警主机控制": the command buttons of the alarm host.
QGroupBox* BuildRemoteCommandsGroup(QWidget* parent);

}  // namespace tarnwick::ui

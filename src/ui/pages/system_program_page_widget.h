#pragma once

class QWidget;

namespace tarnwick {
class SystemProgramPage;
}

namespace tarnwick::ui {

// tsSystemProgram: the event, control and report boxes, the output modes,
// neighbour dialling and the dual network switch.
QWidget* BuildSystemProgramPageWidget(SystemProgramPage& page, QWidget* parent);

}  // namespace tarnwick::ui

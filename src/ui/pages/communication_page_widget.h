#pragma once

class QWidget;

namespace tarnwick {
class CommunicationPage;
}

namespace tarnwick::ui {

// tsCommuncaiotnSetting: codes and users, the alarm call numbers, and the
// dialling, timing and reporting lists.
QWidget* BuildCommunicationPageWidget(CommunicationPage& page, QWidget* parent);

}  // namespace tarnwick::ui

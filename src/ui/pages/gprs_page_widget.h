#pragma once
#include <QWidget>

namespace tarnwick {
class GprsPage;
}  // namespace tarnwick

namespace tarnwick::ui {

// tsGPRS: module information, SMS settings, APN and programming password
// beside each other, the phone number group below as a grid of number and
// status.
QWidget* BuildGprsPageWidget(GprsPage& page, QWidget* parent);

}  // namespace tarnwick::ui

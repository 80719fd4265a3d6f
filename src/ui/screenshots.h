#pragma once
#include <QString>

class QWidget;

namespace tarnwick::ui {

// Saves one window as DIR/NAME.png.
bool SaveWindow(QWidget* window, const QString& dir, const QString& name);

}  // namespace tarnwick::ui

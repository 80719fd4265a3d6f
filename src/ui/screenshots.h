#pragma once
#include <QString>

class QWidget;

namespace tarnwick::ui {

// Saves one window as DIR/NAME.png.
bool SaveWindow(QWidget* window, const QString& dir, const QString& name);
// Saves every visible top-level window under its object name.
void SaveScreenshots(const QString& dir);

}  // namespace tarnwick::ui

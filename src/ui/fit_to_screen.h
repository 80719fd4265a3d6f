#pragma once
#include <QSize>

class QScrollArea;
class QWidget;

namespace tarnwick::ui {

// `content` in a scroll area without a frame, growing with it and scrolled
// only where the window is smaller than what it shows; the area itself is no
// Tab stop. A widget that is a scroll area already is given back as it is.
QScrollArea* Scrolled(QWidget* content, QWidget* parent = nullptr);

// Sizes a window to `wanted`, or less where the screen it is on has less
// room, frame included.
void FitToScreen(QWidget* window, QSize wanted);

}  // namespace tarnwick::ui

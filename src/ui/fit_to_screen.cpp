#include "ui/fit_to_screen.h"

#include <QScreen>
#include <QScrollArea>
#include <QWidget>

namespace tarnwick::ui {
namespace {
// Room a window manager's frame takes around a window.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 40;
}  // namespace

QScrollArea* Scrolled(QWidget* content, QWidget* parent) {
    if (auto* area = qobject_cast<QScrollArea*>(content)) return area;
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(content);
    return scroll;
}

void FitToScreen(QWidget* window, QSize wanted) {
    if (const QScreen* screen = window->screen()) {
        const QRect room = screen->availableGeometry();
        wanted = wanted.boundedTo({room.width() - kFrameWidth, room.height() - kFrameHeight});
    }
    window->resize(wanted);
}

}  // namespace tarnwick::ui

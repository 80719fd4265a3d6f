#include "ui/activation.h"

#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace tarnwick::ui {
namespace {

QPointer<QWindow> previousFocus;
QPointer<QWindow> currentFocus;
bool tracking = false;

}  // namespace

void TrackWindowFocus() {
    if (tracking) return;
    tracking = true;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp, [](QWindow* now) {
        if (!now) return;
        previousFocus = currentFocus;
        currentFocus = now;
    });
}

bool ReturnedFromOwnDialog(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle && previousFocus && previousFocus != handle &&
           previousFocus->transientParent() == handle;
}

}  // namespace tarnwick::ui

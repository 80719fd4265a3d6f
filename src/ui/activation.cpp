#include "ui/activation.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
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

namespace tarnwick::ui {

namespace {
constexpr int kShowGraceMs = 250;
}

ActivationWatcher::ActivationWatcher(QWidget* window, std::function<void()> onActivated)
    : QObject(window), window_(window), onActivated_(std::move(onActivated)) {
    TrackWindowFocus();
    window->installEventFilter(this);
}

bool ActivationWatcher::eventFilter(QObject* watched, QEvent* e) {
    if (watched == window_) {
        if (e->type() == QEvent::Show) {
            showPending_ = true;
            QTimer::singleShot(kShowGraceMs, this, [this] {
                if (!showPending_) return;
                showPending_ = false;
                Post();
            });
        } else if (e->type() == QEvent::WindowActivate && !ReturnedFromOwnDialog(window_)) {
            showPending_ = false;
            Post();
        }
    }
    return QObject::eventFilter(watched, e);
}

void ActivationWatcher::Post() {
    if (posted_) return;
    posted_ = true;
    // From the event loop, not inside the event handler.
    QTimer::singleShot(0, this, [this] {
        posted_ = false;
        if (window_->isVisible()) onActivated_();
    });
}

}  // namespace tarnwick::ui

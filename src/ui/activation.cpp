#include "ui/activation.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "hosts/data_module.h"

namespace tarnwick::ui {
namespace {
constexpr int kShowGraceMs = 250;
}

FocusReporter::FocusReporter(WindowFocus& focus, DataModule& tdm, QWidget* hostList,
                             QWidget* hostWindow)
    : focus_(focus), tdm_(tdm), hostList_(hostList), hostWindow_(hostWindow) {
    qApp->installEventFilter(this);
    tdm_.onFlowEnded = [this] { Post(); };
}

FocusReporter::~FocusReporter() {
    tdm_.onFlowEnded = nullptr;
}

ProgramWindow FocusReporter::Classify(const QObject* watched) const {
    if (watched == hostList_) return ProgramWindow::HostList;
    if (hostWindow_ && watched == hostWindow_) return ProgramWindow::HostWindow;
    return ProgramWindow::Dialog;
}

bool FocusReporter::eventFilter(QObject* watched, QEvent* e) {
    // Every event of the program passes here: the two that matter first.
    if (e->type() != QEvent::WindowActivate && e->type() != QEvent::Show)
        return QObject::eventFilter(watched, e);
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget || !widget->isWindow()) return QObject::eventFilter(watched, e);
    const ProgramWindow window = Classify(watched);
    if (e->type() == QEvent::WindowActivate) {
        focus_.Entered(window);
        Post();
    } else if (e->type() == QEvent::Show && !e->spontaneous() && window != ProgramWindow::Dialog) {
        // Shown by the program (not restored by the window system).
        focus_.Shown(window);
        QPointer<QWidget> shown(const_cast<QWidget*>(widget));
        QTimer::singleShot(kShowGraceMs, this, [this, window, shown] {
            if (!shown || !shown->isVisible()) return;
            focus_.Entered(window);
            Post();
        });
    }
    return QObject::eventFilter(watched, e);
}

void FocusReporter::HostWindowClosed() {
    focus_.HostWindowClosed();
    Post();
}

void FocusReporter::Post() {
    if (posted_) return;
    posted_ = true;
    QTimer::singleShot(0, this, [this] {
        posted_ = false;
        switch (focus_.TakeOwed(tdm_.flowRunning)) {
            case EntryAction::Search:
                if (search && hostList_->isVisible()) search();
                break;
            case EntryAction::Refresh:
                if (refresh && hostWindow_ && hostWindow_->isVisible()) refresh();
                break;
            case EntryAction::None:
                break;
        }
    });
}

QWidget* FocusReporter::BoxParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (focus_.BoxOwner() == ProgramWindow::HostWindow && hostWindow_ && hostWindow_->isVisible())
        return hostWindow_;
    if (hostList_->isVisible()) return hostList_;
    return QApplication::activeWindow();
}

}  // namespace tarnwick::ui

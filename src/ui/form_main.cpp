#include "ui/form_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "protocol/timing.h"
#include "ui/control_binder.h"
#include "ui/fit_to_screen.h"
#include "ui/habits.h"
#include "ui/pages/debug_page_widget.h"
#include "ui/pages/page_widgets.h"
#include "ui/title_strip.h"
#include "ui/waiting_panel_widget.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

TFormMain::TFormMain(HostWindow& window, QWidget* parent) : QMainWindow(parent), window_(window) {
    setObjectName("TFormMain");
    setWindowTitle(QString::fromUtf8(kHostWindowTitle));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildTitle(layout);
    BuildPages(layout);
    BuildBottom(layout);
    setCentralWidget(central);
    BuildStatusBar();
    waiting_ = new WaitingPanelWidget(window_.waiting, true, central);
    WireWindow();
    qApp->installEventFilter(this);
    // Page 0 wants the width; a smaller screen scrolls the pages instead.
    FitToScreen(this, {1240, 760});
    RememberGeometry(this);
    SyncState();
}

void TFormMain::BuildTitle(QVBoxLayout* layout) {
    auto* title = new TitleStrip(QString(), layout->parentWidget());
    title->AddLabel("lblHost");
    title->AddLabel("Label101");
    layout->addWidget(title);
}

void TFormMain::BuildPages(QVBoxLayout* layout) {
    pages_ = new QTabWidget(layout->parentWidget());
    pages_->setObjectName("pcMain");
    for (int i = 0; i < window_.PageCount(); ++i)
        pages_->addTab(BuildPage(i), QString::fromStdString(window_.Page(i).Caption()));
    layout->addWidget(pages_, 1);
}

void TFormMain::BuildBottom(QVBoxLayout* layout) {
    bottom_ = new QFrame(layout->parentWidget());
    bottom_->setObjectName("pnlBottom");
    bottom_->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bottom_);
    // The configuration menu opens from a button of the frame: a menu bar
    // would make the window taller than a 1280x800 screen allows.
    QPushButton* config = MakeButton(bottom_, "bbtnConfig");
    config->setMinimumWidth(90);
    configMenu_ = new QMenu(config);
    configMenu_->setObjectName("mnuConfig");
    config->setMenu(configMenu_);
    row->addWidget(config);
    row->addStretch(1);
    for (const char* name : {"bbtnSave", "bbtnRefresh", "bbtnQuit"}) {
        QPushButton* button = MakeButton(bottom_, name);
        button->setMinimumWidth(90);
        row->addWidget(button);
    }
    layout->addWidget(bottom_);
}

void TFormMain::BuildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName("sbarMain");
    hintPanel_ = new QLabel(bar);
    hintPanel_->setFixedWidth(320);
    // The second panel says what the last save found.
    auto* second = new QLabel(bar);
    second->setObjectName("lblSaveState");
    second->setFixedWidth(200);
    auto* third = new QLabel(bar);
    third->setFixedWidth(50);
    bar->addWidget(hintPanel_);
    bar->addWidget(second);
    bar->addWidget(third);
    setStatusBar(bar);
}

// The core window and the widgets kept in step both ways: page tabs, the
// waiting panel, the frame's controls, the trace and the status timer.
void TFormMain::WireWindow() {
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index != window_.ActivePage()) window_.PageChange(index);
    });
    connect(waiting_->StopButton(), &QPushButton::clicked, this, [this] { window_.Stop(); });
    window_.waiting.observer = [this] { waiting_->Sync(); };

    frameBinder_ = new ControlBinder(window_.frame, this);
    window_.frame.SetObserver([this] { frameBinder_->Sync(); });
    window_.onStateChanged = [this] { SyncState(); };
    window_.onPageShown = [this](int index) {
        QSignalBlocker block(pages_);
        pages_->setCurrentIndex(index);
        if (index == kDebugPage) debug_->ShowTrace();
    };
    window_.tdm.trace.SetObserver([this] { debug_->ShowTrace(); });

    // TimerRefreshStatus: runs while the window says so; each tick asks the
    // page for one poll, which checks the page, the waiting flag and whether
    // this window is the active one.
    statusTimer_ = new QTimer(this);
    statusTimer_->setObjectName("TimerRefreshStatus");
    statusTimer_->setInterval(kStatusPollPeriodMs);
    connect(statusTimer_, &QTimer::timeout, this, [this] {
        if (window_.statusTick) window_.statusTick(isActiveWindow());
    });
}

QWidget* TFormMain::BuildPage(int index) {
    QWidget* widget = BuildPageWidget(window_.Page(index), window_, this);
    if (auto* debug = qobject_cast<DebugPageWidget*>(widget)) debug_ = debug;
    return Scrolled(widget);
}

void TFormMain::SyncState() {
    for (int i = 0; i < pages_->count(); ++i) {
        const QString caption = QString::fromStdString(window_.TabCaption(i));
        if (pages_->tabText(i) != caption) pages_->setTabText(i, caption);
    }
    // A cycle disables the pages, which takes the focus away: it goes back
    // where it was once they are enabled again, so the keyboard carries on.
    if (!window_.pcMainEnabled && pages_->isEnabled() && focusWidget() &&
        isAncestorOf(focusWidget()))
        focusBeforeCycle_ = focusWidget();
    pages_->setEnabled(window_.pcMainEnabled);
    bottom_->setEnabled(window_.bottomEnabled);
    if (window_.pcMainEnabled && focusBeforeCycle_) {
        if (focusBeforeCycle_->isVisible() && focusBeforeCycle_->isEnabled())
            focusBeforeCycle_->setFocus(Qt::OtherFocusReason);
        focusBeforeCycle_ = nullptr;
    }
    if (window_.statusTimerRunning && !statusTimer_->isActive()) statusTimer_->start();
    if (!window_.statusTimerRunning) statusTimer_->stop();
    waiting_->Sync();
}

bool TFormMain::HandleKey(int key) {
    HostWindow::Key k = key == Qt::Key_F5    ? HostWindow::Key::F5
                        : key == Qt::Key_F8  ? HostWindow::Key::F8
                        : key == Qt::Key_F10 ? HostWindow::Key::F10
                                             : HostWindow::Key::Other;
    if (key == Qt::Key_Escape && window_.keysAttached) {
        window_.Close();
        return true;
    }
    return window_.KeyDown(k);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* e) {
    // The window sees keys before its controls.
    if (e->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(e);
        if (widget && widget->window() == this && (NextPageKey(*key) || HandleKey(key->key())))
            return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is (the page
// control alone takes them only while it holds the focus itself).
bool TFormMain::NextPageKey(const QKeyEvent& key) {
    if (!(key.modifiers() & Qt::ControlModifier)) return false;
    const int step = key.key() == Qt::Key_Tab ? 1 : key.key() == Qt::Key_Backtab ? -1 : 0;
    if (step == 0) return false;
    if (!window_.keysAttached || !pages_->isEnabled()) return true;
    // Asked while the page with the changes still shows.
    if (!window_.MayLeavePage()) return true;
    const int next = (pages_->currentIndex() + step + pages_->count()) % pages_->count();
    pages_->setCurrentIndex(next);
    // The page was shown (and not kept by the operator's answer): the
    // keyboard goes on in it, at its first input.
    if (pages_->currentIndex() == next) FocusFirstInput(pages_->currentWidget());
    return true;
}

void TFormMain::FocusFirstInput(QWidget* page) {
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
            w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TFormMain::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        hintPanel_->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFormMain::closeEvent(QCloseEvent* e) {
    // The close box asks as Escape and 退出 do; after their question the
    // page holds no unsaved changes, so nothing is asked twice.
    if (!window_.tdm.flowRunning && !window_.MayLeavePage()) {
        e->ignore();
        return;
    }
    window_.visible = false;
    // The timer runs on behind the closed window; its poll finds it inactive.
    window_.statusTimerRunning = true;
    SyncState();
    e->accept();
    emit closed();
}

void TFormMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    waiting_->Sync();
}

}  // namespace tarnwick::ui

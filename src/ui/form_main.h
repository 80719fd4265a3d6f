#pragma once
#include <QMainWindow>
#include <QPointer>

namespace tarnwick {
class HostWindow;
}

class QTabWidget;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QTimer;
class QVBoxLayout;

namespace tarnwick::ui {

class ControlBinder;
class DebugPageWidget;
class WaitingPanelWidget;

// TFormMain: frames the eight pages with the title panel, the bottom buttons,
// the status bar and the waiting panel. The logic is the core's HostWindow.
class TFormMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFormMain(HostWindow& window, QWidget* parent = nullptr);
    QTabWidget* Pages() const { return pages_; }
    DebugPageWidget* DebugPage() const { return debug_; }
    // The configuration menu of the bottom panel, filled by its actions.
    QMenu* ConfigMenu() const { return configMenu_; }
    // Window state (enabled parts, title, waiting panel) from the model.
    void SyncState();

  signals:
    // The window was closed; the operator is back at the host list.
    void closed();

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildTitle(QVBoxLayout* layout);
    void BuildPages(QVBoxLayout* layout);
    void BuildBottom(QVBoxLayout* layout);
    void BuildStatusBar();
    void WireWindow();
    QWidget* BuildPage(int index);
    bool HandleKey(int key);
    bool NextPageKey(const QKeyEvent& key);
    static void FocusFirstInput(QWidget* page);

    HostWindow& window_;
    QTabWidget* pages_ = nullptr;
    QFrame* bottom_ = nullptr;
    QLabel* hintPanel_ = nullptr;
    QMenu* configMenu_ = nullptr;
    WaitingPanelWidget* waiting_ = nullptr;
    DebugPageWidget* debug_ = nullptr;
    ControlBinder* frameBinder_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    QPointer<QWidget> focusBeforeCycle_;
};

}  // namespace tarnwick::ui

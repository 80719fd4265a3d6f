#pragma once
#include <QObject>
#include <functional>

class QWidget;

namespace tarnwick::ui {

// Starts following which window had the focus before the current one.
void TrackWindowFocus();
// True when `window` just became active again because one of its own message
// boxes or dialogs closed; such a return does not count as an activation.
bool ReturnedFromOwnDialog(const QWidget* window);

// Calls `onActivated` from the event loop each time `window` becomes the
// program's active window. Showing the window counts once: by the activation
// the window system sends, or, where none comes (no window manager), after a
// short grace time.
class ActivationWatcher : public QObject {
    Q_OBJECT
  public:
    ActivationWatcher(QWidget* window, std::function<void()> onActivated);
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void Post();

    QWidget* window_;
    std::function<void()> onActivated_;
    bool posted_ = false;
    bool showPending_ = false;
};

}  // namespace tarnwick::ui

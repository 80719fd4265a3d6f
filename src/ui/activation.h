#pragma once
#include <QObject>
#include <functional>

#include "hosts/window_focus.h"

class QWidget;

namespace tarnwick {
class DataModule;
}

namespace tarnwick::ui {

// Reports to the core's WindowFocus which window of the program was shown or
// became active (the host list, the host window, or any box or dialog), and
// runs what the core says entering it starts, once no flow runs. It decides
// nothing itself. Showing a window counts as entering it after a short grace
// time too, for platforms without a window manager, where no activation comes.
class FocusReporter : public QObject {
    Q_OBJECT
  public:
    FocusReporter(WindowFocus& focus, DataModule& tdm, QWidget* hostList, QWidget* hostWindow);
    ~FocusReporter() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // The host window was closed.
    void HostWindowClosed();
    // What an owed search or refresh runs; off (empty) in scripted runs.
    std::function<void()> search;
    std::function<void()> refresh;
    // The window a box shown now belongs to: an open modal dialog, else the
    // window the core names, else whichever of the two is showing.
    QWidget* BoxParent() const;

  private:
    ProgramWindow Classify(const QObject* watched) const;
    // Takes the owed action from the event loop, not inside an event handler.
    void Post();

    WindowFocus& focus_;
    DataModule& tdm_;
    QWidget* hostList_;
    QWidget* hostWindow_;
    bool posted_ = false;
};

}  // namespace tarnwick::ui

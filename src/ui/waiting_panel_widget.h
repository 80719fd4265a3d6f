#pragma once
#include <QFrame>

#include "hosts/waiting_panel.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarnwick::ui {

// PnlWaiting: title, progress bar and percentage, kept in step with the core's
// waiting panel; centred over its parent while shown.
class WaitingPanelWidget : public QFrame {
    Q_OBJECT
  public:
    // `withStop` adds the cancel button bbtnStop.
    WaitingPanelWidget(WaitingPanel& model, bool withStop, QWidget* parent);
    void Sync();
    QPushButton* StopButton() const { return stop_; }

  private:
    WaitingPanel& model_;
    QLabel* title_;
    QProgressBar* bar_;
    QLabel* percent_;
    QPushButton* stop_ = nullptr;
};

}  // namespace tarnwick::ui

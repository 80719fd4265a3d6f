#pragma once
#include <QDialog>

namespace tarnwick {
class PairingWindow;
}

class QProgressBar;

namespace tarnwick::ui {

// TFormCodeMatch: the modal pairing window. It only shows the pairing
// window's model; closing it (quit, the title bar, Escape) pauses pairing,
// and it stays open while an exchange or the wait for a report runs.
class TFormCodeMatch : public QDialog {
    Q_OBJECT
  public:
    TFormCodeMatch(PairingWindow& model, QWidget* parent);
    void reject() override;
    // Shows the progress bar as the model has it.
    void SyncProgress();

  private:
    PairingWindow& model_;
    QProgressBar* progress_;
};

}  // namespace tarnwick::ui

#pragma once
#include <QDialog>

#include "backup/passphrase_dialog.h"

namespace tarnwick::ui {

class ControlBinder;

// The dialog that asks for the passphrase of the codes in the snapshots.
class TFormPassphrase : public QDialog {
    Q_OBJECT
  public:
    TFormPassphrase(PassphraseDialog& dialog, QWidget* parent = nullptr);
    // Shows the dialog for the core's question; true for OK.
    bool Run();

  private:
    PassphraseDialog& dialog_;
    ControlBinder* binder_;
};

}  // namespace tarnwick::ui

#pragma once
#include <QDialog>

#include "hosts/modify_ip.h"

namespace tarnwick::ui {

class ControlBinder;

// TFormModifyIP: the network configuration dialog, created once and reused,
// so the new address keeps the text last typed.
class TFormModifyIP : public QDialog {
    Q_OBJECT
  public:
    TFormModifyIP(ModifyIpDialog& dialog, QWidget* parent = nullptr);
    // Shows the dialog for the core's address change; true for OK.
    bool Run();

  private:
    ModifyIpDialog& dialog_;
    ControlBinder* binder_;
};

}  // namespace tarnwick::ui

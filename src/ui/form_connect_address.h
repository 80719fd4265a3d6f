#pragma once
#include <QDialog>

#include "hosts/connect_address.h"

namespace tarnwick::ui {

class ControlBinder;

// The dialog "连接指定地址", created once and reused, so it keeps the text
// last typed.
class TFormConnectAddress : public QDialog {
    Q_OBJECT
  public:
    TFormConnectAddress(ConnectAddressDialog& dialog, QWidget* parent = nullptr);
    // Shows the dialog for the core's flow; true for OK.
    bool Run();

  private:
    ConnectAddressDialog& dialog_;
    ControlBinder* binder_;
};

}  // namespace tarnwick::ui

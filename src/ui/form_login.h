#pragma once
#include <QDialog>

#include "hosts/login.h"

class QLabel;
class QLineEdit;

namespace tarnwick::ui {

// TFormLogin: the password dialog, created once and reused, so the edit
// keeps the last text typed.
class TFormLogin : public QDialog {
    Q_OBJECT
  public:
    explicit TFormLogin(QWidget* parent = nullptr);
    // Shows the dialog for the core's login; true for OK.
    bool Run(LoginDialog& dialog);

  private:
    QLabel* host_;
    QLineEdit* edit_;
};

}  // namespace tarnwick::ui

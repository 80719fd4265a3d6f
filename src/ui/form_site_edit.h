#pragma once
#include <QDialog>

#include "hosts/site_book_window.h"

namespace tarnwick::ui {

class ControlBinder;

// The dialog that adds or edits one site.
class TFormSiteEdit : public QDialog {
    Q_OBJECT
  public:
    TFormSiteEdit(SiteEditDialog& dialog, QWidget* parent = nullptr);
    // Shows the dialog for the core's window; true for OK.
    bool Run();

  private:
    SiteEditDialog& dialog_;
    ControlBinder* binder_;
};

}  // namespace tarnwick::ui

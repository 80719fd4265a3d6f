#pragma once
#include <QDialog>

#include "hosts/site_book_window.h"

class QTableWidget;

namespace tarnwick::ui {

class ControlBinder;
class TFormSiteEdit;

// The site book window: the grid of every site and the buttons of the core's
// window; the selected row goes to the core as it changes.
class TFormSites : public QDialog {
    Q_OBJECT
  public:
    TFormSites(SiteBookWindow& window, QWidget* parent = nullptr);
    // The book read again, then shown modally.
    void Run();
    TFormSiteEdit& EditForm() { return *edit_; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    // Model to widgets, the selection included.
    void Sync();

    SiteBookWindow& window_;
    QTableWidget* grid_;
    ControlBinder* binder_;
    TFormSiteEdit* edit_;
};

}  // namespace tarnwick::ui

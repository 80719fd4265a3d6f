#include "ui/form_site_edit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/captioned_edit.h"
#include "ui/control_binder.h"
#include "ui/title_strip.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

TFormSiteEdit::TFormSiteEdit(SiteEditDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
    setObjectName("TFormSiteEdit");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    auto* title = new TitleStrip(QString::fromUtf8(kAddSiteTitle), this);
    layout->addWidget(title);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(32, 16, 32, 8);
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(1, 1);
    const PageModel& c = dialog_.controls;
    int row = 0;
    for (const CaptionedEdit& field : SiteEditDialog::kFields)
        AddCaptionedEdit(grid, row++, this, c, field);
    layout->addLayout(grid);
    AddAcceptCancelRow(layout, this, "bbtnSiteOK", "bbtnSiteCancel");
    binder_ = new ControlBinder(dialog_.controls, this);
    dialog_.controls.SetObserver([this, title] {
        binder_->Sync();
        setWindowTitle(QString::fromStdString(dialog_.title));
        title->Caption()->setText(QString::fromStdString(dialog_.title));
    });
    setFixedSize(440, 260);
}

bool TFormSiteEdit::Run() {
    dialog_.controls.Changed();
    if (auto* edit = findChild<QLineEdit*>("edtSiteName")) {
        edit->setFocus();
        edit->selectAll();
    }
    return exec() == QDialog::Accepted;
}

}  // namespace tarnwick::ui

#include "ui/form_modify_ip.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/captioned_edit.h"
#include "ui/control_binder.h"
#include "ui/title_strip.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

TFormModifyIP::TFormModifyIP(ModifyIpDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
    setObjectName("TFormModifyIP");
    setWindowTitle(QString::fromUtf8(kModifyIpTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(new TitleStrip(QString::fromUtf8(kModifyIpHeading), this));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(32, 16, 32, 8);
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const CaptionedEdit& field : ModifyIpDialog::kFields)
        AddCaptionedEdit(grid, row++, this, dialog_.controls, field);
    layout->addLayout(grid);
    AddAcceptCancelRow(layout, this, "bbtnModify", "bbtnCancel");
    binder_ = new ControlBinder(dialog_.controls, this);
    dialog_.controls.SetObserver([this] { binder_->Sync(); });
    setFixedSize(400, 270);
}

bool TFormModifyIP::Run() {
    binder_->Sync();
    if (auto* edit = findChild<QLineEdit*>("edtNewIP")) {
        edit->setFocus();
        edit->selectAll();
    }
    return exec() == QDialog::Accepted;
}

}  // namespace tarnwick::ui

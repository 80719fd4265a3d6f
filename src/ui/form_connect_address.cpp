#include "ui/form_connect_address.h"

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

TFormConnectAddress::TFormConnectAddress(ConnectAddressDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
    setObjectName("TFormConnectAddress");
    setWindowTitle(QString::fromUtf8(kConnectAddressTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(new TitleStrip(QString::fromUtf8(kConnectAddressTitle), this));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(32, 16, 32, 8);
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(1, 1);
    const PageModel& c = dialog_.controls;
    int row = 0;
    for (const CaptionedEdit& field : ConnectAddressDialog::kFields)
        AddCaptionedEdit(grid, row++, this, c, field);
    QLabel* hint = MakeLabel(this, "lblConnectSiteHint");
    hint->setStyleSheet("color: #606060;");
    grid->addWidget(hint, 3, 1);
    layout->addLayout(grid);
    AddAcceptCancelRow(layout, this, "bbtnConnect", "bbtnCancel");
    binder_ = new ControlBinder(dialog_.controls, this);
    dialog_.controls.SetObserver([this] { binder_->Sync(); });
    setFixedSize(440, 250);
}

bool TFormConnectAddress::Run() {
    binder_->Sync();
    if (auto* edit = findChild<QLineEdit*>("edtConnectIP")) {
        edit->setFocus();
        edit->selectAll();
    }
    return exec() == QDialog::Accepted;
}

}  // namespace tarnwick::ui

#include "ui/form_passphrase.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/captioned_edit.h"
#include "ui/control_binder.h"
#include "ui/title_strip.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

TFormPassphrase::TFormPassphrase(PassphraseDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
    setObjectName("TFormPassphrase");
    setWindowTitle(QString::fromUtf8(kPassphraseTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(new TitleStrip(QString::fromUtf8(kPassphraseTitle), this));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(32, 16, 32, 8);
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(1, 1);
    QLabel* purpose = MakeLabel(this, "lblPassphrasePurpose");
    purpose->setWordWrap(true);
    grid->addWidget(purpose, 0, 0, 1, 2);
    AddCaptionedEdit(grid, 1, this, dialog_.controls, PassphraseDialog::kPassphrase);
    grid->addWidget(MakeCheck(this, "chkForgetPassphrase"), 2, 1);
    layout->addLayout(grid);
    AddAcceptCancelRow(layout, this, "bbtnPassphraseOk", "bbtnPassphraseCancel");
    binder_ = new ControlBinder(dialog_.controls, this);
    dialog_.controls.SetObserver([this] { binder_->Sync(); });
    setFixedSize(480, 260);
}

bool TFormPassphrase::Run() {
    binder_->Sync();
    if (auto* edit = findChild<QLineEdit*>(PassphraseDialog::kPassphrase.edit)) edit->setFocus();
    return exec() == QDialog::Accepted;
}

}  // namespace tarnwick::ui

#include "ui/form_login.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/accessibility.h"
#include "ui/title_strip.h"

namespace tarnwick::ui {

TFormLogin::TFormLogin(QWidget* parent) : QDialog(parent) {
    setObjectName("TFormLogin");
    setWindowTitle(QStringLiteral("密码验证"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(new TitleStrip(QStringLiteral("密码验证"), this));
    host_ = new QLabel(this);
    host_->setObjectName("lblLoginHost");
    host_->setContentsMargins(24, 12, 24, 0);
    layout->addWidget(host_);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(24, 8, 24, 8);
    auto* caption = new QLabel(QString::fromUtf8(kPasswordCaption), this);
    row->addWidget(caption);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("edtoPassword");
    edit_->setEchoMode(QLineEdit::Password);
    caption->setBuddy(edit_);
    NameInput(edit_, kPasswordCaption);
    row->addWidget(edit_, 1);
    layout->addLayout(row);
    // The room the fixed size leaves goes above the buttons, so the banner
    // stays at the very top.
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* login = new QPushButton(QStringLiteral("登录"), this);
    login->setObjectName("bbtnLogin");
    login->setToolTip(QStringLiteral("登录管理软件"));
    login->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName("bbtnCancel");
    cancel->setToolTip(QStringLiteral("退出管理软件"));
    buttons->addWidget(login);
    buttons->addWidget(cancel);
    buttons->addSpacing(24);
    layout->addLayout(buttons);
    connect(login, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(360, 196);
}

bool TFormLogin::Run(LoginDialog& dialog) {
    host_->setText(QString::fromStdString(dialog.hostText));
    edit_->setText(QString::fromStdString(dialog.password));
    edit_->selectAll();
    edit_->setFocus();
    const bool ok = exec() == QDialog::Accepted;
    dialog.password = edit_->text().toStdString();
    return ok;
}

}  // namespace tarnwick::ui

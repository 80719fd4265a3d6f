#include "ui/qt_operator.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace tarnwick::ui {
namespace {
// A question of this many lines or more scrolls.
constexpr int kLongQuestionLines = 24;
// The buttons speak the operator's language, whatever Qt's own is.
constexpr const char* kOkText = "确定";
constexpr const char* kYesText = "是";
constexpr const char* kNoText = "否";
}  // namespace

QtOperator::QtOperator() {
    clock_.start();
}

QWidget* QtOperator::Parent() const {
    if (parent_)
        if (QWidget* owner = parent_()) return owner;
    return QApplication::activeWindow();
}

bool QtOperator::Unattended(const char* kind, const std::string& text) const {
    if (unattended_) std::fprintf(stderr, "[%s] %s\n", kind, text.c_str());
    return unattended_;
}

void QtOperator::ShowBox(int icon, const QString& title, const std::string& text) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, QString::fromStdString(text),
                    QMessageBox::Ok, Parent());
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(kOkText));
    box.exec();
}

void QtOperator::ShowMessage(const std::string& text) {
    if (Unattended("message", text)) return;
    ShowBox(QMessageBox::NoIcon, QApplication::applicationName(), text);
}

void QtOperator::Information(const std::string& text) {
    if (Unattended("information", text)) return;
    ShowBox(QMessageBox::Information, QStringLiteral("提示"), text);
}

void QtOperator::Warning(const std::string& text) {
    if (Unattended("warning", text)) return;
    ShowBox(QMessageBox::Warning, QStringLiteral("警告"), text);
}

void QtOperator::Error(const std::string& text) {
    if (Unattended("error", text)) return;
    ShowBox(QMessageBox::Critical, QStringLiteral("错误"), text);
}

void QtOperator::AskToCheck(const std::string& text) {
    if (Unattended("check", text)) return;
    ShowBox(QMessageBox::Question, QStringLiteral("提示"), text);
}

bool QtOperator::Ask(const std::string& text) {
    if (Unattended("question", text)) return kQuestionDefault;
    const QString body = QString::fromStdString(text);
    if (body.count('\n') >= kLongQuestionLines) return AskLong(body);
    QMessageBox box(QMessageBox::Question, QStringLiteral("确认"), body,
                    QMessageBox::Yes | QMessageBox::No, Parent());
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8(kYesText));
    box.button(QMessageBox::No)->setText(QString::fromUtf8(kNoText));
    box.setDefaultButton(kQuestionDefault ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// A question too long for a box (a restore's list of settings): the text
// scrolls above the two buttons.
bool QtOperator::AskLong(const QString& text) {
    QDialog dialog(Parent());
    dialog.setObjectName("dlgLongQuestion");
    dialog.setWindowTitle(QStringLiteral("确认"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* view = new QPlainTextEdit(text, &dialog);
    view->setReadOnly(true);
    view->setAccessibleName(QStringLiteral("确认内容"));
    view->setMinimumSize(560, 360);
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    QPushButton* yes = buttons->button(QDialogButtonBox::Yes);
    QPushButton* no = buttons->button(QDialogButtonBox::No);
    yes->setText(QString::fromUtf8(kYesText));
    no->setText(QString::fromUtf8(kNoText));
    QPushButton* preferred = kQuestionDefault ? yes : no;
    yes->setDefault(preferred == yes);
    no->setDefault(preferred == no);
    preferred->setFocus();
    return dialog.exec() == QDialog::Accepted;
}

void QtOperator::Pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool QtOperator::WaitReadable(int fd, int timeoutMs) {
    QEventLoop loop;
    bool readable = false;
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        readable = true;
        loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop.exec();
    return readable;
}

void QtOperator::Beep() {
    QApplication::beep();
}

uint64_t QtOperator::TickMs() {
    return static_cast<uint64_t>(clock_.elapsed());
}

}  // namespace tarnwick::ui

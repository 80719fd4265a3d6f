#include "ui/qt_operator.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

namespace tarnwick::ui {

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

void QtOperator::ShowMessage(const std::string& text) {
    if (Unattended("message", text)) return;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, Parent());
    box.exec();
}

void QtOperator::Information(const std::string& text) {
    if (Unattended("information", text)) return;
    QMessageBox::information(Parent(), QStringLiteral("提示"), QString::fromStdString(text));
}

void QtOperator::Warning(const std::string& text) {
    if (Unattended("warning", text)) return;
    QMessageBox::warning(Parent(), QStringLiteral("警告"), QString::fromStdString(text));
}

void QtOperator::Error(const std::string& text) {
    if (Unattended("error", text)) return;
    QMessageBox::critical(Parent(), QStringLiteral("错误"), QString::fromStdString(text));
}

bool QtOperator::Ask(const std::string& text) {
    if (Unattended("question", text)) return false;
    // Every question's 是 writes or discards something: 否 is the default.
    return QMessageBox::question(Parent(), QStringLiteral("确认"), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
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

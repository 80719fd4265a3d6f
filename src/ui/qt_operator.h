#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "protocol/operator_port.h"

namespace tarnwick::ui {

// The operator port on Qt: message boxes, and waits in a local event loop that
// a socket notifier or a timer ends, so nothing spins while a host is silent.
class QtOperator : public OperatorPort {
  public:
    QtOperator();
    void ShowMessage(const std::string& text) override;
    void Information(const std::string& text) override;
    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    void AskToCheck(const std::string& text) override;
    bool Ask(const std::string& text) override;
    void Pause(int ms) override;
    bool WaitReadable(int fd, int timeoutMs) override;
    uint64_t TickMs() override;
    void Beep() override;
    // Unattended runs (the window tour) print boxes instead of waiting for
    // a click; questions take their default answer, 否.
    void SetUnattended(bool on) { unattended_ = on; }
    // The window a box belongs to, so that focus goes back there when it
    // closes; the active window when none is set.
    void SetParentResolver(std::function<QWidget*()> resolve) { parent_ = std::move(resolve); }

  private:
    bool AskLong(const QString& text);
    void ShowBox(int icon, const QString& title, const std::string& text);
    QWidget* Parent() const;
    bool Unattended(const char* kind, const std::string& text) const;
    QElapsedTimer clock_;
    bool unattended_ = false;
    std::function<QWidget*()> parent_;
};

}  // namespace tarnwick::ui

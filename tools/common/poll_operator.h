#pragma once
#include <string>

#include "protocol/operator_port.h"

namespace tarnwick::tools {

// The operator port without a window system: boxes go to standard error,
// questions are answered yes, pauses sleep and waits block in poll(), so the
// process stays idle while nothing arrives, as the Qt event loop does.
class PollOperator : public OperatorPort {
  public:
    void ShowMessage(const std::string& text) override { Box("message", text); }
    void Information(const std::string& text) override { Box("information", text); }
    void Warning(const std::string& text) override { Box("warning", text); }
    void Error(const std::string& text) override { Box("error", text); }
    void AskToCheck(const std::string& text) override { Box("check", text); }
    bool Ask(const std::string& text) override;
    void Pause(int ms) override;
    bool WaitReadable(int fd, int timeoutMs) override;
    uint64_t TickMs() override;

    int boxes = 0;
    // The milliseconds of every pause asked for, summed.
    uint64_t pausedMs = 0;

  private:
    void Box(const char* kind, const std::string& text);
};

}  // namespace tarnwick::tools

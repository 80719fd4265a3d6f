#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "protocol/operator_port.h"

namespace tarnwick::testing {

// An operator that records every box, answers questions from a script and
// lets a test act at a chosen pause (press Stop, say). Pauses advance a
// virtual clock; socket waits really wait, with poll().
class RecordingOperator : public OperatorPort {
  public:
    struct Box {
        std::string kind;  // "message", "information", "warning", "error", "check", "ask"
        std::string text;
    };

    void ShowMessage(const std::string& text) override { boxes.push_back({"message", text}); }
    void Information(const std::string& text) override { boxes.push_back({"information", text}); }
    void Warning(const std::string& text) override { boxes.push_back({"warning", text}); }
    void Error(const std::string& text) override { boxes.push_back({"error", text}); }
    void AskToCheck(const std::string& text) override { boxes.push_back({"check", text}); }
    bool Ask(const std::string& text) override;
    void Pause(int ms) override;
    bool WaitReadable(int fd, int timeoutMs) override;
    uint64_t TickMs() override { return tick; }
    void Beep() override { ++beeps; }

    std::vector<Box> boxes;
    std::deque<bool> answers;  // questions take these in order; yes when empty
    // With the script empty, questions take the answer Enter gives on the
    // box (the port's default) instead of yes.
    bool enterWhenUnscripted = false;
    std::vector<int> pauses;
    uint64_t tick = 0;
    int beeps = 0;
    // Pauses really sleep, for flows that wait for another thread.
    bool sleepInPauses = false;
    // Called after every pause and every wait with the number of pauses so far.
    std::function<void()> onServe;
};

}  // namespace tarnwick::testing

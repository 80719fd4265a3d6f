#pragma once
#include <cstdint>
#include <string>

namespace tarnwick {

// The operator and the screen, as the core sees them: modal boxes, questions,
// and waiting while window events keep being served. The Qt application
// implements it with message boxes and a local event loop; tests record calls.
class OperatorPort {
  public:
    virtual ~OperatorPort() = default;

    // Plain modal message without an icon.
    virtual void ShowMessage(const std::string& text) = 0;
    // Boxes with an OK button.
    virtual void Information(const std::string& text) = 0;
    virtual void Warning(const std::string& text) = 0;
    virtual void Error(const std::string& text) = 0;
    // A box with the question icon and only an OK button: the operator is
    // asked to check what the text names.
    virtual void AskToCheck(const std::string& text) = 0;
    // Yes/no question; true for 是. Every question of the tool writes to a
    // host or gives up work when answered 是, so the box's default button is
    // kQuestionDefault: a stray Enter, like Escape, answers 否.
    virtual bool Ask(const std::string& text) = 0;
    static constexpr bool kQuestionDefault = false;

    // Serve window events until the tick counter has advanced by `ms`.
    virtual void Pause(int ms) = 0;
    // Serve window events until `fd` is readable or `timeoutMs` has passed.
    // Returns true when the descriptor became readable. Never spins.
    virtual bool WaitReadable(int fd, int timeoutMs) = 0;
    // Millisecond tick counter.
    virtual uint64_t TickMs() = 0;
    // The system's default beep.
    virtual void Beep() {}
};

}  // namespace tarnwick

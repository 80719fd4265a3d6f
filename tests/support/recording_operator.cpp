#include "support/recording_operator.h"

#include <poll.h>

#include <chrono>
#include <thread>

namespace tarnwick::testing {

bool RecordingOperator::Ask(const std::string& text) {
    boxes.push_back({"ask", text});
    if (answers.empty()) return enterWhenUnscripted ? kQuestionDefault : true;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingOperator::Pause(int ms) {
    pauses.push_back(ms);
    tick += static_cast<uint64_t>(ms);
    if (sleepInPauses) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    if (onServe) onServe();
}

bool RecordingOperator::WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    int rc = ::poll(&p, 1, timeoutMs);
    tick += static_cast<uint64_t>(timeoutMs);
    if (onServe) onServe();
    return rc > 0;
}

}  // namespace tarnwick::testing

#include "common/poll_operator.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

namespace tarnwick::tools {

bool PollOperator::Ask(const std::string& text) {
    Box("question", text);
    return true;
}

void PollOperator::Box(const char* kind, const std::string& text) {
    ++boxes;
    std::fprintf(stderr, "[%s] %s\n", kind, text.c_str());
}

void PollOperator::Pause(int ms) {
    pausedMs += static_cast<uint64_t>(ms);
    const uint64_t end = TickMs() + static_cast<uint64_t>(ms);
    for (uint64_t now = TickMs(); now < end; now = TickMs())
        ::poll(nullptr, 0, static_cast<int>(end - now));
}

bool PollOperator::WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    const uint64_t end = TickMs() + static_cast<uint64_t>(timeoutMs);
    while (true) {
        const uint64_t now = TickMs();
        const int left = now < end ? static_cast<int>(end - now) : 0;
        const int rc = ::poll(&p, 1, left);
        if (rc > 0) return true;
        if (rc == 0 || errno != EINTR) return false;
    }
}

uint64_t PollOperator::TickMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace tarnwick::tools

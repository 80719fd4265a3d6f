#include <ctime>

#include "storage/database_port.h"

namespace tarnwick {

std::string SystemClock::NowText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace tarnwick

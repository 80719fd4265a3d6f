#include "sim_log.h"

#include <chrono>
#include <ctime>
#include <stdexcept>

namespace tarnwick::hostsim {

SimLog::SimLog(const std::string& path)
    : out_(path.empty() ? stderr : std::fopen(path.c_str(), "a")), owned_(!path.empty()) {
    if (!out_) throw std::runtime_error("cannot write the log " + path);
}

SimLog::~SimLog() {
    if (owned_) std::fclose(out_);
}

void SimLog::Datagram(const char* direction, const std::string& from, const std::string& to,
                      const std::string& payload, const std::string& note) {
    std::string text = std::string(direction) + " " + from + " -> " + to + " " + payload;
    if (!note.empty()) text += " " + note;
    Line(text);
}

void SimLog::Note(const std::string& text) {
    Line("note " + text);
}

void SimLog::Line(const std::string& text) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm t{};
    localtime_r(&seconds, &t);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &t);
    std::fprintf(out_, "%s.%03d %s\n", stamp, static_cast<int>(ms), text.c_str());
    std::fflush(out_);
}

}  // namespace tarnwick::hostsim

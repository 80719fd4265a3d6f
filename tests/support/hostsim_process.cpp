#include "support/hostsim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tarnwick::testing {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

HostsimProcess::HostsimProcess(const std::string& hostsim, const std::string& ns,
                               const std::string& configJson,
                               const std::vector<std::string>& args) {
    const std::string config = dir_.File("hosts.json");
    const std::string ready = dir_.File("ready");
    const std::string errors = dir_.File("stderr");
    std::ofstream(config) << configJson;
    std::vector<std::string> argv = {
        "ip",    "netns",          "exec",         ns,   hostsim, "--config", config,
        "--log", dir_.File("log"), "--ready-file", ready};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        // `ip netns exec` enters the namespace and becomes the simulator, so
        // this process id is the simulator's.
        int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) ::dup2(fd, STDERR_FILENO);
        std::vector<char*> cargs;
        for (auto& a : argv) cargs.push_back(a.data());
        cargs.push_back(nullptr);
        ::execvp("ip", cargs.data());
        ::_exit(127);
    }
    // The simulator writes the ready file once its port is bound.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(ready)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the simulator ended at once: " + ReadFile(errors));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            Stop();
            throw std::runtime_error("the simulator did not come up: " + ReadFile(errors));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

HostsimProcess::~HostsimProcess() {
    Stop();
}

void HostsimProcess::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string HostsimProcess::Log() const {
    return ReadFile(dir_.File("log"));
}

std::vector<std::string> HostsimProcess::LogLines(const std::string& text) const {
    std::istringstream in(Log());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (line.find(text) != std::string::npos) lines.push_back(line.substr(24));
    return lines;
}

std::vector<std::string> HostsimProcess::ReceivedFrames(size_t first) const {
    std::vector<std::string> frames;
    for (const std::string& line : LogLines("recv ")) {
        std::istringstream words(line);
        std::string recv, from, arrow, to, payload;
        words >> recv >> from >> arrow >> to >> payload;
        if (recv == "recv") frames.push_back(payload);
    }
    frames.erase(frames.begin(),
                 frames.begin() + static_cast<std::ptrdiff_t>(std::min(first, frames.size())));
    return frames;
}

}  // namespace tarnwick::testing

#include "backup_figure.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

extern char** environ;

namespace tarnwick::bench {
namespace {

constexpr double kBudgetRatio = 10.0;
constexpr const char* kInstallerCode = "123456";

// Runs the program with its output thrown away; true when it exited 0.
bool RunQuietly(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

size_t CountLines(const std::string& path) {
    std::ifstream in(path);
    size_t n = 0;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') ++n;
    return n;
}

// The median wall time of `rounds` runs in milliseconds; -1 when one failed.
double MedianMs(const std::vector<std::string>& args, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!RunQuietly(args)) return -1;
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int MeasureBackup(const std::string& cli, const std::string& oneHost, const std::string& hostsFile,
                  int rounds) {
    namespace fs = std::filesystem;
    const fs::path out =
        fs::temp_directory_path() / ("tarnwick-bench-backup-" + std::to_string(::getpid()));
    fs::create_directories(out);
    const double one = MedianMs({cli, "backup", "--host", oneHost, "-o",
                                 (out / "one.json").string(), "--code", kInstallerCode},
                                rounds);
    const double many = MedianMs({cli, "backup", "--hosts", hostsFile, "-o",
                                  (out / "many").string(), "--code", kInstallerCode},
                                 rounds);
    std::error_code ignored;
    fs::remove_all(out, ignored);
    if (one < 0 || many < 0) {
        std::printf("backup from the command line: a run failed\n");
        return 1;
    }
    const double ratio = many / one;
    std::printf(
        "backup from the command line (%d rounds): one host median %.0f ms; %zu hosts median "
        "%.0f ms = %.1f times one host   [budget: under %.0f times]\n",
        rounds, one, CountLines(hostsFile), many, ratio, kBudgetRatio);
    return ratio < kBudgetRatio ? 0 : 1;
}

}  // namespace tarnwick::bench

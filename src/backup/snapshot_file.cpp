#include "backup/snapshot_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tarnwick {

namespace {

constexpr const char* kPartialSuffix = ".partial";

SnapshotError FileError(const std::string& path, const std::string& what, int error) {
    return SnapshotError(path + ": " + what + "（" + std::strerror(error) + "）");
}

// Writes all of `text` to `fd`, going on after interrupted or short writes.
bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

ConfigSnapshot ReadSnapshotFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw FileError(path, "无法打开", errno);
    if (!S_ISREG(info.st_mode)) throw SnapshotError(path + ": 不是普通文件");
    if (static_cast<unsigned long long>(info.st_size) > kMaxSnapshotFileBytes)
        throw SnapshotError(path + ": 文件过大，不是配置文件");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError(path, "无法打开", errno);
    std::stringstream text;
    text << in.rdbuf();
    try {
        return SnapshotFromJson(text.str());
    } catch (const SnapshotError& e) {
        throw SnapshotError(path + ": " + e.what());
    }
}

void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot) {
    const std::string text = SnapshotToJson(snapshot);
    const std::string partial = path + kPartialSuffix;
    // Created owner-only from the start: no moment where others may read it.
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) throw FileError(path, "写入失败", errno);
    // A partial file left by an earlier failure keeps its old mode otherwise.
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(partial.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::remove(partial.c_str());
        throw FileError(path, "写入失败", error);
    }
}

}  // namespace tarnwick

#include "storage/replacement_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tarnwick {
namespace {

constexpr int kNameAttempts = 100;
constexpr const char kNameLetters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// "<target>.<six letters>.partial": beside the target, so that the rename
// stays on one file system, and not ending in the target's extension, so
// that nothing takes it for a finished file.
std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        // Without the system's randomness: the process and a count, still unique here.
        const unsigned long mixed = (static_cast<unsigned long>(::getpid()) << 20) + counter++;
        for (size_t i = 0; i < sizeof random; ++i)
            random[i] = static_cast<unsigned char>(mixed >> (8 * i));
    }
    std::string name = target + ".";
    for (unsigned char r : random) name += kNameLetters[r % (sizeof kNameLetters - 1)];
    return name + ".partial";
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The new directory entry on the disk too; a folder that cannot be synced
// (some file systems refuse) leaves the file written all the same.
void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Why `target` may not be replaced, or empty text.
std::string RefusalOf(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return errno == ENOENT ? std::string() : std::strerror(errno);
    if (!S_ISREG(info.st_mode)) return kNotAFileTargetText;
    // Root may write anything: a file nobody may write was marked read-only
    // on purpose, and stays.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)
        return kReadOnlyTargetText;
    return {};
}

}  // namespace

ReplacementFile::ReplacementFile(std::string target, FileAccess access)
    : target_(std::move(target)) {
    mode_t mode = 0600;
    struct stat earlier {};
    const bool replacing = ::stat(target_.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode);
    if (access == FileAccess::AsUsual) mode = replacing ? (earlier.st_mode & 0777) : 0666;
    for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
        temporary_ = TemporaryName(target_);
        fd_ = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) throw FileWriteError(target_, std::strerror(errno));
    // The umask narrows the mode of a new file; an earlier file's mode is
    // taken as it was.
    if (access == FileAccess::AsUsual && replacing) ::fchmod(fd_, mode);
}

ReplacementFile::~ReplacementFile() {
    if (!committed_) Discard();
}

void ReplacementFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

void ReplacementFile::Write(std::string_view text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw FileWriteError(target_, std::strerror(n < 0 ? errno : EIO));
        done += static_cast<size_t>(n);
    }
}

void ReplacementFile::Finish() {
    // A writer that opened the temporary file by its name wrote into the
    // file made here, unless something took the name meanwhile.
    struct stat made {};
    struct stat named {};
    if (::fstat(fd_, &made) != 0 || ::lstat(temporary_.c_str(), &named) != 0 ||
        made.st_dev != named.st_dev || made.st_ino != named.st_ino)
        throw FileWriteError(target_, "临时文件" + temporary_ + "已被替换");
    if (::fsync(fd_) != 0) throw FileWriteError(target_, std::strerror(errno));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw FileWriteError(target_, std::strerror(errno));
}

void ReplacementFile::Commit() {
    Finish();
    const std::string refusal = RefusalOf(target_);
    if (!refusal.empty()) throw FileWriteError(target_, refusal);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw FileWriteError(target_, std::strerror(errno));
    committed_ = true;
    SyncFolder(target_);
}

bool ReplacementFile::CommitIfAbsent() {
    Finish();
    if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) !=
        0) {
        if (errno == EEXIST) return false;
        if (errno != EINVAL && errno != ENOSYS) throw FileWriteError(target_, std::strerror(errno));
        // A file system without the exclusive rename: a second name made
        // exclusively does the same.
        if (::link(temporary_.c_str(), target_.c_str()) != 0) {
            if (errno == EEXIST) return false;
            throw FileWriteError(target_, std::strerror(errno));
        }
        ::unlink(temporary_.c_str());
    }
    committed_ = true;
    SyncFolder(target_);
    return true;
}

void ReplaceFileContent(const std::string& path, std::string_view text, FileAccess access) {
    ReplacementFile file(path, access);
    file.Write(text);
    file.Commit();
}

}  // namespace tarnwick

#include "hosts/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tarnwick {

SingleInstanceLock::SingleInstanceLock(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        problem_ = path + ": " + std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            heldElsewhere_ = true;
        else
            problem_ = path + ": " + std::strerror(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::string SingleInstanceLock::DefaultPath() {
    if (const char* explicitPath = std::getenv("TARNWICK_LOCK_FILE")) return explicitPath;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? runtime : "/tmp";
    return folder + "/tarnwick-" + std::to_string(::getuid()) + ".lock";
}

}  // namespace tarnwick

#include "storage/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick {
namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::string ReadSmallFile(const std::string& path, size_t maxBytes) {
    using Kind = FileReadError::Kind;
    // Without O_NONBLOCK opening a pipe waits for a writer.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) throw FileReadError(Kind::CannotOpen, std::strerror(errno));
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) throw FileReadError(Kind::CannotOpen, std::strerror(errno));
    if (!S_ISREG(info.st_mode)) throw FileReadError(Kind::NotAFile, "not a regular file");
    if (static_cast<unsigned long long>(info.st_size) > maxBytes)
        throw FileReadError(Kind::TooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
    std::string text(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    char more[4096];
    while (true) {
        // Read into the string while it has room, then one block beyond, to
        // see whether the file grew.
        char* into = done < text.size() ? text.data() + done : more;
        const size_t room = done < text.size() ? text.size() - done : sizeof more;
        const ssize_t n = ::read(fd.Get(), into, room);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw FileReadError(Kind::CannotOpen, std::strerror(errno));
        if (n == 0) break;
        if (into == more) {
            if (text.size() + static_cast<size_t>(n) > maxBytes)
                throw FileReadError(Kind::TooLarge,
                                    "larger than " + std::to_string(maxBytes) + " bytes");
            text.append(more, static_cast<size_t>(n));
            done = text.size();
        } else {
            done += static_cast<size_t>(n);
        }
    }
    text.resize(done);
    return text;
}

}  // namespace tarnwick

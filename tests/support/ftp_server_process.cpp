#include "support/ftp_server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace tarnwick::testing {
namespace {

// True once something accepts connections on address:21.
bool Accepting(const std::string& address) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(21);
    ::inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

FtpServerProcess::FtpServerProcess(const std::string& ns, const std::string& address,
                                   const std::vector<std::string>& names, bool anonymous) {
    namespace fs = std::filesystem;
    const fs::path root = dir_.Path() / "root";
    fs::create_directory(root);
    for (const std::string& name : names) std::ofstream(root / name) << "";
    // The server reads the login directory as its own unprivileged user.
    fs::permissions(dir_.Path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    const std::string config = dir_.File("vsftpd.conf");
    std::ofstream(config) << "listen=YES\nlisten_ipv6=NO\nlisten_address=" << address
                          << "\nbackground=NO\nanonymous_enable="
                          << (anonymous ? "YES" : "NO")
                          // Without anonymous logins a server that takes no local
                          // logins either refuses every connection (500 OOPS); with
                          // them it refuses the anonymous login itself (530).
                          << "\nlocal_enable=" << (anonymous ? "NO" : "YES")
                          << "\nwrite_enable=NO\nno_anon_password=YES\n"
                             "anon_root="
                          << root.string()
                          << "\npasv_enable=YES\nseccomp_sandbox=NO\n"
                             "secure_chroot_dir=/var/run/vsftpd/empty\nxferlog_enable=NO\n"
                             "connect_from_port_20=NO\n";
    const std::string errors = dir_.File("stderr");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            ::dup2(fd, STDERR_FILENO);
            ::dup2(fd, STDOUT_FILENO);
        }
        ::execlp("ip", "ip", "netns", "exec", ns.c_str(), "vsftpd", config.c_str(), nullptr);
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Accepting(address)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            std::ifstream in(errors);
            throw std::runtime_error("vsftpd ended at once: " +
                                     std::string(std::istreambuf_iterator<char>(in), {}));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            Stop();
            throw std::runtime_error("vsftpd did not come up");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

FtpServerProcess::~FtpServerProcess() {
    Stop();
}

void FtpServerProcess::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

}  // namespace tarnwick::testing

#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick {

// idftpUpdate: the FTP client that looks for the upgrade image on a server.
// Anonymous login, passive mode, the default FTP port. Any failure on the way
// (no connection, refused login, a listing that cannot be had) throws FtpError.
class FtpPort {
  public:
    virtual ~FtpPort() = default;
    // The names of the login directory (NLST), without details.
    virtual std::vector<std::string> ListNames(const std::string& host) = 0;
};

class FtpError : public std::runtime_error {
  public:
    explicit FtpError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tarnwick

#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick {

// idftpUpdate: the FTP client that looks for the upgrade image on a server.
// Anonymous login, passive mode, the default FTP port. Any failure on the way
// (no connection, refused login, a listing that cannot be had) throws FtpError
// naming the step.
class FtpPort {
  public:
    virtual ~FtpPort() = default;
    // The names of the login directory (NLST), without details.
    virtual std::vector<std::string> ListNames(const std::string& host) = 0;
};

// Where a look at the server stopped: no FTP connection, the anonymous login
// refused, or no name listing.
enum class FtpStep { Connect, Login, List };

class FtpError : public std::runtime_error {
  public:
    explicit FtpError(const std::string& what, FtpStep step = FtpStep::Connect)
        : std::runtime_error(what), step_(step) {}
    FtpStep Step() const { return step_; }

  private:
    FtpStep step_;
};

}  // namespace tarnwick

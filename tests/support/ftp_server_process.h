#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tarnwick::testing {

// A real FTP server (vsftpd) in a lab namespace, listening on `address`
// port 21, its login directory holding empty files of the given names.
// Stopped by its process id when the object goes.
class FtpServerProcess {
  public:
    FtpServerProcess(const std::string& ns, const std::string& address,
                     const std::vector<std::string>& names, bool anonymous = true);
    ~FtpServerProcess();
    FtpServerProcess(const FtpServerProcess&) = delete;
    FtpServerProcess& operator=(const FtpServerProcess&) = delete;

  private:
    void Stop();

    TempDir dir_;
    pid_t pid_ = -1;
};

}  // namespace tarnwick::testing

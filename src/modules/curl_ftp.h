#pragma once
#include "modules/ftp_port.h"
#include "protocol/timing.h"

namespace tarnwick {

class OperatorPort;

// The FTP client on libcurl. The transfer runs on a worker thread while the
// UI thread waits for it through the operator port, so the window keeps
// serving its events during the check.
class CurlFtp : public FtpPort {
  public:
    explicit CurlFtp(OperatorPort& op, int connectTimeoutMs = kFtpConnectTimeoutMs,
                     int checkTimeoutMs = kFtpCheckTimeoutMs);
    std::vector<std::string> ListNames(const std::string& host) override;

  private:
    OperatorPort& op_;
    int connectTimeoutMs_;
    int checkTimeoutMs_;
};

// Whether `host` may be put into an FTP address as it stands: a name or an
// IPv4 address, optionally followed by ":" and a port number.
bool IsPlainFtpHost(const std::string& host);

}  // namespace tarnwick

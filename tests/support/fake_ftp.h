#pragma once
#include <string>
#include <vector>

#include "modules/ftp_port.h"

namespace tarnwick::testing {

// An FTP server without a network: a fixed name listing, or a failure.
class FakeFtp : public FtpPort {
  public:
    std::vector<std::string> ListNames(const std::string& host) override {
        hosts.push_back(host);
        if (!failWith.empty()) throw FtpError(failWith, failStep);
        return names;
    }

    std::vector<std::string> names;
    std::string failWith;                 // when set, the listing fails with this text
    FtpStep failStep = FtpStep::Connect;  // at this step
    std::vector<std::string> hosts;       // the address of every listing asked for
};

}  // namespace tarnwick::testing

#include "app/standard_ports.h"

#include <memory>

#include "hosts/data_module.h"
#include "modules/curl_ftp.h"

namespace tarnwick {

void AttachStandardPorts(DataModule& tdm) {
    tdm.ftp = std::make_unique<CurlFtp>(tdm.op);
}

}  // namespace tarnwick

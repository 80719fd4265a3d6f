#pragma once
#include <memory>
#include <string>

#include "backup/config_snapshot.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "poll_operator.h"
#include "storage/database_port.h"
#include "storage/sqlite_database.h"

namespace tarnwick::cli {

// The tool's core without a window: a data module on real endpoints, a
// scratch database and the pages that own the read lists.
class CliHost {
  public:
    CliHost();
    ~CliHost();
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // One read of `host`'s whole configuration.
    ConfigSnapshot Backup(const std::string& host, const std::string& installerCode);
    // The standard pages, for comparing and restoring through them.
    HostWindow& Pages() { return *window_; }

  private:
    std::string dir_;
    bench::PollOperator op_;
    SystemClock clock_;
    std::unique_ptr<SqliteDatabase> db_;
    std::unique_ptr<DataModule> tdm_;
    std::unique_ptr<HostWindow> window_;
};

}  // namespace tarnwick::cli

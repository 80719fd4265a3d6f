#pragma once
#include <memory>
#include <stdexcept>
#include <string>

#include "backup/config_snapshot.h"
#include "backup/snapshot_codes.h"
#include "cli_operator.h"
#include "hosts/data_module.h"
#include "hosts/host_list_model.h"
#include "hosts/host_target.h"
#include "hosts/host_window.h"
#include "operation/history_export.h"
#include "storage/database_port.h"

namespace tarnwick::cli {

// What went wrong with one host, as the installer is shown it.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The tool's core without a window: a data module on real endpoints, a
// scratch database and the pages that own the read lists. One object talks
// to one host at a time; several objects can run side by side on threads of
// their own, since each sends from a socket of its own and the replies come
// back to it.
class CliHost {
  public:
    // With an empty `database` a scratch one is made in memory, never on the
    // disk; otherwise that db.mdb (made when missing) or team database keeps
    // the operation log, whose rows name `operatorName` (the user name when
    // empty), and the archives.
    explicit CliHost(const std::string& database = {}, const std::string& operatorName = {});
    ~CliHost();
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // Reads the installer code of `host` as opening it does and makes it the
    // current host. Throws HostError when it does not answer or the code
    // differs.
    void Login(const HostTarget& host, const std::string& installerCode);
    // Makes `host` the current host, without reading anything.
    void Select(const HostTarget& host);
    // One read of `host`'s whole configuration.
    ConfigSnapshot Backup(const HostTarget& host, const std::string& installerCode);
    // The whole alarm history into one workbook.
    HistoryExport History(const HostTarget& host, const std::string& installerCode,
                          const std::string& path, int pageLimit);
    // The host control page's time synchronisation; returns the host's
    // answer, throws HostError when it gave none or refused.
    std::string TimeSync(const HostTarget& host, const std::string& installerCode);
    // The site book of the database given (none for a scratch one) learns
    // the backup file of the host at `address`; returns why it could not,
    // or empty text.
    std::string RecordBackup(const std::string& address, const std::string& path);
    // The database given (none for a scratch one) keeps the snapshot in its
    // backup archive, its codes as `keys` keep them by default; returns why
    // it could not, or empty text.
    std::string ArchiveBackup(const ConfigSnapshot& snapshot, CodeKeys& keys);
    // The alarm records the archive of the database given holds for `host`.
    std::vector<std::string> ArchivedHistory(const std::string& host);
    // The code tables, for the archive's workbook.
    const DataModule& Data() const { return *tdm_; }
    // The host list's search: every host that answered the broadcast. Throws
    // UsageError when another program holds the host port.
    HostListModel Search();

    // The standard pages, for comparing and restoring through them.
    HostWindow& Pages() { return *window_; }
    CliOperator& Operator() { return op_; }

  private:
    bool scratch_ = false;  // the database lives in memory and dies with this
    CliOperator op_;
    SystemClock clock_;
    std::unique_ptr<DatabasePort> db_;
    std::unique_ptr<DataModule> tdm_;
    std::unique_ptr<HostWindow> window_;
};

}  // namespace tarnwick::cli

#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosts/host_list_file.h"
#include "hosts/host_target.h"
#include "storage/site_book.h"

namespace CLI {
class App;
}

namespace tarnwick::cli {

// A command line that cannot run: the text is shown and the exit status is
// kExitUsage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Hosts talked to at once unless --jobs says otherwise.
inline constexpr int kDefaultJobs = 10;
inline constexpr const char* kCodeVariable = "TARNWICK_CODE";
// A host list larger than this is no list of addresses.
inline constexpr size_t kMaxHostListBytes = 10 * 1024 * 1024;

// The options every host command takes.
struct HostOptions {
    std::string host;
    std::string hostsFile;
    std::string site;
    std::string code;
    std::string database;
    std::string operatorName;
    bool json = false;
    int jobs = kDefaultJobs;
};

// --host, --hosts, --site (one of them), --code, --database, --operator,
// --json and --jobs.
void AddHostOptions(CLI::App& command, HostOptions& options);

// The hosts the options name: --host alone, the site --site names in the
// book of --database, or the lines of --hosts (addresses, or names of sites
// when --database is given), whose skipped lines are written to standard
// error with their numbers. Every address passes CheckHostAddress with this
// computer's networks and is used in its plain dotted form. Throws
// UsageError when none names a host, for an address that does not pass, and
// for a --hosts that is not a regular file of at most kMaxHostListBytes.
struct HostTargets {
    std::vector<HostTarget> hosts;
    std::vector<HostListFile::Skipped> skipped;
    bool fromFile = false;
};
HostTargets ResolveHosts(const HostOptions& options);

// The installer code: --code, else $TARNWICK_CODE, else asked on the
// terminal without echo. Throws UsageError when none is given and standard
// input is no terminal.
std::string InstallerCode(const std::string& option);

// The sites of the book in `database`, made or brought up to date when
// needed. Throws UsageError when the database cannot be used.
std::vector<Site> BookedSites(const std::string& database);
// The sites of that book the tool may talk to (UsableSites with this
// computer's networks); each it may not is named on standard error.
std::vector<Site> SitesToReach(const std::string& database);

}  // namespace tarnwick::cli

#pragma once
#include <functional>
#include <string>
#include <vector>

#include "backup/config_compare.h"
#include "backup/config_snapshot.h"
#include "protocol/command_entry.h"

namespace tarnwick {

class HostWindow;

// One write a restore sends, and the page (or "编程区") it belongs to.
struct RestoreWrite {
    std::string page;
    CommandEntry entry;
};

// What a restore may do beyond giving a host back its own configuration.
struct RestoreAllowance {
    bool otherModel = false;  // a host of another model than the file's
    // A file taken from another host: restored without the local network
    // settings, which would move this host onto the other one's address.
    bool otherHost = false;
};

// What a restore found on the host before writing.
struct RestorePreparation {
    ConfigSnapshot live;
    // What the host is to hold: the file's configuration, with the host's own
    // local network settings when the file comes from another host.
    ConfigSnapshot restored;
    // The settings that will change (host → file), by page and caption.
    std::vector<ConfigDifference> changes;
    std::vector<RestoreWrite> writes;
    // The captions of the file's settings left out (another host's file).
    std::vector<std::string> leftOut;
    // What the operator calls the codes the file does not hold in clear and
    // the host keeps as they are ("用户密码"), and why the file holds none.
    std::vector<std::string> codesLeftOut;
    std::string codesReason;
};

struct RestoreOutcome {
    std::vector<RestoreWrite> written;        // acknowledged by the host, in order
    std::string stopReason;                   // why it stopped early; empty when every write went
    bool reread = false;                      // the host was read again after the writes
    std::vector<ConfigDifference> remaining;  // file against host after the re-read
    // A write went unanswered: the host may have taken it, so the host is
    // read again all the same.
    bool outcomeUnknown = false;
    std::string logProblem;            // the first operation-log row that failed
    bool moduleRestartNeeded = false;  // network module settings take effect on restart

    bool Succeeded() const { return stopReason.empty() && reread && remaining.empty(); }
};

inline constexpr const char* kSectionsGroup = "编程区";
inline constexpr const char* kNothingToRestoreText = "主机配置与文件相同，无需写入。";

// Reads the current host's whole configuration and lists the writes that
// make it hold `target`: every programming section whose body differs
// (written whole, fields no page shows included), then the GPRS and network
// module settings that differ, built by their pages' save branches. `pages`
// is a window of its own with the standard pages. Throws SnapshotError when
// the host cannot be read, is of another model than the file, or the file
// was taken from another host (each unless allowed), SaveRefused when a page
// refuses the file's values. The codes a file withholds stay as the host
// holds them.
RestorePreparation PrepareRestore(HostWindow& pages, const ConfigSnapshot& target,
                                  const std::string& installerCode, RestoreAllowance allowance);

// Sends `writes` in order, one operation-log row per answered write. A write
// the host refuses stops the restore; one it does not answer stops it too,
// and the host is read again, as after the last write, and compared with
// `restored` (the preparation's). `progress` hears each write's label before
// it goes.
RestoreOutcome ExecuteRestore(HostWindow& pages, const ConfigSnapshot& restored,
                              const std::vector<RestoreWrite>& writes,
                              const std::string& installerCode,
                              const std::function<void(const std::string&)>& progress = {});

// The writes one per line, or kNothingToRestoreText.
std::string RestorePlanText(const std::vector<RestoreWrite>& writes);
// Which of the file's settings the restore leaves out: another host's local
// network settings, and the codes a file without them cannot give back
// ("未恢复：用户密码（备份中不含密码）"); empty text when it leaves out none.
std::string LeftOutText(const RestorePreparation& prep);
// What was written, why it stopped, and what still differs after the re-read.
std::string RestoreReport(const RestoreOutcome& outcome);

}  // namespace tarnwick

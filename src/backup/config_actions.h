#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backup/config_snapshot.h"
#include "backup/snapshot_codes.h"

namespace tarnwick {

class HostWindow;
struct LoginDialog;

// The items of the host window's configuration menu (its button bbtnConfig).
inline constexpr const char* kBackupActionText = "备份配置…";
inline constexpr const char* kCompareActionText = "比较配置…";
inline constexpr const char* kRestoreActionText = "恢复配置…";
inline constexpr const char* kSnapshotFilter = "*.json";
inline constexpr const char* kBackupDialogTitle = "将主机配置备份到文件";
inline constexpr const char* kCompareDialogTitle = "选择一个（与主机比较）或两个配置文件";
inline constexpr const char* kRestoreDialogTitle = "选择要恢复到主机的配置文件";
inline constexpr const char* kComparisonTitle = "配置比较";

// What a comparison shows: one row per differing setting, four columns.
struct ComparisonTable {
    static constexpr int kColumns = 4;
    using Row = std::vector<std::string>;  // page, setting, first value, second value
    Row columns;                           // the column captions
    std::vector<Row> rows;
    // Where the two configurations come from, and how many settings differ
    // (or that none do).
    std::string summary;
};

// Backup, compare and restore of the current host's configuration, each run
// as a flow of the host window with its waiting panel. The installer code is
// the one the operator logged in with. Dialogs are the window's: an empty
// answer is a cancel and sends nothing.
class ConfigActions {
  public:
    // `scratch` holds the standard pages in a window of its own: both
    // configurations of a comparison are loaded into its controls. `codes`
    // keeps the codes of what is stored: sealed with the passphrase the
    // operator gives when first asked, else redacted. Without it the actions
    // keep keys of their own: $TARNWICK_PASSPHRASE and this user's team key.
    ConfigActions(HostWindow& window, HostWindow& scratch, const LoginDialog& login,
                  CodeKeys& codes);
    ConfigActions(HostWindow& window, HostWindow& scratch, const LoginDialog& login);

    // The keys, whose askPassphrase the window sets.
    CodeKeys& Codes() { return codes_; }

    // Reads the host and writes its configuration to the file the operator
    // names, and to the database's archive, its codes sealed or redacted.
    void Backup();
    // One file against the live host, or two files against each other.
    void Compare();
    // Writes to the host what differs from the chosen file once the operator
    // has seen the list of writes and agreed, reports what was written and
    // what still differs, and refreshes the current page. A host of another
    // model than the file's is refused. A sealed file asks for its
    // passphrase (a wrong one writes nothing); codes a file does not hold
    // stay as the host holds them, and the question and report say so.
    void Restore();

    // The save dialog, offered `suggestedName`; the path, empty when cancelled.
    std::function<std::string(const std::string& suggestedName)> chooseBackupPath;
    // The open dialog of the comparison: one or two paths, none when cancelled.
    std::function<std::vector<std::string>()> chooseComparePaths;
    // The open dialog of the restore: the path, empty when cancelled.
    std::function<std::string()> chooseRestorePath;
    // Shows the comparison's table modally.
    std::function<void(const ComparisonTable&)> showComparison;

  private:
    // Runs `body` as a flow: nothing else starts meanwhile, the window is
    // busy, and any error ends it in a warning box headed by `failure`.
    void RunFlow(const char* failure, const std::function<void()>& body);
    // Reads the whole configuration of the current host.
    ConfigSnapshot ReadHost();
    // Reads a snapshot file; a passphrase that did not open it is forgotten.
    ConfigSnapshot ReadFile(const std::string& path);

    HostWindow& window_;
    HostWindow& scratch_;
    const LoginDialog& login_;
    std::unique_ptr<CodeKeys> ownCodes_;
    CodeKeys& codes_;
};

// The table of the differences between `before` and `after` as the pages of
// `scratch` show them, with the captions of the two value columns.
ComparisonTable BuildComparisonTable(HostWindow& scratch, const ConfigSnapshot& before,
                                     const ConfigSnapshot& after, const std::string& beforeCaption,
                                     const std::string& afterCaption);

// The file name a backup of `host` taken at `now` ("yyyy-mm-dd hh:nn:ss") is
// offered under: "10.0.0.5_20261207-0830.json".
std::string SuggestedBackupName(const std::string& host, const std::string& now);

}  // namespace tarnwick

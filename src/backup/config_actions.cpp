#include "backup/config_actions.h"

#include <cstdlib>
#include <exception>

#include "backup/config_compare.h"
#include "backup/config_restore.h"
#include "backup/snapshot_file.h"
#include "backup/snapshot_reads.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "hosts/login.h"
#include "operation/host_control_page.h"
#include "protocol/operator_port.h"
#include "storage/file_paths.h"
#include "storage/site_book.h"
#include "version.h"

namespace tarnwick {

namespace {

constexpr const char* kPageColumn = "页面";
constexpr const char* kSettingColumn = "设置";
constexpr const char* kFileValueColumn = "文件中的值";
constexpr const char* kHostValueColumn = "主机上的值";
constexpr const char* kFirstFileColumn = "第一个文件中的值";
constexpr const char* kSecondFileColumn = "第二个文件中的值";
constexpr const char* kTooManyFilesText = "请选择一个或两个配置文件。";
constexpr const char* kSealedBackupText = "文件中的密码已用口令加密。";
constexpr const char* kRedactedBackupText = "文件中不含密码（未提供口令）。";

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "文件 a.json（主机 10.0.0.5，2026-12-07 08:30:05）"
std::string FileSource(const std::string& path, const ConfigSnapshot& s) {
    return "文件 " + BaseName(path) + "（主机 " + s.host + "，" + s.time + "）";
}

// While it lives, the host moved by its network module is looked for at the
// local address `pages` show instead of the one the window shows.
class FollowRestoredAddress {
  public:
    FollowRestoredAddress(HostSession& session, PageModel& pages)
        : session_(session), kept_(session.localIpText) {
        session.localIpText = [&pages] { return pages["edtLocalIP"].text; };
    }
    ~FollowRestoredAddress() { session_.localIpText = kept_; }
    FollowRestoredAddress(const FollowRestoredAddress&) = delete;
    FollowRestoredAddress& operator=(const FollowRestoredAddress&) = delete;

  private:
    HostSession& session_;
    std::function<std::string()> kept_;
};

// The confirmation of a restore: where the file comes from, what another
// host's file leaves out, the settings that change, and every write.
std::string RestoreQuestion(const std::string& path, const ConfigSnapshot& target,
                            const RestorePreparation& prep) {
    std::string text =
        "将" + FileSource(path, target) + "中的配置恢复到主机 " + prep.live.host + "。\n";
    text += LeftOutText(prep);
    text += "\n将改变的设置（主机 → 文件）：\n" + DifferenceReport(prep.changes);
    text += "\n写入以下 " + std::to_string(prep.writes.size()) + " 项：\n" +
            RestorePlanText(prep.writes);
    return text + "\n是否继续？";
}

std::string DifferenceCount(const ComparisonTable& table) {
    if (table.rows.empty()) return kSameConfigText;
    return "共 " + std::to_string(table.rows.size()) + " 项设置不同。";
}

}  // namespace

ComparisonTable BuildComparisonTable(HostWindow& scratch, const ConfigSnapshot& before,
                                     const ConfigSnapshot& after, const std::string& beforeCaption,
                                     const std::string& afterCaption) {
    ComparisonTable table;
    table.columns = {kPageColumn, kSettingColumn, beforeCaption, afterCaption};
    for (const ConfigDifference& d : CompareSnapshots(scratch, before, after))
        table.rows.push_back({d.group, d.caption, d.before, d.after});
    return table;
}

std::string SuggestedBackupName(const std::string& host, const std::string& now) {
    const std::string digits = TimeDigits(now);
    // yyyymmdd and hhnn of "yyyy-mm-dd hh:nn:ss"
    const std::string stamp =
        digits.size() >= 12 ? digits.substr(0, 8) + "-" + digits.substr(8, 4) : digits;
    return (host.empty() ? std::string("host") : host) + "_" + stamp + "." + kSnapshotExtension;
}

ConfigActions::ConfigActions(HostWindow& window, HostWindow& scratch, const LoginDialog& login,
                             CodeKeys& codes)
    : window_(window), scratch_(scratch), login_(login), codes_(codes) {}

namespace {

std::unique_ptr<CodeKeys> UsersCodeKeys() {
    const char* passphrase = std::getenv(kPassphraseVariable);
    return std::make_unique<CodeKeys>(
        passphrase && *passphrase ? std::optional<std::string>(passphrase) : std::nullopt,
        TeamKeyPath());
}

}  // namespace

ConfigActions::ConfigActions(HostWindow& window, HostWindow& scratch, const LoginDialog& login)
    : window_(window),
      scratch_(scratch),
      login_(login),
      ownCodes_(UsersCodeKeys()),
      codes_(*ownCodes_) {}

void ConfigActions::RunFlow(const char* failure, const std::function<void()>& body) {
    DataModule& tdm = window_.tdm;
    FlowScope flow(tdm);
    window_.BusyStep();
    try {
        body();
    } catch (const std::exception& e) {
        window_.HideWaitingPanel();
        tdm.trace.Add(std::string("[") + failure + "]: " + e.what());
        tdm.op.Warning(std::string(failure) + "\r\n" + e.what());
    }
    window_.IdleStep();
    window_.HideWaitingPanel();
    codes_.EndUse();
}

ConfigSnapshot ConfigActions::ReadHost() {
    window_.ShowWaitingPanel("读取主机配置");
    return TakeSnapshot(window_.tdm, SnapshotReads(window_), login_.password, kVersionText);
}

ConfigSnapshot ConfigActions::ReadFile(const std::string& path) {
    try {
        return ReadSnapshotFile(path, &codes_);
    } catch (const WrongPassphraseError&) {
        codes_.Forget();
        throw;
    }
}

namespace {

// A booked host's site learns where its last backup went; a book that cannot
// be written is said in the trace, the backup stands.
void RecordBackupInBook(DataModule& tdm, const std::string& path) {
    try {
        SiteBook(tdm.db).RecordBackup(tdm.session.CurrentHost(), path);
    } catch (const std::exception& e) {
        tdm.trace.Add(kSiteBookUnwritableText + std::string(e.what()));
    }
}

}  // namespace

void ConfigActions::Backup() {
    DataModule& tdm = window_.tdm;
    if (tdm.flowRunning || !chooseBackupPath) return;
    std::string path =
        chooseBackupPath(SuggestedBackupName(tdm.session.CurrentHost(), tdm.clock.NowText()));
    if (path.empty()) return;
    path = WithDefaultExtension(path, kSnapshotExtension);
    RunFlow("备份配置失败", [&] {
        const ConfigSnapshot snapshot = ReadHost();
        const CodeForm form = codes_.DefaultForm();
        WriteSnapshotFile(path, snapshot, form, codes_);
        RecordBackupInBook(tdm, path);
        if (const std::string problem = ArchiveSnapshot(tdm, snapshot, codes_); !problem.empty())
            tdm.trace.Add(problem);
        window_.HideWaitingPanel();
        tdm.op.Information("主机 " + snapshot.host + " 的配置已备份到\r\n" + path + "\r\n" +
                           (form == CodeForm::Sealed ? kSealedBackupText : kRedactedBackupText));
    });
}

void ConfigActions::Compare() {
    DataModule& tdm = window_.tdm;
    if (tdm.flowRunning || !chooseComparePaths) return;
    const std::vector<std::string> paths = chooseComparePaths();
    if (paths.empty()) return;
    if (paths.size() > 2) {
        tdm.op.Warning(kTooManyFilesText);
        return;
    }
    ComparisonTable table;
    bool compared = false;
    RunFlow("比较配置失败", [&] {
        const ConfigSnapshot first = ReadFile(paths[0]);
        if (paths.size() == 2) {
            const ConfigSnapshot second = ReadFile(paths[1]);
            table =
                BuildComparisonTable(scratch_, first, second, kFirstFileColumn, kSecondFileColumn);
            table.summary = FileSource(paths[0], first) + " 与 " + FileSource(paths[1], second);
        } else {
            const ConfigSnapshot live = ReadHost();
            table = BuildComparisonTable(scratch_, first, live, kFileValueColumn, kHostValueColumn);
            table.summary = FileSource(paths[0], first) + " 与 主机 " + live.host;
        }
        table.summary += "\n" + DifferenceCount(table);
        compared = true;
    });
    // Shown once the window is free again: the table is the operator's to read.
    if (!compared) return;
    if (showComparison)
        showComparison(table);
    else
        tdm.op.Information(table.summary);
}

void ConfigActions::Restore() {
    DataModule& tdm = window_.tdm;
    if (tdm.flowRunning || !chooseRestorePath) return;
    // The restore ends by showing the page as the host holds it.
    if (!window_.MayLeavePage()) return;
    const std::string path = chooseRestorePath();
    if (path.empty()) return;
    bool sent = false;
    RunFlow("恢复配置失败", [&] {
        const ConfigSnapshot target = ReadFile(path);
        window_.ShowWaitingPanel("读取主机配置");
        // The window never forces a restore onto a host of another model; a
        // file from another host goes without its local network settings,
        // which the question says.
        const RestorePreparation prep = PrepareRestore(scratch_, target, login_.password,
                                                       {.otherModel = false, .otherHost = true});
        window_.HideWaitingPanel();
        if (prep.writes.empty()) {
            tdm.op.Information(kNothingToRestoreText);
            return;
        }
        if (!tdm.op.Ask(RestoreQuestion(path, target, prep))) return;
        window_.ShowWaitingPanel("恢复配置");
        window_.waiting.Reset(static_cast<int>(prep.writes.size()), 1);
        sent = true;
        // A restored local network moves the host to the file's address,
        // which the scratch pages hold; the window the operator sees follows.
        FollowRestoredAddress follow(tdm.session, HostControlPageOf(scratch_).Controls());
        const RestoreOutcome outcome = ExecuteRestore(
            scratch_, prep.restored, prep.writes, login_.password, [this](const std::string& step) {
                window_.waiting.SetTitle("正在 " + step + " 中，请稍候...");
                window_.waiting.StepIt();
            });
        window_.HideWaitingPanel();
        const std::string report = LeftOutText(prep) + RestoreReport(outcome);
        if (outcome.Succeeded())
            tdm.op.Information(report);
        else
            tdm.op.Warning(report);
    });
    // The page shows what the host holds now.
    if (sent) window_.Refresh();
}

}  // namespace tarnwick

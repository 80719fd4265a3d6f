// restore: each host written back to its snapshot file, only what differs,
// then read again and compared.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>

#include "backup/config_restore.h"
#include "backup/snapshot_file.h"
#include "cli_codes.h"
#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"

namespace tarnwick::cli {
namespace {

nlohmann::ordered_json WriteLabels(const std::vector<RestoreWrite>& writes) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const RestoreWrite& w : writes) list.push_back(w.page + ": " + w.entry.pair);
    return list;
}

// A host's snapshot: the file itself, or <address>.json in a folder. A list
// of hosts takes a folder, so that no two hosts are given one file (and one
// network address).
std::string SnapshotFor(const std::string& source, const std::string& address) {
    if (!std::filesystem::is_directory(source)) return source;
    return (std::filesystem::path(source) / (address + "." + kSnapshotExtension)).string();
}

void Restore(CliHost& host, HostResult& r, const std::string& file, const std::string& code,
             CodeKeys& keys, bool dryRun, bool force) {
    // A wrong passphrase is refused here, before anything is sent.
    const ConfigSnapshot target = ReadSnapshotFile(file, &keys);
    r.file = file;
    host.Select(r.target);
    const RestorePreparation prep =
        PrepareRestore(host.Pages(), target, code, {.otherModel = force, .otherHost = force});
    r.extra["writes"] = WriteLabels(prep.writes);
    r.extra["leftOut"] = prep.leftOut;
    r.extra["codesLeftOut"] = prep.codesLeftOut;
    if (dryRun) {
        r.message = prep.writes.empty()
                        ? std::string(kNothingToRestoreText)
                        : "将写入" + std::to_string(prep.writes.size()) + "项（未发送）";
        r.report = LeftOutText(prep) + (prep.writes.empty() ? "" : RestorePlanText(prep.writes));
        return;
    }
    const RestoreOutcome outcome = ExecuteRestore(host.Pages(), prep.restored, prep.writes, code);
    r.ok = outcome.Succeeded();
    r.report = LeftOutText(prep) + RestoreReport(outcome);
    r.extra["written"] = WriteLabels(outcome.written);
    r.extra["stopReason"] = outcome.stopReason;
    r.extra["remaining"] = outcome.remaining.size();
    if (!outcome.stopReason.empty())
        r.message = "恢复中止 " + outcome.stopReason;
    else if (!outcome.remaining.empty())
        r.message = std::to_string(outcome.remaining.size()) + "处写入后仍不同";
    else
        r.message = "已写入" + std::to_string(outcome.written.size()) + "项，重新读取后一致";
}

}  // namespace

Command AddRestoreCommand(CLI::App& app) {
    struct Options {
        HostOptions hosts;
        std::string source;
        CodeOptions codes;
        bool dryRun = false;
        bool force = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand(
        "restore", "Write each host back to its snapshot, only what differs, and read it again");
    sub->add_option("snapshot", o->source,
                    "Snapshot file (one host), or folder of <address>.json files")
        ->required();
    AddHostOptions(*sub, o->hosts);
    AddCodeOptions(*sub, o->codes, false);
    sub->add_flag("--dry-run", o->dryRun, "List the writes without sending them");
    sub->add_flag("--force", o->force,
                  "Restore to a host of another model, or another host's file without its "
                  "local network settings");
    return {sub, [o] {
                const HostTargets targets = ResolveHosts(o->hosts);
                if (targets.fromFile && !std::filesystem::is_directory(o->source))
                    throw UsageError("restore: --hosts 须与存放 <地址>.json 的文件夹一起使用");
                const std::string code = InstallerCode(o->hosts.code);
                const std::unique_ptr<CodeKeys> keys = MakeCodeKeys(o->codes);
                const auto results =
                    ForEachHost(targets.hosts, o->hosts, [&](CliHost& host, HostResult& r) {
                        Restore(host, r, SnapshotFor(o->source, r.address), code, *keys, o->dryRun,
                                o->force);
                    });
                return PrintResults("restore", results, targets.skipped, o->hosts.json);
            }};
}

}  // namespace tarnwick::cli

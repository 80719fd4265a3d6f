// diff: two snapshot files, or one file and each host's live configuration.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "backup/config_compare.h"
#include "backup/snapshot_file.h"
#include "cli_codes.h"
#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"

namespace tarnwick::cli {
namespace {

nlohmann::ordered_json DifferencesJson(const std::vector<ConfigDifference>& differences) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ConfigDifference& d : differences)
        list.push_back({{"group", d.group},
                        {"caption", d.caption},
                        {"key", d.key},
                        {"before", d.before},
                        {"after", d.after},
                        {"code", d.secret}});
    return list;
}

int CompareFiles(const std::string& first, const std::string& second, CodeKeys& keys, bool json) {
    CliHost pages;
    const auto differences = CompareSnapshots(pages.Pages(), ReadSnapshotFile(first, &keys),
                                              ReadSnapshotFile(second, &keys));
    const std::string report = DifferenceReport(differences);
    if (json) {
        nlohmann::ordered_json doc;
        doc["command"] = "diff";
        doc["ok"] = true;
        doc["same"] = differences.empty();
        doc["differences"] = DifferencesJson(differences);
        doc["report"] = report;
        PrintJson(doc);
    } else {
        std::cout << report << std::flush;
    }
    return kExitOk;
}

}  // namespace

Command AddDiffCommand(CLI::App& app) {
    struct Options {
        HostOptions hosts;
        CodeOptions codes;
        std::vector<std::string> files;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand(
        "diff", "Compare two snapshot files, or one with each live host of --host or --hosts");
    sub->add_option("files", o->files, "Snapshot files (one or two)")->required()->expected(1, 2);
    AddHostOptions(*sub, o->hosts);
    AddCodeOptions(*sub, o->codes, false);
    return {sub, [o] {
                const std::unique_ptr<CodeKeys> keys = MakeCodeKeys(o->codes);
                const bool live =
                    !o->hosts.host.empty() || !o->hosts.hostsFile.empty() || !o->hosts.site.empty();
                if (o->files.size() == 2) {
                    if (live) throw UsageError("diff: 两个文件时不能再指定主机");
                    return CompareFiles(o->files[0], o->files[1], *keys, o->hosts.json);
                }
                if (!live)
                    throw UsageError("diff: 一个文件时须以 --host、--hosts 或 --site 指定主机");
                const ConfigSnapshot before = ReadSnapshotFile(o->files[0], keys.get());
                const HostTargets targets = ResolveHosts(o->hosts);
                const std::string code = InstallerCode(o->hosts.code);
                const auto results =
                    ForEachHost(targets.hosts, o->hosts, [&](CliHost& host, HostResult& r) {
                        const auto differences =
                            CompareSnapshots(host.Pages(), before, host.Backup(r.target, code));
                        r.message = differences.empty()
                                        ? std::string(kSameConfigText)
                                        : std::to_string(differences.size()) + "处不同";
                        if (!differences.empty()) r.report = DifferenceReport(differences);
                        r.extra["same"] = differences.empty();
                        r.extra["differences"] = DifferencesJson(differences);
                    });
                return PrintResults("diff", results, targets.skipped, o->hosts.json);
            }};
}

}  // namespace tarnwick::cli

// backup: each host's whole configuration into a snapshot file.
#include <CLI/CLI.hpp>
#include <memory>

#include "backup/snapshot_file.h"
#include "cli_codes.h"
#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "output_files.h"

namespace tarnwick::cli {

Command AddBackupCommand(CLI::App& app) {
    struct Options {
        HostOptions hosts;
        CodeOptions codes;
        std::string out;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand("backup", "Read each host's configuration into a file");
    AddHostOptions(*sub, o->hosts);
    sub->add_option("-o,--out", o->out,
                    "Snapshot file (one host), or folder of <address>.json files")
        ->required();
    AddCodeOptions(*sub, o->codes, true);
    return {sub, [o] {
                const HostTargets targets = ResolveHosts(o->hosts);
                const std::string code = InstallerCode(o->hosts.code);
                const std::unique_ptr<CodeKeys> keys = MakeCodeKeys(o->codes);
                const CodeForm form = FileCodeForm(o->codes, *keys);
                const auto results =
                    ForEachHost(targets.hosts, o->hosts, [&](CliHost& host, HostResult& r) {
                        const std::string file =
                            OutputFileFor(o->out, r.address, kSnapshotExtension, targets.fromFile);
                        const ConfigSnapshot snapshot = host.Backup(r.target, code);
                        WriteSnapshotFile(file, snapshot, form, *keys);
                        r.file = file;
                        r.message = host.RecordBackup(r.address, file);
                        if (const std::string archived = host.ArchiveBackup(snapshot, *keys);
                            !archived.empty())
                            r.message += (r.message.empty() ? "" : "；") + archived;
                        r.extra["model"] = snapshot.model;
                        r.extra["codes"] = CodeFormName(form);
                    });
                return PrintResults("backup", results, targets.skipped, o->hosts.json);
            }};
}

}  // namespace tarnwick::cli

// time-sync: each host's clock set to this computer's, as the host control
// page's button does.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"

namespace tarnwick::cli {

Command AddTimeSyncCommand(CLI::App& app) {
    auto o = std::make_shared<HostOptions>();
    CLI::App* sub =
        app.add_subcommand("time-sync", "Set each host's clock to this computer's time");
    AddHostOptions(*sub, *o);
    return {sub, [o] {
                const HostTargets targets = ResolveHosts(*o);
                const std::string code = InstallerCode(o->code);
                const auto results =
                    ForEachHost(targets.hosts, *o, [&](CliHost& host, HostResult& r) {
                        r.message = host.TimeSync(r.target, code);
                    });
                return PrintResults("time-sync", results, targets.skipped, o->json);
            }};
}

}  // namespace tarnwick::cli

// tarnwick-cli: alarm hosts from the command line, one host or a list of
// them. It broadcasts and talks on the host port like the window does, on
// whatever network the window would.
#include <CLI/CLI.hpp>
#include <iostream>
#include <vector>

#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "version.h"

int main(int argc, char** argv) {
    using namespace tarnwick::cli;
    CLI::App app{"Tarnwick: alarm hosts from the command line"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("tarnwick-cli ") + tarnwick::kVersionNumber);
    const std::vector<Command> commands = {
        AddSearchCommand(app), AddBackupCommand(app),  AddRestoreCommand(app),
        AddDiffCommand(app),   AddHistoryCommand(app), AddTimeSyncCommand(app),
        AddSitesCommand(app),  AddDbCommand(app),      AddStatusCommand(app),
        AddSealCommand(app),
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? kExitOk : kExitUsage;
    }
    try {
        for (const Command& c : commands)
            if (c.parser->parsed()) return c.run();
    } catch (const UsageError& e) {
        std::cerr << e.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return kExitFailed;
    }
    return kExitUsage;
}

#pragma once
#include <functional>

namespace CLI {
class App;
}

namespace tarnwick::cli {

// A subcommand of tarnwick-cli: its parser and what runs when it was given,
// returning the exit status. Run may throw UsageError.
struct Command {
    CLI::App* parser;
    std::function<int()> run;
};

Command AddSearchCommand(CLI::App& app);
Command AddBackupCommand(CLI::App& app);
Command AddDiffCommand(CLI::App& app);
Command AddRestoreCommand(CLI::App& app);
Command AddHistoryCommand(CLI::App& app);
Command AddTimeSyncCommand(CLI::App& app);
Command AddSitesCommand(CLI::App& app);
Command AddDbCommand(CLI::App& app);
Command AddStatusCommand(CLI::App& app);
Command AddSealCommand(CLI::App& app);

}  // namespace tarnwick::cli

#include "cli_database.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>

#include "host_options.h"
#include "storage/outbox_database.h"

namespace tarnwick::cli {
namespace {

// Several hosts' threads open the database; the operator reads the news once.
void SayOnce(const std::string& text) {
    static std::once_flag said;
    std::call_once(said, [&text] { std::cerr << text << std::endl; });
}

std::string Absolute(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value == '/' ? value : "";
}

}  // namespace

std::string CliOutboxPath() {
    if (const char* outbox = std::getenv("TARNWICK_OUTBOX"); outbox && *outbox) return outbox;
    std::filesystem::path folder;
    if (const std::string data = Absolute("XDG_DATA_HOME"); !data.empty())
        folder = data;
    else if (const std::string home = Absolute("HOME"); !home.empty())
        folder = std::filesystem::path(home) / ".local/share";
    else
        return "outbox.mdb";
    return (folder / "tarnwick" / "outbox.mdb").string();
}

std::unique_ptr<DatabasePort> OpenCliDatabase(const std::string& location) {
    OpenedDatabase opened = OpenDatabase(location);
    if (!opened.problem.empty()) throw UsageError(opened.problem);
    if (!opened.schemaProblem.empty()) throw UsageError(opened.schemaProblem);
    return std::move(opened.db);
}

OpenedDatabase OpenCliDatabaseWithOutbox(const std::string& location) {
    OpenedDatabase opened = OpenDatabase(location, CliOutboxPath());
    if (!opened.outbox) {
        if (!opened.problem.empty()) throw UsageError(opened.problem);
        if (!opened.schemaProblem.empty()) throw UsageError(opened.schemaProblem);
        return opened;
    }
    if (!opened.problem.empty()) SayOnce(opened.problem);
    opened.outbox->SetNotifier(SayOnce);
    return opened;
}

}  // namespace tarnwick::cli

#include "cli_database.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>

#include "host_options.h"
#include "storage/outbox_database.h"

namespace tarnwick::cli {
namespace {

std::string Absolute(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value == '/' ? value : "";
}

}  // namespace

void SayOnce(const std::string& text) {
    static std::mutex mutex;
    static std::set<std::string> said;
    std::lock_guard lock(mutex);
    if (said.insert(text).second) std::cerr << text << std::endl;
}

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

void TellRefusals(const std::string& location) {
    const std::string path = CliOutboxPath();
    if (!IsPostgresUrl(location) || !std::filesystem::exists(path)) return;
    try {
        OutboxFile outbox(path);
        const std::string server = PostgresServerName(location);
        const std::vector<OutboxEntry> refused = outbox.TakeUntoldRefusals(server);
        if (!refused.empty()) SayOnce(OutboxRefusalText(server, refused, path));
    } catch (const DatabaseError& e) {
        SayOnce("本机暂存文件 " + path + " 无法读取：" + e.what());
    }
}

std::unique_ptr<DatabasePort> OpenCliDatabase(const std::string& location) {
    TellRefusals(location);
    OpenedDatabase opened = OpenDatabase(location);
    if (!opened.problem.empty()) throw UsageError(opened.problem);
    if (!opened.schemaProblem.empty()) throw UsageError(opened.schemaProblem);
    return std::move(opened.db);
}

OpenedDatabase OpenCliDatabaseWithOutbox(const std::string& location) {
    OpenedDatabase opened = OpenDatabase(location, CliOutboxPath());
    if (!opened.outboxProblem.empty()) SayOnce(opened.outboxProblem);
    if (!opened.outbox) {
        if (!opened.problem.empty()) throw UsageError(opened.problem);
        if (!opened.schemaProblem.empty()) throw UsageError(opened.schemaProblem);
        return opened;
    }
    // The server with the cause and the notice, each once: the cause may
    // have been said already (a host list's site names).
    if (!opened.problem.empty()) {
        SayOnce(opened.outbox->Problem());
        SayOnce(kOutboxNotice);
    }
    opened.outbox->SetNotifier(SayOnce);
    return opened;
}

}  // namespace tarnwick::cli

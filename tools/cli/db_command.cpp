// db migrate: a laptop's db.mdb copied into the team database.
// db outbox: the writes that wait on this computer, per team database.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_codes.h"
#include "cli_database.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "storage/database_copy.h"
#include "storage/outbox_file.h"
#include "storage/postgres_database.h"

namespace tarnwick::cli {
namespace {

nlohmann::ordered_json CountsJson(const CopyCounts& c) {
    return {{"operationLog", c.operationLog},
            {"sites", c.sites},
            {"backups", c.backups},
            {"alarmRecords", c.alarmRecords}};
}

std::string CountsText(const CopyCounts& c) {
    return "操作日志 " + std::to_string(c.operationLog) + " 条，站点 " + std::to_string(c.sites) +
           " 个，备份 " + std::to_string(c.backups) + " 份，警情记录 " +
           std::to_string(c.alarmRecords) + " 条";
}

int Migrate(const std::string& fromLocation, const std::string& toLocation, CodeKeys& keys,
            bool json) {
    if (fromLocation == toLocation) throw UsageError("db migrate: --from 与 --to 是同一个数据库");
    std::unique_ptr<DatabasePort> from;
    try {
        from = OpenCopySource(fromLocation);
    } catch (const DatabaseError& e) {
        throw UsageError("db migrate: " + MaskedLocation(fromLocation) + " 无法读取：" + e.what());
    }
    const auto to = OpenCliDatabase(toLocation);
    CopyReport report;
    try {
        // A backup an earlier version kept with its codes in clear is sealed
        // or redacted as it is copied.
        report = CopyDatabase(*from, *to, [&keys](const std::string& snapshot) {
            return ProtectStoredText(snapshot, keys);
        });
    } catch (const DatabaseError& e) {
        std::cerr << "db migrate: 复制中断：" << e.what() << std::endl;
        return kExitFailed;
    }
    if (json) {
        PrintJson({{"command", "db migrate"},
                   {"ok", true},
                   {"copied", CountsJson(report.copied)},
                   {"present", CountsJson(report.present)}});
        return kExitOk;
    }
    std::cout << "已复制：" << CountsText(report.copied) << std::endl
              << "目标中已有：" << CountsText(report.present) << std::endl;
    return kExitOk;
}

// The writes of the outbox, grouped by the database they wait for.
int ListOutbox(const std::string& location, bool json) {
    const std::string path = CliOutboxPath();
    std::vector<OutboxEntry> entries;
    if (std::filesystem::exists(path)) entries = OutboxFile(path).All();
    const std::string only = location.empty() ? std::string() : PostgresServerName(location);
    std::map<std::pair<std::string, std::string>, std::vector<const OutboxEntry*>> groups;
    for (const OutboxEntry& e : entries)
        if (only.empty() || e.target.server == only)
            groups[{e.target.server, e.target.id}].push_back(&e);
    nlohmann::ordered_json databases = nlohmann::ordered_json::array();
    for (const auto& [target, list] : groups) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        size_t waiting = 0;
        std::cout << (json ? ""
                           : "团队数据库 " + target.first +
                                 (target.second.empty() ? "" : "（标识 " + target.second + "）") +
                                 "：\n");
        for (const OutboxEntry* e : list) {
            waiting += e->refused.empty();
            const std::string state = e->refused.empty() ? "等待发送" : "被拒绝：" + e->refused;
            if (!json)
                std::cout << "  " << e->queuedAt << "  " << OutboxEntryText(*e) << "  " << state
                          << "\n";
            rows.push_back({{"queuedAt", e->queuedAt},
                            {"what", OutboxEntryText(*e)},
                            {"refused", e->refused.empty() ? nlohmann::ordered_json()
                                                           : nlohmann::ordered_json(e->refused)}});
        }
        databases.push_back({{"server", target.first},
                             {"identity", target.second},
                             {"waiting", waiting},
                             {"refused", list.size() - waiting},
                             {"rows", rows}});
    }
    if (json) {
        PrintJson({{"command", "db outbox"}, {"outbox", path}, {"databases", databases}});
    } else if (groups.empty()) {
        std::cout << "本机暂存文件 " << path << " 中没有"
                  << (only.empty() ? "" : "团队数据库 " + only + " 的") << "记录" << std::endl;
    }
    return kExitOk;
}

}  // namespace

Command AddDbCommand(CLI::App& app) {
    struct Options {
        std::string from;
        std::string to;
        std::string database;
        CodeOptions codes;
        bool json = false;
        bool outbox = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand("db", "The database itself");
    sub->require_subcommand(1);
    CLI::App* migrate = sub->add_subcommand(
        "migrate", "Copy the operation log, sites and archives of one database into another");
    migrate->add_option("--from", o->from, "db.mdb (or address) copied from; never written to")
        ->required();
    migrate->add_option("--to", o->to, "postgresql:// address (or db.mdb) copied into")->required();
    migrate->add_flag("--json", o->json, "One JSON document on standard output");
    AddCodeOptions(*migrate, o->codes, false);
    CLI::App* outbox = sub->add_subcommand(
        "outbox", "List the writes waiting on this computer and those refused, per team database");
    outbox->add_option("--database", o->database, "Only those for this postgresql:// address");
    outbox->add_flag("--json", o->json, "One JSON document on standard output");
    outbox->callback([o] { o->outbox = true; });
    return {sub, [o] {
                try {
                    return o->outbox ? ListOutbox(o->database, o->json)
                                     : Migrate(o->from, o->to, *MakeCodeKeys(o->codes), o->json);
                } catch (const DatabaseError& e) {
                    throw UsageError(e.what());
                }
            }};
}

}  // namespace tarnwick::cli

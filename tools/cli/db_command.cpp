// db migrate: a laptop's db.mdb copied into the team database once.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_database.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "storage/database_copy.h"

namespace tarnwick::cli {

Command AddDbCommand(CLI::App& app) {
    struct Options {
        std::string from;
        std::string to;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand("db", "The database itself");
    sub->require_subcommand(1);
    CLI::App* migrate = sub->add_subcommand(
        "migrate", "Copy the operation log, sites and archives of one database into another");
    migrate->add_option("--from", o->from, "db.mdb (or address) copied from")->required();
    migrate->add_option("--to", o->to, "postgresql:// address (or db.mdb) copied into")->required();
    migrate->add_flag("--json", o->json, "One JSON document on standard output");
    return {sub, [o] {
                if (o->from == o->to) throw UsageError("db migrate: --from 与 --to 是同一个数据库");
                const auto from = OpenCliDatabase(o->from);
                const auto to = OpenCliDatabase(o->to);
                CopyCounts counts;
                try {
                    counts = CopyDatabase(*from, *to);
                } catch (const DatabaseError& e) {
                    std::cerr << "db migrate: 复制中断：" << e.what() << std::endl;
                    return kExitFailed;
                }
                if (o->json) {
                    std::cout << nlohmann::json{{"command", "db migrate"},
                                                {"ok", true},
                                                {"operationLog", counts.operationLog},
                                                {"sites", counts.sites},
                                                {"backups", counts.backups},
                                                {"alarmRecords", counts.alarmRecords}}
                                     .dump(2)
                              << std::endl;
                    return kExitOk;
                }
                std::cout << "已复制：操作日志 " << counts.operationLog << " 条，站点 "
                          << counts.sites << " 个，备份 " << counts.backups << " 份，警情记录 "
                          << counts.alarmRecords << " 条" << std::endl;
                return kExitOk;
            }};
}

}  // namespace tarnwick::cli

#include "storage/database_opening.h"

#include "storage/database_startup.h"
#include "storage/outbox_database.h"
#include "storage/postgres_database.h"
#include "storage/sqlite_database.h"

namespace tarnwick {

OpenedDatabase OpenDatabase(const std::string& location, const std::string& outboxPath) {
    OpenedDatabase opened;
    if (!IsPostgresUrl(location)) {
        const DatabaseStartup startup = PrepareDatabase(location);
        opened.created = startup.created;
        opened.problem = startup.problem;
        opened.schemaProblem = startup.schemaProblem;
        opened.db = std::make_unique<SqliteDatabase>(location);
        return opened;
    }
    auto server = std::make_unique<PostgresDatabase>(location);
    if (outboxPath.empty()) {
        try {
            PreparePostgres(*server);
        } catch (const DatabaseError& e) {
            opened.problem = IsConnectionLost(e)
                                 ? std::string(e.what())
                                 : "团队数据库 " + server->Server() + " 无法使用：" + e.what();
            opened.detail = e.Detail();
        }
        opened.db = std::move(server);
        return opened;
    }
    std::unique_ptr<OutboxDatabase> outbox;
    try {
        outbox = std::make_unique<OutboxDatabase>(std::move(server), outboxPath);
    } catch (const DatabaseError& e) {
        // Without a local outbox the server is used alone.
        OpenedDatabase alone = OpenDatabase(location);
        alone.outboxProblem = "本机暂存文件 " + outboxPath + " 无法使用：" + e.what();
        return alone;
    }
    if (!outbox->TryServer()) {
        opened.problem = OutboxNoticeText(outbox->Problem());
        opened.detail = outbox->Detail();
        outbox->MarkNoticeGiven();
    }
    opened.outbox = outbox.get();
    opened.db = std::move(outbox);
    return opened;
}

}  // namespace tarnwick

#include "storage/outbox_database.h"

#include <nlohmann/json.hpp>
#include <random>

#include "storage/database_startup.h"
#include "storage/schema_migrations.h"

namespace tarnwick {
namespace {

constexpr const char* kCreateOutbox =
    "CREATE TABLE IF NOT EXISTS Outbox ("
    "Seq INTEGER PRIMARY KEY AUTOINCREMENT, "
    "Statements TEXT NOT NULL, "
    "Refused TEXT NOT NULL DEFAULT '')";
constexpr const char* kOutboxTable = "Outbox";

std::string Encode(const std::vector<DbStatement>& statements) {
    nlohmann::json list = nlohmann::json::array();
    for (const DbStatement& s : statements) list.push_back({{"sql", s.sql}, {"params", s.params}});
    return list.dump();
}

std::vector<DbStatement> Decode(const std::string& text) {
    std::vector<DbStatement> statements;
    for (const auto& s : nlohmann::json::parse(text))
        statements.push_back({s.at("sql").get<std::string>(), s.at("params").get<DbParams>()});
    return statements;
}

std::string RandomIdentity() {
    std::random_device random;
    std::string id;
    static const char* const kDigits = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) id += kDigits[random() % 16];
    return id;
}

}  // namespace

void PreparePostgres(PostgresDatabase& db) {
    db.RunScriptUnless("OperationLog", ForDialect(DatabaseSeedSql(), SqlDialect::Postgres));
    MigrateSchema(db);
}

std::string DatabaseIdentityOf(DatabasePort& db) {
    const auto first = [&db] {
        const auto rows = db.Select("SELECT min(Id) AS Id FROM DatabaseIdentity");
        return rows.empty() ? std::string() : DbColumn(rows.front(), "Id");
    };
    if (std::string id = first(); !id.empty()) return id;
    db.Execute("INSERT INTO DatabaseIdentity (Id) VALUES (:Id)", {{"Id", RandomIdentity()}});
    // Two copies asking at once both take the smaller name.
    return first();
}

OutboxDatabase::OutboxDatabase(std::unique_ptr<PostgresDatabase> server, std::string outboxPath,
                               std::chrono::milliseconds retryAfter)
    : server_(std::move(server)), outbox_(outboxPath), retryAfter_(retryAfter) {
    const DatabaseStartup local = PrepareDatabase(outboxPath);
    if (!local.problem.empty()) throw DatabaseError(local.problem);
    if (!local.schemaProblem.empty()) throw DatabaseError(local.schemaProblem);
    outbox_.Execute(kCreateOutbox, {});
    outboxId_ = DatabaseIdentityOf(outbox_);
}

void OutboxDatabase::SetNotifier(std::function<void(const std::string&)> notify) {
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
}

void OutboxDatabase::MarkNoticeGiven() {
    std::lock_guard lock(mutex_);
    noticed_ = true;
}

std::string OutboxDatabase::Problem() {
    std::lock_guard lock(mutex_);
    return problem_;
}

size_t OutboxDatabase::Waiting() {
    std::lock_guard lock(mutex_);
    return outbox_.Select("SELECT Seq FROM Outbox WHERE Refused = ''").size();
}

void OutboxDatabase::MarkAway(const std::string& cause) {
    prepared_ = false;
    problem_ = cause;
    retryAt_ = std::chrono::steady_clock::now() + retryAfter_;
}

bool OutboxDatabase::Ready() {
    if (prepared_) return true;
    if (blocked_ || std::chrono::steady_clock::now() < retryAt_) return false;
    try {
        PreparePostgres(*server_);
    } catch (const DatabaseUnreachable& e) {
        MarkAway(e.what());
        return false;
    } catch (const DatabaseError& e) {
        // A newer schema, or tables the server will not let the tool make:
        // asking again will not help in this run.
        blocked_ = true;
        problem_ = "团队数据库 " + server_->Server() + " 无法使用：" + e.what();
        return false;
    }
    prepared_ = true;
    problem_.clear();
    return true;
}

bool OutboxDatabase::TryServer() {
    std::lock_guard lock(mutex_);
    retryAt_ = {};
    return Ready() && Flush();
}

// Sends what waits, oldest first. Each entry goes in one transaction with
// the row that marks it sent, so an entry whose answer was lost on the way
// is not sent twice. One the server refuses (not for being away) stays in
// the outbox, marked with the reason, and the rest go on.
bool OutboxDatabase::Flush() {
    for (;;) {
        const auto rows = outbox_.Select(
            "SELECT Seq, Statements FROM Outbox WHERE Refused = '' ORDER BY Seq LIMIT 1");
        if (rows.empty()) return true;
        const std::string seq = DbColumn(rows.front(), "Seq");
        const DbStatement marker{
            "INSERT INTO CopiedRow (Source, TableName, SourceId) VALUES (:Source, :Table, :Seq)",
            {{"Source", outboxId_}, {"Table", kOutboxTable}, {"Seq", seq}}};
        const auto sent = [&] {
            return !server_
                        ->SelectWith(
                            "SELECT 1 AS Sent FROM CopiedRow WHERE Source = :Source AND "
                            "TableName = :Table AND SourceId = :Seq",
                            marker.params)
                        .empty();
        };
        try {
            if (!sent()) {
                std::vector<DbStatement> statements{marker};
                for (DbStatement& s : Decode(DbColumn(rows.front(), "Statements")))
                    statements.push_back(std::move(s));
                server_->ExecuteAll(statements);
            }
            outbox_.Execute("DELETE FROM Outbox WHERE Seq = :Seq", {{"Seq", seq}});
        } catch (const DatabaseUnreachable& e) {
            MarkAway(e.what());
            return false;
        } catch (const std::exception& e) {
            if (sent()) {
                outbox_.Execute("DELETE FROM Outbox WHERE Seq = :Seq", {{"Seq", seq}});
            } else {
                outbox_.Execute("UPDATE Outbox SET Refused = :Why WHERE Seq = :Seq",
                                {{"Why", e.what()[0] ? e.what() : "refused"}, {"Seq", seq}});
            }
        }
    }
}

void OutboxDatabase::Queue(const std::vector<DbStatement>& statements) {
    outbox_.Execute("INSERT INTO Outbox (Statements) VALUES (:Statements)",
                    {{"Statements", Encode(statements)}});
    if (noticed_) return;
    noticed_ = true;
    if (notify_) notify_(kOutboxNotice);
}

std::vector<DbRow> OutboxDatabase::Select(const std::string& sql) {
    return SelectWith(sql, {});
}

std::vector<DbRow> OutboxDatabase::SelectWith(const std::string& sql, const DbParams& params) {
    std::lock_guard lock(mutex_);
    if (Ready()) {
        try {
            return server_->SelectWith(sql, params);
        } catch (const DatabaseUnreachable& e) {
            MarkAway(e.what());
        }
    }
    return outbox_.SelectWith(sql, params);
}

void OutboxDatabase::Execute(const std::string& sql, const DbParams& params) {
    ExecuteAll({{sql, params}});
}

void OutboxDatabase::ExecuteAll(const std::vector<DbStatement>& statements) {
    std::lock_guard lock(mutex_);
    if (Ready() && Flush()) {
        try {
            server_->ExecuteAll(statements);
            return;
        } catch (const DatabaseUnreachable& e) {
            MarkAway(e.what());
        }
    }
    Queue(statements);
}

}  // namespace tarnwick

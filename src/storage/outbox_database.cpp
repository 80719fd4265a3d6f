#include "storage/outbox_database.h"

#include <algorithm>
#include <map>

#include "protocol/text_helpers.h"
#include "storage/schema_migrations.h"

namespace tarnwick {
namespace {

constexpr const char* kMarkerTable = "Outbox";
// The tables the outbox's own file serves while the server is away.
constexpr const char* kLocalTables[] = {"ALARMTYPECODE", "OPERATECODE"};

// True when every table `sql` reads (the words after FROM and JOIN) is one
// of the seed's code tables.
bool ReadsOnlyCodeTables(const std::string& sql) {
    const std::string upper = ToUpper(sql);
    bool any = false;
    for (const char* word : {" FROM ", " JOIN "}) {
        for (size_t at = upper.find(word); at != std::string::npos; at = upper.find(word, at + 1)) {
            size_t start = at + std::string(word).size(), end = start;
            while (end < upper.size() &&
                   (std::isalnum(static_cast<unsigned char>(upper[end])) || upper[end] == '_'))
                ++end;
            const std::string table = upper.substr(start, end - start);
            if (std::find(std::begin(kLocalTables), std::end(kLocalTables), table) ==
                std::end(kLocalTables))
                return false;
            any = true;
        }
    }
    return any;
}

}  // namespace

std::string OutboxNoticeText(const std::string& problem) {
    return problem + "。" + kOutboxNotice;
}

std::string OutboxWaitingText(const std::string& server, size_t waiting) {
    if (waiting == 0) return {};
    return "团队数据库 " + server + "：" + std::to_string(waiting) + " 项记录暂存本机，等待发送";
}

void PreparePostgres(PostgresDatabase& db) {
    db.RunScriptUnless("OperationLog", ForDialect(DatabaseSeedSql(), SqlDialect::Postgres));
    MigrateSchema(db);
}

OutboxDatabase::OutboxDatabase(std::unique_ptr<PostgresDatabase> server, std::string outboxPath,
                               std::chrono::milliseconds retryAfter)
    : server_(std::move(server)), outbox_(outboxPath), retryAfter_(retryAfter) {
    target_.server = server_->Server();
    target_.id = outbox_.KnownId(target_.server);
}

void OutboxDatabase::SetNotifier(std::function<void(const std::string&)> notify) {
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
    Tell();
}

void OutboxDatabase::MarkNoticeGiven() {
    std::lock_guard lock(mutex_);
    noticed_ = true;
    noticeDue_ = false;
}

void OutboxDatabase::SetTrace(std::function<void(const std::string&)> trace) {
    std::lock_guard lock(mutex_);
    trace_ = std::move(trace);
}

void OutboxDatabase::Trace(const std::string& line) {
    detail_ = line;
    if (trace_) trace_("团队数据库 " + target_.server + "：" + line);
}

std::string OutboxDatabase::Problem() {
    std::lock_guard lock(mutex_);
    return problem_;
}

std::string OutboxDatabase::Detail() {
    std::lock_guard lock(mutex_);
    return detail_;
}

size_t OutboxDatabase::Waiting() {
    std::lock_guard lock(mutex_);
    return outbox_.Waiting(target_);
}

// Each news once, when there is someone to tell.
void OutboxDatabase::Tell() {
    if (!notify_) return;
    if (noticeDue_) {
        noticeDue_ = false;
        notify_(OutboxNoticeText(problem_));
    }
    const std::vector<OutboxEntry> refused = outbox_.TakeUntoldRefusals(target_.server);
    if (!refused.empty()) notify_(OutboxRefusalText(target_.server, refused, outbox_.Path()));
    // Once the server's identity is known.
    if (othersNamed_ || !prepared_) return;
    std::map<std::string, size_t> others;
    for (const OutboxEntry& e : outbox_.All())
        if (e.refused.empty() && !(e.target.server == target_.server &&
                                   (e.target.id.empty() || e.target.id == target_.id)))
            ++others[e.target.server +
                     (e.target.server == target_.server ? "（另一个数据库）" : "")];
    othersNamed_ = true;
    for (const auto& [server, n] : others)
        notify_("本机暂存的 " + std::to_string(n) + " 项记录属于团队数据库 " + server +
                "，不会发送到 " + target_.server + "，仍保留在本机暂存文件 " + outbox_.Path() +
                " 中。");
}

void OutboxDatabase::MarkAway(const DatabaseError& e) {
    prepared_ = false;
    problem_ = e.what();
    retryAt_ = std::chrono::steady_clock::now() + retryAfter_;
    Trace(e.Detail());
}

bool OutboxDatabase::Ready() {
    if (prepared_) return true;
    if (blocked_ || std::chrono::steady_clock::now() < retryAt_) return false;
    try {
        PreparePostgres(*server_);
        const std::string id = DatabaseIdentityOf(*server_);
        if (id != target_.id) outbox_.RememberId({target_.server, id});
        target_.id = id;
    } catch (const DatabaseError& e) {
        if (IsConnectionLost(e)) {
            MarkAway(e);
            return false;
        }
        // A newer schema, or tables the server will not let the tool make:
        // asking again will not help in this run.
        blocked_ = true;
        problem_ = "团队数据库 " + server_->Server() + " 无法使用：" + e.what();
        Trace(e.Detail());
        return false;
    }
    prepared_ = true;
    problem_.clear();
    return true;
}

bool OutboxDatabase::TryServer() {
    std::lock_guard lock(mutex_);
    retryAt_ = {};
    const bool ready = Ready() && Flush();
    Tell();
    return ready;
}

bool OutboxDatabase::SendWaiting() {
    std::lock_guard lock(mutex_);
    if (outbox_.Waiting(target_) == 0) return true;
    return TryServer() && outbox_.Waiting(target_) == 0;
}

DbStatement OutboxDatabase::Marker(const std::string& key) const {
    return {"INSERT INTO CopiedRow (Source, TableName, SourceId) VALUES (:Source, :Table, :Key)",
            {{"Source", outbox_.Identity()}, {"Table", kMarkerTable}, {"Key", key}}};
}

// Sends one waiting write with the row that marks it sent, in one
// transaction. A write whose mark the server holds already went before
// (its answer was lost) and is not sent again. One the server refuses stays,
// marked with the reason. False when the server went away or cannot take
// writes for now.
bool OutboxDatabase::SendEntry(const OutboxEntry& entry) {
    const DbStatement marker = Marker(entry.key);
    std::vector<DbStatement> statements{marker};
    statements.insert(statements.end(), entry.statements.begin(), entry.statements.end());
    try {
        server_->ExecuteAll(statements);
    } catch (const DatabaseError& e) {
        // Busy or read-only for now (a lock, a server in recovery): it waits
        // for the next round like a server away.
        if (IsConnectionLost(e) || e.Code() == DbErrorCode::Busy ||
            e.Code() == DbErrorCode::ReadOnly) {
            MarkAway(e);
            return false;
        }
        const bool sentBefore =
            e.Code() == DbErrorCode::UniqueViolation &&
            !server_
                 ->SelectWith(
                     "SELECT 1 AS Sent FROM CopiedRow WHERE Source = :Source AND "
                     "TableName = :Table AND SourceId = :Key",
                     marker.params)
                 .empty();
        if (!sentBefore) {
            outbox_.Refuse(entry.seq, e.what());
            Trace(e.Detail());
            return true;
        }
    }
    outbox_.Remove(entry.seq);
    return true;
}

// Sends what waits for this database, oldest first.
bool OutboxDatabase::Flush() {
    try {
        for (;;) {
            const std::vector<OutboxEntry> next = outbox_.Next(target_);
            if (next.empty()) return true;
            if (!SendEntry(next.front())) return false;
        }
    } catch (const DatabaseError& e) {
        // The check of a refused write's mark found the server gone.
        if (!IsConnectionLost(e)) throw;
        MarkAway(e);
        return false;
    }
}

void OutboxDatabase::Queue(const std::string& key, const std::vector<DbStatement>& statements) {
    outbox_.Add(key, target_, SystemClock().NowText(), statements);
    if (noticed_) return;
    noticed_ = true;
    noticeDue_ = true;
    Tell();
}

std::vector<DbRow> OutboxDatabase::Select(const std::string& sql) {
    return SelectWith(sql, {});
}

std::vector<DbRow> OutboxDatabase::SelectWith(const std::string& sql, const DbParams& params) {
    std::lock_guard lock(mutex_);
    if (Ready()) {
        try {
            return server_->SelectWith(sql, params);
        } catch (const DatabaseError& e) {
            if (!IsConnectionLost(e)) throw;
            MarkAway(e);
        }
    }
    if (ReadsOnlyCodeTables(sql)) return outbox_.Local().SelectWith(sql, params);
    // What the server holds is not on this computer: no answer is better
    // than an empty one.
    throw DatabaseError(problem_, blocked_ ? DbErrorCode::Other : DbErrorCode::ConnectionLost);
}

void OutboxDatabase::Execute(const std::string& sql, const DbParams& params) {
    ExecuteAll({{sql, params}});
}

void OutboxDatabase::ExecuteAll(const std::vector<DbStatement>& statements) {
    std::lock_guard lock(mutex_);
    const std::string key = RandomKey();
    if (Ready() && Flush()) {
        std::vector<DbStatement> marked{Marker(key)};
        marked.insert(marked.end(), statements.begin(), statements.end());
        try {
            server_->ExecuteAll(marked);
            Tell();
            return;
        } catch (const DatabaseError& e) {
            if (!IsConnectionLost(e)) throw;
            MarkAway(e);
        }
    }
    Queue(key, statements);
}

}  // namespace tarnwick

#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "storage/outbox_file.h"
#include "storage/postgres_database.h"

namespace tarnwick {

// What the operator is told, once, when rows first wait for the team
// database, after the server and the cause.
inline constexpr const char* kOutboxNotice = "记录暂存本机，服务器恢复后自动发送";
// `problem` (the server and the cause) with kOutboxNotice.
std::string OutboxNoticeText(const std::string& problem);
// The status line while `waiting` writes wait for `server`; empty for none.
std::string OutboxWaitingText(const std::string& server, size_t waiting);

// The team database with a local outbox in front of it. While the server
// cannot be reached (or holds a newer schema than the tool knows), every
// write waits in the outbox, marked with the database it is for; a select
// fails, but for the seed's code tables, which the outbox's own file
// serves. Once the server answers, the writes waiting for that database are
// sent first, in the order they were made, each exactly once (a key the
// server records with each write, also with one sent directly, whose answer
// may be lost after its commit), and then the new one. Writes for another
// database stay and are named; a write the server refuses stays too and is
// told once. A server that was away is asked again after `retryAfter`.
class OutboxDatabase : public DatabasePort {
  public:
    OutboxDatabase(std::unique_ptr<PostgresDatabase> server, std::string outboxPath,
                   std::chrono::milliseconds retryAfter = std::chrono::seconds(30));

    SqlDialect Dialect() const override { return SqlDialect::Postgres; }
    std::vector<DbRow> Select(const std::string& sql) override;
    std::vector<DbRow> SelectWith(const std::string& sql, const DbParams& params) override;
    void Execute(const std::string& sql, const DbParams& params) override;
    void ExecuteAll(const std::vector<DbStatement>& statements) override;

    // Reaches the server now if it can: makes its tables, sends what waits.
    // Returns true when the server is in use; else Problem() says why.
    bool TryServer();
    // While writes wait: the same (the window asks on a timer). True when
    // none waits for this database any more.
    bool SendWaiting();
    // Why the server is not in use, naming it and the cause; empty while it is.
    std::string Problem();
    // The engine's own words of the last failure, for the debug trace.
    std::string Detail();
    // Writes waiting for this database (refused ones are not counted).
    size_t Waiting();
    // Says each news to the operator once: the outbox notice, writes the
    // server refused, writes kept for another database. News that came
    // before it was set is said when it is set, unless MarkNoticeGiven.
    void SetNotifier(std::function<void(const std::string&)> notify);
    void MarkNoticeGiven();
    // The engine's own words of each failure, for the debug trace.
    void SetTrace(std::function<void(const std::string&)> trace);
    const std::string& Server() const { return target_.server; }

  private:
    bool Ready();
    bool Flush();
    bool SendEntry(const OutboxEntry& entry);
    void Queue(const std::string& key, const std::vector<DbStatement>& statements);
    void MarkAway(const DatabaseError& e);
    void Tell();
    void Trace(const std::string& line);
    DbStatement Marker(const std::string& key) const;

    std::unique_ptr<PostgresDatabase> server_;
    OutboxFile outbox_;
    OutboxTarget target_;
    std::chrono::milliseconds retryAfter_;
    std::recursive_mutex mutex_;
    bool prepared_ = false;
    bool blocked_ = false;  // a newer schema: never written this run
    std::chrono::steady_clock::time_point retryAt_{};
    std::string problem_;
    std::string detail_;
    bool noticeDue_ = false;
    bool noticed_ = false;
    bool othersNamed_ = false;
    std::function<void(const std::string&)> notify_;
    std::function<void(const std::string&)> trace_;
};

// Makes a team database ready for the tool: the seed's tables when it has
// none, then the numbered migrations. Throws DatabaseError (ConnectionLost,
// NewerSchema, ...).
void PreparePostgres(PostgresDatabase& db);

}  // namespace tarnwick

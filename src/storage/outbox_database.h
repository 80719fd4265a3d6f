#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "storage/postgres_database.h"
#include "storage/sqlite_database.h"

namespace tarnwick {

// What the window says, once, when rows first wait for the team database.
inline constexpr const char* kOutboxNotice = "团队数据库无法连接，记录暂存本机";

// The team database with a local outbox in front of it. While the server
// cannot be reached (or holds a newer schema than the tool knows), every
// write waits in the outbox, an SQLite file on this computer, and selects
// read that file (the code tables of its seed); once the server answers,
// the waiting writes are sent first, in the order they were made, each
// exactly once, and then the new one. A server that was away is asked again
// after `retryAfter`, so that a write does not wait for a time-out each time.
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
    // Why the server is not in use, naming it; empty while it is.
    std::string Problem();
    // Writes waiting in the outbox (sent or refused ones are not counted).
    size_t Waiting();
    // Called once, with kOutboxNotice, the first time a write is kept in the
    // outbox; never when the notice was given already (MarkNoticeGiven).
    void SetNotifier(std::function<void(const std::string&)> notify);
    void MarkNoticeGiven();

  private:
    bool Ready();
    bool Flush();
    void Queue(const std::vector<DbStatement>& statements);
    void MarkAway(const std::string& cause);

    std::unique_ptr<PostgresDatabase> server_;
    SqliteDatabase outbox_;
    std::string outboxId_;
    std::chrono::milliseconds retryAfter_;
    std::recursive_mutex mutex_;
    bool prepared_ = false;
    bool blocked_ = false;  // a newer schema: never written this run
    std::chrono::steady_clock::time_point retryAt_{};
    std::string problem_;
    bool noticed_ = false;
    std::function<void(const std::string&)> notify_;
};

// Makes a team database ready for the tool: the seed's tables when it has
// none, then the numbered migrations. Throws DatabaseUnreachable, NewerSchema
// or DatabaseError.
void PreparePostgres(PostgresDatabase& db);

// The random name a database gives itself on first asking, so that a copy
// from it can tell its rows from another's.
std::string DatabaseIdentityOf(DatabasePort& db);

}  // namespace tarnwick

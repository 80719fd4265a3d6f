#pragma once
#include <string>
#include <vector>

#include "storage/database_port.h"
#include "storage/sqlite_database.h"

namespace tarnwick {

// The team database a waiting write is for: the server as the operator is
// shown it (host, port, database name) and the database's own identity,
// empty until the tool first reached it.
struct OutboxTarget {
    std::string server;
    std::string id;
    bool operator==(const OutboxTarget&) const = default;
};

// One write kept in the outbox: its statements, in one transaction, and
// the key the server records with it so that it is applied once.
struct OutboxEntry {
    long long seq = 0;
    std::string key;
    OutboxTarget target;
    std::string queuedAt;
    std::string refused;  // why the server refused it; empty while it waits
    std::vector<DbStatement> statements;
};

// The outbox on this computer: an SQLite file (made from the seed, whose
// code tables serve while the server is away) with a table of waiting
// writes, each marked with the database it is for. A write the server
// refused stays, with the reason, until the operator has been told; it is
// never deleted by the tool. Throws DatabaseError.
class OutboxFile {
  public:
    explicit OutboxFile(const std::string& path);

    // The identity of `server` last seen, empty when never.
    std::string KnownId(const std::string& server);
    void RememberId(const OutboxTarget& target);
    void Add(const std::string& key, const OutboxTarget& target, const std::string& queuedAt,
             const std::vector<DbStatement>& statements);
    // The oldest write waiting for `target` (or for its server before its
    // identity was known); none when nothing waits.
    std::vector<OutboxEntry> Next(const OutboxTarget& target);
    void Remove(long long seq);
    void Refuse(long long seq, const std::string& reason);
    // Writes waiting (not refused) for `target`, as Next counts them.
    size_t Waiting(const OutboxTarget& target);
    // Every write kept, oldest first: waiting and refused, for every database.
    std::vector<OutboxEntry> All();
    // The refusals of `server` not yet told, each once: marked told.
    std::vector<OutboxEntry> TakeUntoldRefusals(const std::string& server);
    // The local database (the seed's code tables).
    SqliteDatabase& Local() { return db_; }
    const std::string& Path() const { return db_.Path(); }
    // This outbox's own identity, which its writes' keys carry.
    const std::string& Identity() const { return identity_; }

  private:
    std::vector<OutboxEntry> Entries(const std::string& where, const DbParams& params);
    SqliteDatabase db_;
    std::string identity_;
};

// What a write does, in words, from its statements: "操作日志 1 条", ...
std::string OutboxEntryText(const OutboxEntry& entry);

// The random name a database gives itself on first asking: the outbox tells
// by it one database at an address from another.
std::string DatabaseIdentityOf(DatabasePort& db);

// The report of writes `server` refused, naming each and where they stay.
std::string OutboxRefusalText(const std::string& server, const std::vector<OutboxEntry>& refused,
                              const std::string& outboxPath);

// A random 128-bit name in hex: database identities and write keys.
std::string RandomKey();

}  // namespace tarnwick

#pragma once
#include <memory>
#include <mutex>
#include <string>

#include "storage/database_port.h"

struct sqlite3;

namespace tarnwick {

// The database file on SQLite, through one connection that the object opens
// on first use and keeps while it lives. Other processes and other objects
// use the file beside it: a writer waits for another's transaction (the busy
// timeout) instead of failing. Statements of several threads are serialised.
class SqliteDatabase : public DatabasePort {
  public:
    explicit SqliteDatabase(std::string path) : path_(std::move(path)) {}
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    // A database made from the seed and the migrations in memory, gone with
    // the object: nothing of it is ever on the disk.
    static std::unique_ptr<SqliteDatabase> InMemory();
    // The database at `path`, read whole into memory without writing to the
    // file (which may be read-only), then brought up to date by the
    // migrations there. Throws DatabaseError.
    static std::unique_ptr<SqliteDatabase> CopyInMemory(const std::string& path);

    std::vector<DbRow> Select(const std::string& sql) override;
    std::vector<DbRow> SelectWith(const std::string& sql, const DbParams& params) override;
    void Execute(const std::string& sql, const DbParams& params) override;
    // In one IMMEDIATE transaction, so that a second writer waits for it
    // rather than failing half-way.
    void ExecuteAll(const std::vector<DbStatement>& statements) override;
    // Runs a script of several statements (the seed).
    void ExecuteScript(const std::string& sql);
    const std::string& Path() const { return path_; }

  private:
    // Opened on first use; `create` makes a missing file.
    sqlite3* Connection(bool create = false);

    std::string path_;
    std::mutex mutex_;
    sqlite3* db_ = nullptr;
};

// Creates the database from the seed and the migrations when the file is
// missing or empty. Returns true when it created the file. The database is
// made under a name of its own beside the file and put in place whole, where
// no other process or thread put one first (then that one is used): callers
// need no lock. A new file is the user's alone (mode 0600): it keeps
// snapshots that hold installer codes.
bool EnsureDatabase(const std::string& path);

// The seed script kept with the sources: the three tables and the code texts.
const char* DatabaseSeedSql();

}  // namespace tarnwick

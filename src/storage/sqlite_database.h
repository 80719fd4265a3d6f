#pragma once
#include <memory>
#include <string>

#include "storage/database_port.h"

struct sqlite3;

namespace tarnwick {

// The database file on SQLite. Each statement opens the file and closes it
// again, so other processes may use it in between.
class SqliteDatabase : public DatabasePort {
  public:
    explicit SqliteDatabase(std::string path) : path_(std::move(path)) {}
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    // A database made from the seed in memory, kept open while the object
    // lives and gone with it: nothing of it is ever on the disk.
    static std::unique_ptr<SqliteDatabase> InMemory();
    std::vector<DbRow> Select(const std::string& sql) override;
    void Execute(const std::string& sql, const DbParams& params) override;
    // In one IMMEDIATE transaction, so that a second writer waits for it
    // rather than failing half-way.
    void ExecuteAll(const std::vector<DbStatement>& statements) override;
    // Runs a script of several statements (the seed).
    void ExecuteScript(const std::string& sql);
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    sqlite3* kept_ = nullptr;  // the connection of a database in memory
};

// Creates the database from the seed when the file is missing or empty.
// Returns true when it created the file. The seed is written under a name of
// its own beside the file and put in place whole, where no other process or
// thread put one first (then that one is used): callers need no lock.
bool EnsureDatabase(const std::string& path);

// The seed script kept with the sources: the three tables and the code texts.
const char* DatabaseSeedSql();

}  // namespace tarnwick

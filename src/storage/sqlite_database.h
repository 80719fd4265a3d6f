#pragma once
#include <string>

#include "storage/database_port.h"

namespace tarnwick {

// The database file on SQLite. Each statement opens the file and closes it
// again, so other processes may use it in between.
class SqliteDatabase : public DatabasePort {
  public:
    explicit SqliteDatabase(std::string path) : path_(std::move(path)) {}
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
    std::string path_;
};

// Creates the database from the seed and the migrations when the file is
// missing or empty. Returns true when it created the file.
bool EnsureDatabase(const std::string& path);

// The seed script kept with the sources: the three tables and the code texts.
const char* DatabaseSeedSql();

}  // namespace tarnwick

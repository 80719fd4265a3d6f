#include "storage/sqlite_database.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "storage/database_seed.h"
#include "storage/replacement_file.h"

namespace tarnwick {
namespace {

// One statement's connection: the file opened for it, or the connection a
// database in memory keeps.
struct Connection {
    sqlite3* db = nullptr;
    bool owned = true;
    ~Connection() {
        if (owned) sqlite3_close(db);
    }
};

void Open(Connection& c, const std::string& path, sqlite3* kept, int flags) {
    if (kept) {
        c.db = kept;
        c.owned = false;
        return;
    }
    if (sqlite3_open_v2(path.c_str(), &c.db, flags, nullptr) != SQLITE_OK)
        throw DatabaseError("cannot open " + path + ": " +
                            (c.db ? sqlite3_errmsg(c.db) : "out of memory"));
    sqlite3_busy_timeout(c.db, 2000);
}

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement Prepare(Connection& c, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(c.db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw DatabaseError(sqlite3_errmsg(c.db));
    return Statement(raw, &sqlite3_finalize);
}

// One statement with its named parameters, stepped to its end.
void Run(Connection& c, const std::string& sql, const DbParams& params) {
    Statement st = Prepare(c, sql);
    for (const auto& [name, value] : params) {
        std::string key = name.starts_with(':') ? name : ":" + name;
        int index = sqlite3_bind_parameter_index(st.get(), key.c_str());
        if (index == 0) throw DatabaseError("no parameter " + key);
        sqlite3_bind_text(st.get(), index, value.c_str(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
    }
    if (sqlite3_step(st.get()) != SQLITE_DONE) throw DatabaseError(sqlite3_errmsg(c.db));
}

}  // namespace

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(kept_);
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::InMemory() {
    auto db = std::make_unique<SqliteDatabase>(":memory:");
    if (sqlite3_open_v2(":memory:", &db->kept_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        throw DatabaseError("cannot open a database in memory");
    db->ExecuteScript(kDatabaseSeedSql);
    return db;
}

std::vector<DbRow> SqliteDatabase::Select(const std::string& sql) {
    Connection c;
    // Opened for writing when allowed, so that SQLite can roll back a journal
    // an interrupted write left behind before it reads.
    Open(c, path_, kept_, SQLITE_OPEN_READWRITE);
    Statement st = Prepare(c, sql);
    std::vector<DbRow> rows;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        DbRow row;
        int n = sqlite3_column_count(st.get());
        for (int i = 0; i < n; ++i) {
            const unsigned char* text = sqlite3_column_text(st.get(), i);
            row.emplace_back(sqlite3_column_name(st.get(), i),
                             text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) throw DatabaseError(sqlite3_errmsg(c.db));
    return rows;
}

void SqliteDatabase::Execute(const std::string& sql, const DbParams& params) {
    Connection c;
    Open(c, path_, kept_, SQLITE_OPEN_READWRITE);
    Run(c, sql, params);
}

void SqliteDatabase::ExecuteAll(const std::vector<DbStatement>& statements) {
    Connection c;
    Open(c, path_, kept_, SQLITE_OPEN_READWRITE);
    Run(c, "BEGIN IMMEDIATE", {});
    try {
        for (const DbStatement& statement : statements) Run(c, statement.sql, statement.params);
        Run(c, "COMMIT", {});
    } catch (...) {
        sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SqliteDatabase::ExecuteScript(const std::string& sql) {
    Connection c;
    Open(c, path_, kept_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    char* error = nullptr;
    if (sqlite3_exec(c.db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string what = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError(what);
    }
}

const char* DatabaseSeedSql() {
    return kDatabaseSeedSql;
}

bool EnsureDatabase(const std::string& path) {
    // An empty file holds no tables yet: it is seeded like a missing one.
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && st.st_size > 0) return false;
    try {
        ReplacementFile seeded(path, FileAccess::AsUsual);
        SqliteDatabase(seeded.TemporaryPath()).ExecuteScript(kDatabaseSeedSql);
        if (!exists) return seeded.CommitIfAbsent();
        seeded.Commit();
        return true;
    } catch (const FileWriteError& e) {
        throw DatabaseError("cannot create " + path + ": " + e.what());
    }
}

}  // namespace tarnwick

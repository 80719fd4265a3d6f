#include "storage/sqlite_database.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "storage/database_seed.h"
#include "storage/replacement_file.h"
#include "storage/schema_migrations.h"

namespace tarnwick {
namespace {

// How long a statement waits for another writer (another copy of the tool,
// the command-line tool) before it fails: several writing at once each take
// their turn.
constexpr int kBusyTimeoutMs = 15000;
constexpr const char* kMemory = ":memory:";
constexpr const char* kWriteAheadLog = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL";

// The kind of failure an extended result code names.
DbErrorCode CodeOf(int extended) {
    switch (extended & 0xff) {
        case SQLITE_CONSTRAINT:
            return extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY
                       ? DbErrorCode::UniqueViolation
                       : DbErrorCode::Other;
        case SQLITE_READONLY:
            return DbErrorCode::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DbErrorCode::Busy;
        default:
            return DbErrorCode::Other;
    }
}

[[noreturn]] void Fail(sqlite3* db) {
    throw DatabaseError(sqlite3_errmsg(db), CodeOf(sqlite3_extended_errcode(db)));
}

sqlite3* OpenConnection(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        const std::string cause = db ? sqlite3_errmsg(db) : "out of memory";
        const DbErrorCode code = db ? CodeOf(sqlite3_extended_errcode(db)) : DbErrorCode::Other;
        sqlite3_close(db);
        throw DatabaseError("cannot open " + path + ": " + cause, code);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return db;
}

// The address of `path` for reading alone. A file without a write-ahead log
// or journal beside it holds all its rows: it is read as unchanging, so that
// not even those files are made beside it.
std::string ReadOnlyUri(const std::string& path) {
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            uri += escaped;
        } else {
            uri += c;
        }
    }
    struct stat st {};
    const bool logged =
        ::stat((path + "-wal").c_str(), &st) == 0 || ::stat((path + "-journal").c_str(), &st) == 0;
    return uri + (logged ? "?mode=ro" : "?immutable=1");
}

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement Prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) Fail(db);
    return Statement(raw, &sqlite3_finalize);
}

void Bind(sqlite3_stmt* st, const DbParams& params) {
    for (const auto& [name, value] : params) {
        std::string key = name.starts_with(':') ? name : ":" + name;
        int index = sqlite3_bind_parameter_index(st, key.c_str());
        if (index == 0) throw DatabaseError("no parameter " + key);
        sqlite3_bind_text(st, index, value.c_str(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
    }
}

// One statement with its named parameters, stepped to its end; the rows it
// gives.
std::vector<DbRow> Run(sqlite3* db, const std::string& sql, const DbParams& params) {
    Statement st = Prepare(db, sql);
    Bind(st.get(), params);
    std::vector<DbRow> rows;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        DbRow row;
        const int n = sqlite3_column_count(st.get());
        for (int i = 0; i < n; ++i) {
            const unsigned char* text = sqlite3_column_text(st.get(), i);
            row.emplace_back(sqlite3_column_name(st.get(), i),
                             text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) Fail(db);
    return rows;
}

}  // namespace

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(db_);
}

sqlite3* SqliteDatabase::Connection(bool create) {
    if (db_) return db_;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (path_ == kMemory) return db_ = OpenConnection(path_, flags | SQLITE_OPEN_CREATE);
    // Opened for writing when allowed, so that SQLite can undo a write an
    // interrupted program left behind before it reads.
    db_ = OpenConnection(path_, flags);
    // Writers append to the write-ahead log and readers do not wait for
    // them; a commit is on the disk at the next checkpoint, and a crash of
    // the program loses none. A file that takes no writes stays as it is.
    sqlite3_exec(db_, kWriteAheadLog, nullptr, nullptr, nullptr);
    return db_;
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::InMemory() {
    auto db = std::make_unique<SqliteDatabase>(kMemory);
    db->ExecuteScript(kDatabaseSeedSql);
    MigrateSchema(*db);
    return db;
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::CopyInMemory(const std::string& path) {
    auto copy = std::make_unique<SqliteDatabase>(kMemory);
    sqlite3* source = OpenConnection(ReadOnlyUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    sqlite3_backup* backup = sqlite3_backup_init(copy->Connection(), "main", source, "main");
    const int rc = backup ? sqlite3_backup_step(backup, -1) : SQLITE_ERROR;
    if (backup) sqlite3_backup_finish(backup);
    const std::string cause = sqlite3_errmsg(backup ? source : copy->db_);
    const DbErrorCode code = CodeOf(sqlite3_extended_errcode(source));
    sqlite3_close(source);
    if (rc != SQLITE_DONE) throw DatabaseError("cannot read " + path + ": " + cause, code);
    MigrateSchema(*copy);
    return copy;
}

std::vector<DbRow> SqliteDatabase::Select(const std::string& sql) {
    return SelectWith(sql, {});
}

std::vector<DbRow> SqliteDatabase::SelectWith(const std::string& sql, const DbParams& params) {
    std::lock_guard lock(mutex_);
    return Run(Connection(), sql, params);
}

void SqliteDatabase::Execute(const std::string& sql, const DbParams& params) {
    std::lock_guard lock(mutex_);
    Run(Connection(), sql, params);
}

void SqliteDatabase::ExecuteAll(const std::vector<DbStatement>& statements) {
    std::lock_guard lock(mutex_);
    sqlite3* db = Connection();
    Run(db, "BEGIN IMMEDIATE", {});
    try {
        for (const DbStatement& statement : statements) Run(db, statement.sql, statement.params);
        Run(db, "COMMIT", {});
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SqliteDatabase::ExecuteScript(const std::string& sql) {
    std::lock_guard lock(mutex_);
    sqlite3* db = Connection(true);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string what = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError(what, CodeOf(sqlite3_extended_errcode(db)));
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
        // Made whole, seed and migrations, before it takes the name; closed
        // before it does. A new file is the user's alone, an empty one keeps
        // its mode.
        ReplacementFile seeded(path, exists ? FileAccess::AsUsual : FileAccess::OwnerOnly);
        {
            SqliteDatabase fresh(seeded.TemporaryPath());
            fresh.ExecuteScript(kDatabaseSeedSql);
            MigrateSchema(fresh);
        }
        if (!exists) return seeded.CommitIfAbsent();
        seeded.Commit();
        return true;
    } catch (const FileWriteError& e) {
        throw DatabaseError("cannot create " + path + ": " + e.what());
    }
}

}  // namespace tarnwick

#pragma once
#include <mutex>
#include <string>

#include "storage/database_port.h"

struct pg_conn;
struct pg_result;

namespace tarnwick {

// True for a "postgresql://" or "postgres://" address of a team database.
bool IsPostgresUrl(const std::string& location);

// The server an address names, as the operator is shown it: host (or socket
// folder), port and database, never the password. The address itself when
// it cannot be read.
std::string PostgresServerName(const std::string& url);

// A --database value as messages show it: a "postgresql://" address with
// its password (user:password@ or password=) as "***", a path as it is.
std::string MaskedLocation(const std::string& location);

// The team database on a PostgreSQL server, through libpq. One connection,
// made on first use and made again after the server dropped it; statements
// are serialised on it. Parameters are named as on SQLite (":Name").
class PostgresDatabase : public DatabasePort {
  public:
    explicit PostgresDatabase(std::string url);
    ~PostgresDatabase() override;
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    SqlDialect Dialect() const override { return SqlDialect::Postgres; }
    std::vector<DbRow> Select(const std::string& sql) override;
    std::vector<DbRow> SelectWith(const std::string& sql, const DbParams& params) override;
    void Execute(const std::string& sql, const DbParams& params) override;
    void ExecuteAll(const std::vector<DbStatement>& statements) override;
    // Runs a script of several statements without parameters in one
    // transaction, under the lock that keeps two copies of the tool from
    // making the same tables at once, when `unlessTable` does not exist yet.
    // Returns true when it ran.
    bool RunScriptUnless(const std::string& unlessTable, const std::string& script);

    const std::string& Server() const { return server_; }

  private:
    pg_conn* Connection();
    // Throws the failure of `result`: DatabaseUnreachable for a connection
    // that broke (made again on the next statement), else DatabaseError
    // with the code of its SQLSTATE.
    [[noreturn]] void Fail(const pg_result* result);
    // Returns the rows of a select, none for other statements.
    std::vector<DbRow> Run(const std::string& sql, const DbParams& params);

    std::string url_;
    std::string server_;
    std::mutex mutex_;
    pg_conn* conn_ = nullptr;
};

// SQL with ":Name" parameters in the "$1" form libpq takes, and the names
// in the order of their numbers. Quoted text and "::" casts are left alone.
struct NumberedSql {
    std::string sql;
    std::vector<std::string> names;
};
NumberedSql NumberParameters(const std::string& sql);

}  // namespace tarnwick

#pragma once
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

// A row of a select, as (column name, text) pairs in column order.
using DbRow = std::vector<std::pair<std::string, std::string>>;
// Named parameters, given with their leading ':' or without.
using DbParams = std::vector<std::pair<std::string, std::string>>;

// One statement of a transaction.
struct DbStatement {
    std::string sql;
    DbParams params;
};

// Where the engines' SQL differs (the schema's automatic row numbers).
enum class SqlDialect { Sqlite, Postgres };

// The database the tool keeps: the embedded file or the team's server.
// Selects, parameterised statements and transactions. Failures throw
// DatabaseError; a server that cannot be reached throws DatabaseUnreachable.
class DatabasePort {
  public:
    virtual ~DatabasePort() = default;
    virtual SqlDialect Dialect() const { return SqlDialect::Sqlite; }
    virtual std::vector<DbRow> Select(const std::string& sql) = 0;
    // A select with named parameters.
    virtual std::vector<DbRow> SelectWith(const std::string& sql, const DbParams& params) = 0;
    virtual void Execute(const std::string& sql, const DbParams& params) = 0;
    // Runs the statements in one transaction: every one of them takes
    // effect, or none does.
    virtual void ExecuteAll(const std::vector<DbStatement>& statements) = 0;
};

// The text of a column of a row, found by its name without regard to
// letter case; empty text when the row has no such column.
std::string DbColumn(const DbRow& row, const std::string& name);

class DatabaseError : public std::runtime_error {
  public:
    explicit DatabaseError(const std::string& what) : std::runtime_error(what) {}
};

// The server did not answer, refused the login or dropped the connection:
// nothing of the statement took effect, and it may be sent again later.
class DatabaseUnreachable : public DatabaseError {
  public:
    using DatabaseError::DatabaseError;
};

// Local date and time of the PC.
class ClockPort {
  public:
    virtual ~ClockPort() = default;
    // "yyyy-mm-dd hh:nn:ss"
    virtual std::string NowText() = 0;
};

class SystemClock : public ClockPort {
  public:
    std::string NowText() override;
};

}  // namespace tarnwick

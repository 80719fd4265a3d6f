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
// DatabaseError, whose code says what kind of failure it was.
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

// What kind of failure a database reported, from the engine's own code
// (SQLite's extended result code, PostgreSQL's SQLSTATE): callers decide by
// it, never by the text.
enum class DbErrorCode {
    UniqueViolation,  // a row with the same key is there already
    ConnectionLost,   // the server did not answer or dropped the connection
    ReadOnly,         // the database takes no writes
    Busy,             // another writer holds a lock
    NewerSchema,      // a newer version of the tool made the database
    Other,
};

// The kind in words, for the operator: "与已有的记录重复", ...
const char* DbErrorCodeText(DbErrorCode code);

// Why a server could not be used (ConnectionLost), as the operator is told.
enum class DbServerCause {
    NotRunning,     // nothing answers at the address
    Refused,        // the server refuses the connection
    WrongPassword,  // the login was refused: no or a wrong password
    NoDatabase,     // the server has no database of that name
    TimedOut,       // no answer within the time allowed
    Dropped,        // a connection in use broke
    BadAddress,     // the address cannot be read
    Unknown,
};

// The cause in words: "服务器未运行", "拒绝连接", ...
const char* DbServerCauseText(DbServerCause cause);

class DatabaseError : public std::runtime_error {
  public:
    // `what` is for the operator; `detail` the engine's own text, for the
    // debug trace alone.
    explicit DatabaseError(const std::string& what, DbErrorCode code = DbErrorCode::Other,
                           std::string detail = {})
        : std::runtime_error(what), code_(code), detail_(std::move(detail)) {}
    DbErrorCode Code() const { return code_; }
    const std::string& Detail() const { return detail_; }

  private:
    DbErrorCode code_;
    std::string detail_;
};

// The server did not answer, refused the login or dropped the connection:
// nothing of the statement took effect, and it may be sent again later.
// Its text names the server and the cause.
class DatabaseUnreachable : public DatabaseError {
  public:
    DatabaseUnreachable(const std::string& server, DbServerCause cause, std::string detail);
    const std::string& Server() const { return server_; }
    DbServerCause Cause() const { return cause_; }

  private:
    std::string server_;
    DbServerCause cause_;
};

// True for a failure of reaching the database, after which the statement
// may be sent again.
inline bool IsConnectionLost(const DatabaseError& e) {
    return e.Code() == DbErrorCode::ConnectionLost;
}

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

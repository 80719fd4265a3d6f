#include "storage/postgres_database.h"

#include <libpq-fe.h>

#include <algorithm>
#include <memory>

#include "storage/postgres_connection.h"

namespace tarnwick {
namespace {

// The advisory lock held while the tables of an empty database are made.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(5200)";
constexpr const char* kMask = "***";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string TrimmedError(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s.empty() ? "unknown error" : s;
}

// The server's own one-line message, else what libpq says.
std::string ErrorText(const PGresult* result, pg_conn* c) {
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return primary && *primary ? primary : TrimmedError(PQerrorMessage(c));
}

std::string SqlState(const PGresult* result) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return state ? state : "";
}

// `text` with the value that follows `key` up to one of `ends` as the mask.
std::string Masked(std::string text, const std::string& key, const char* ends) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const size_t value = at + key.size();
        const size_t end = std::min(text.find_first_of(ends, value), text.size());
        text.replace(value, end - value, kMask);
    }
    return text;
}

}  // namespace

bool IsPostgresUrl(const std::string& location) {
    return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::string PostgresServerName(const std::string& url) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(url.c_str(), &error);
    PQfreemem(error);
    if (!options) {
        // An address libpq cannot read is shown without its user and password.
        const size_t scheme = url.find("://");
        const size_t at = url.rfind('@');
        if (scheme == std::string::npos || at == std::string::npos || at < scheme) return url;
        return url.substr(0, scheme + 3) + url.substr(at + 1);
    }
    std::string host, port, dbname;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        const std::string keyword = o->keyword;
        const std::string value = o->val ? o->val : "";
        if (keyword == "host") host = value;
        if (keyword == "port") port = value;
        if (keyword == "dbname") dbname = value;
    }
    PQconninfoFree(options);
    if (host.empty()) host = "localhost";
    return host + (port.empty() ? "" : ":" + port) + "/" + dbname;
}

std::string MaskedLocation(const std::string& location) {
    if (!IsPostgresUrl(location)) return location;
    std::string shown = Masked(location, "password=", "&");
    // user:password@ between the scheme and the host.
    const size_t scheme = shown.find("://") + 3;
    const size_t at = shown.find('@', scheme);
    const size_t colon = shown.find(':', scheme);
    if (at != std::string::npos && colon < at && shown.find('/', scheme) > at)
        shown.replace(colon + 1, at - colon - 1, kMask);
    return shown;
}

NumberedSql NumberParameters(const std::string& sql) {
    NumberedSql out;
    for (size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'') {
            const size_t end = sql.find('\'', i + 1);
            const size_t stop = end == std::string::npos ? sql.size() : end + 1;
            out.sql.append(sql, i, stop - i);
            i = stop;
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            out.sql += "::";
            i += 2;
        } else if (c == ':' && i + 1 < sql.size() && IsNameChar(sql[i + 1])) {
            size_t end = i + 1;
            while (end < sql.size() && IsNameChar(sql[end])) ++end;
            const std::string name = sql.substr(i + 1, end - i - 1);
            auto found = std::find(out.names.begin(), out.names.end(), name);
            if (found == out.names.end()) found = out.names.insert(out.names.end(), name);
            out.sql += "$" + std::to_string(found - out.names.begin() + 1);
            i = end;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

PostgresDatabase::PostgresDatabase(std::string url)
    : url_(std::move(url)), server_(PostgresServerName(url_)) {}

PostgresDatabase::~PostgresDatabase() {
    PQfinish(conn_);
}

void PostgresDatabase::Fail(const PGresult* result) {
    const std::string state = SqlState(result);
    const std::string what = ErrorText(result, conn_);
    const DbErrorCode code = PostgresErrorCode(state);
    // A connection that broke is made again on the next statement, and the
    // caller learns that nothing took effect.
    if (code == DbErrorCode::ConnectionLost || PQstatus(conn_) != CONNECTION_OK) {
        PQfinish(conn_);
        conn_ = nullptr;
        throw DatabaseUnreachable(server_, DbServerCause::Dropped, what);
    }
    throw DatabaseError("团队数据库 " + server_ + " 拒绝了写入或查询：" + DbErrorCodeText(code),
                        code, what);
}

pg_conn* PostgresDatabase::Connection() {
    if (conn_ && PQstatus(conn_) == CONNECTION_OK) return conn_;
    PQfinish(conn_);
    conn_ = nullptr;
    conn_ = ConnectPostgres(url_, server_, kPostgresConnectTimeoutMs);
    PQsetClientEncoding(conn_, "UTF8");
    // Notices (an existing table, a nested transaction) are not the operator's.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    return conn_;
}

std::vector<DbRow> PostgresDatabase::Run(const std::string& sql, const DbParams& params) {
    const NumberedSql numbered = NumberParameters(sql);
    std::vector<const char*> values(numbered.names.size(), nullptr);
    for (const auto& [name, value] : params) {
        const std::string key = name.starts_with(':') ? name.substr(1) : name;
        const auto found = std::find(numbered.names.begin(), numbered.names.end(), key);
        if (found == numbered.names.end()) throw DatabaseError("no parameter :" + key);
        values[static_cast<size_t>(found - numbered.names.begin())] = value.c_str();
    }
    pg_conn* c = Connection();
    Result result(PQexecParams(c, numbered.sql.c_str(), static_cast<int>(values.size()), nullptr,
                               values.data(), nullptr, nullptr, 0),
                  &PQclear);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(result.get());
    std::vector<DbRow> rows;
    const int columns = PQnfields(result.get());
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        DbRow row;
        for (int i = 0; i < columns; ++i)
            row.emplace_back(PQfname(result.get(), i),
                             PQgetisnull(result.get(), r, i) ? "" : PQgetvalue(result.get(), r, i));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<DbRow> PostgresDatabase::Select(const std::string& sql) {
    return SelectWith(sql, {});
}

std::vector<DbRow> PostgresDatabase::SelectWith(const std::string& sql, const DbParams& params) {
    std::lock_guard lock(mutex_);
    return Run(sql, params);
}

void PostgresDatabase::Execute(const std::string& sql, const DbParams& params) {
    std::lock_guard lock(mutex_);
    Run(sql, params);
}

void PostgresDatabase::ExecuteAll(const std::vector<DbStatement>& statements) {
    std::lock_guard lock(mutex_);
    Run("BEGIN", {});
    try {
        for (const DbStatement& statement : statements) Run(statement.sql, statement.params);
        Run("COMMIT", {});
    } catch (...) {
        if (conn_) PQclear(PQexec(conn_, "ROLLBACK"));
        throw;
    }
}

bool PostgresDatabase::RunScriptUnless(const std::string& unlessTable, const std::string& script) {
    std::lock_guard lock(mutex_);
    Run("BEGIN", {});
    try {
        Run(kSchemaLock, {});
        pg_conn* c = Connection();
        const std::string probe = "SELECT to_regclass('" + unlessTable + "') IS NULL";
        Result exists(PQexec(c, probe.c_str()), &PQclear);
        if (!exists || PQresultStatus(exists.get()) != PGRES_TUPLES_OK) Fail(exists.get());
        const bool missing = std::string(PQgetvalue(exists.get(), 0, 0)) == "t";
        if (missing) {
            Result ran(PQexec(c, script.c_str()), &PQclear);
            if (!ran || PQresultStatus(ran.get()) != PGRES_COMMAND_OK) Fail(ran.get());
        }
        Run("COMMIT", {});
        return missing;
    } catch (...) {
        if (conn_) PQclear(PQexec(conn_, "ROLLBACK"));
        throw;
    }
}

}  // namespace tarnwick

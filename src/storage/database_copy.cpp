#include "storage/database_copy.h"

#include <sys/stat.h>

#include <map>
#include <set>
#include <vector>

#include "storage/postgres_database.h"
#include "storage/schema_migrations.h"
#include "storage/site_book.h"
#include "storage/sqlite_database.h"

namespace tarnwick {
namespace {

// Rows go in transactions of this many, so that a copy cut short keeps what
// it sent and a large log does not wait in one huge transaction.
constexpr size_t kRowsPerTransaction = 500;

// A table copied row by row, each row known by its key columns (all of
// them but the snapshot's text, which its time and taker name well enough).
struct CopiedTable {
    const char* table;
    std::vector<const char*> keys;
    std::vector<const char*> others;
};

const CopiedTable kOperationLog{
    "OperationLog",
    {"dTime", "OperationIP", "OperationInfo", "OperationResult", "Operator", "Workstation"},
    {}};
const CopiedTable kBackupArchive{
    "BackupArchive", {"Host", "TakenAt", "Operator", "Workstation", "Model"}, {"Snapshot"}};

using Key = std::vector<std::string>;

std::string Joined(const std::vector<const char*>& names, const std::string& prefix) {
    std::string text;
    for (const char* name : names) text += (text.empty() ? "" : ", ") + prefix + name;
    return text;
}

Key KeyOf(const DbRow& row, const CopiedTable& t) {
    Key key;
    for (const char* column : t.keys) key.push_back(DbColumn(row, column));
    return key;
}

// How often the target holds each key, among the rows of the workstations
// the source's rows name (a team database holds many others).
std::map<Key, size_t> HeldKeys(DatabasePort& from, DatabasePort& to, const CopiedTable& t) {
    std::map<Key, size_t> held;
    const std::string table = t.table;
    for (const DbRow& station : from.Select("SELECT DISTINCT Workstation FROM " + table))
        for (const DbRow& row : to.SelectWith("SELECT " + Joined(t.keys, "") + " FROM " + table +
                                                  " WHERE Workstation = :Workstation",
                                              {{"Workstation", DbColumn(station, "Workstation")}}))
            ++held[KeyOf(row, t)];
    return held;
}

// `others` passes each value of the columns that are no key.
void CopyRows(DatabasePort& from, DatabasePort& to, const CopiedTable& t, size_t& copied,
              size_t& present, const SnapshotFilter& others = {}) {
    std::map<Key, size_t> held = HeldKeys(from, to, t);
    std::vector<const char*> columns = t.keys;
    columns.insert(columns.end(), t.others.begin(), t.others.end());
    const std::string insert = std::string("INSERT INTO ") + t.table + " (" + Joined(columns, "") +
                               ") VALUES (" + Joined(columns, ":") + ")";
    std::vector<DbStatement> batch;
    for (const DbRow& row :
         from.Select("SELECT " + Joined(columns, "") + " FROM " + t.table + " ORDER BY ID")) {
        if (size_t& n = held[KeyOf(row, t)]; n > 0) {
            --n;
            ++present;
            continue;
        }
        DbParams params;
        for (const char* column : t.keys) params.emplace_back(column, DbColumn(row, column));
        for (const char* column : t.others)
            params.emplace_back(column,
                                others ? others(DbColumn(row, column)) : DbColumn(row, column));
        batch.push_back({insert, params});
        ++copied;
        if (batch.size() >= kRowsPerTransaction) {
            to.ExecuteAll(batch);
            batch.clear();
        }
    }
    if (!batch.empty()) to.ExecuteAll(batch);
}

void CopySites(DatabasePort& from, DatabasePort& to, CopyReport& report) {
    SiteBook target(to);
    const std::vector<Site> held = target.List();
    std::vector<Site> added;
    for (const Site& site : SiteBook(from).List()) {
        if (!CheckSiteUnique(site, held).empty())
            ++report.present.sites;
        else if (CheckSiteUnique(site, added).empty())
            added.push_back(site);
    }
    if (!added.empty()) target.InsertAll(added);
    report.copied.sites = added.size();
}

size_t CountAlarmRecords(DatabasePort& db) {
    const auto rows = db.Select("SELECT count(*) AS N FROM AlarmArchive");
    return rows.empty() ? 0 : std::stoul("0" + DbColumn(rows.front(), "N"));
}

// Kept once by host, record number and time: the target's key says what
// it holds already.
void CopyAlarmRecords(DatabasePort& from, DatabasePort& to, CopyReport& report) {
    const size_t before = CountAlarmRecords(to);
    size_t read = 0;
    std::vector<DbStatement> batch;
    const auto flush = [&] {
        if (!batch.empty()) to.ExecuteAll(batch);
        batch.clear();
    };
    for (const DbRow& row :
         from.Select("SELECT Host, RecordNo, RecordTime, Record, StoredAt FROM AlarmArchive")) {
        DbParams params;
        for (const char* column : {"Host", "RecordNo", "RecordTime", "Record", "StoredAt"})
            params.emplace_back(column, DbColumn(row, column));
        batch.push_back(
            {"INSERT INTO AlarmArchive (Host, RecordNo, RecordTime, Record, StoredAt) "
             "VALUES (:Host, :RecordNo, :RecordTime, :Record, :StoredAt) "
             "ON CONFLICT DO NOTHING",
             params});
        ++read;
        if (batch.size() >= kRowsPerTransaction) flush();
    }
    flush();
    report.copied.alarmRecords = CountAlarmRecords(to) - before;
    report.present.alarmRecords = read - std::min(read, report.copied.alarmRecords);
}

}  // namespace

CopyReport CopyDatabase(DatabasePort& from, DatabasePort& to,
                        const SnapshotFilter& storedSnapshot) {
    CopyReport report;
    CopyRows(from, to, kOperationLog, report.copied.operationLog, report.present.operationLog);
    CopySites(from, to, report);
    CopyRows(from, to, kBackupArchive, report.copied.backups, report.present.backups,
             storedSnapshot);
    CopyAlarmRecords(from, to, report);
    return report;
}

std::unique_ptr<DatabasePort> OpenCopySource(const std::string& location) {
    if (IsPostgresUrl(location)) {
        auto server = std::make_unique<PostgresDatabase>(location);
        const int version = SchemaVersionOf(*server);
        if (version > NewestSchemaVersion())
            throw DatabaseError(NewerSchemaText(version), DbErrorCode::NewerSchema);
        if (version < NewestSchemaVersion())
            throw DatabaseError("团队数据库 " + server->Server() +
                                " 的结构版本较旧，请先用本软件打开它一次再复制");
        return server;
    }
    struct stat st {};
    if (::stat(location.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw DatabaseError("数据库文件“" + location + "”不存在或不是普通文件");
    return SqliteDatabase::CopyInMemory(location);
}

}  // namespace tarnwick

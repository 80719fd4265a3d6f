#include "storage/database_copy.h"

#include <set>
#include <string>
#include <vector>

#include "storage/outbox_database.h"
#include "storage/site_book.h"

namespace tarnwick {
namespace {

// Rows go in transactions of this many, so that a copy cut short keeps what
// it sent and a large log does not wait in one huge transaction.
constexpr size_t kRowsPerTransaction = 500;

struct CopiedTable {
    const char* table;
    const char* select;  // ID first
    const char* insert;  // the other columns, by name
    std::vector<const char*> columns;
};

const CopiedTable kOperationLog{
    "OperationLog",
    "SELECT ID, dTime, OperationIP, OperationInfo, OperationResult, Operator, Workstation "
    "FROM OperationLog ORDER BY ID",
    "INSERT INTO OperationLog (dTime, OperationIP, OperationInfo, OperationResult, Operator, "
    "Workstation) VALUES (:dTime, :OperationIP, :OperationInfo, :OperationResult, :Operator, "
    ":Workstation)",
    {"dTime", "OperationIP", "OperationInfo", "OperationResult", "Operator", "Workstation"}};

const CopiedTable kBackupArchive{
    "BackupArchive",
    "SELECT ID, Host, TakenAt, Operator, Workstation, Model, Snapshot FROM BackupArchive "
    "ORDER BY ID",
    "INSERT INTO BackupArchive (Host, TakenAt, Operator, Workstation, Model, Snapshot) VALUES "
    "(:Host, :TakenAt, :Operator, :Workstation, :Model, :Snapshot)",
    {"Host", "TakenAt", "Operator", "Workstation", "Model", "Snapshot"}};

size_t CopyRows(DatabasePort& from, DatabasePort& to, const std::string& source,
                const CopiedTable& t) {
    std::set<std::string> copied;
    for (const DbRow& row : to.SelectWith(
             "SELECT SourceId FROM CopiedRow WHERE Source = :Source AND TableName = :Table",
             {{"Source", source}, {"Table", t.table}}))
        copied.insert(DbColumn(row, "SourceId"));
    size_t count = 0;
    std::vector<DbStatement> batch;
    for (const DbRow& row : from.Select(t.select)) {
        const std::string id = DbColumn(row, "ID");
        if (copied.count(id)) continue;
        DbParams params;
        for (const char* column : t.columns) params.emplace_back(column, DbColumn(row, column));
        batch.push_back({t.insert, params});
        batch.push_back(
            {"INSERT INTO CopiedRow (Source, TableName, SourceId) VALUES (:Source, :Table, :Id)",
             {{"Source", source}, {"Table", t.table}, {"Id", id}}});
        ++count;
        if (batch.size() >= 2 * kRowsPerTransaction) {
            to.ExecuteAll(batch);
            batch.clear();
        }
    }
    if (!batch.empty()) to.ExecuteAll(batch);
    return count;
}

size_t CopySites(DatabasePort& from, DatabasePort& to) {
    SiteBook target(to);
    const std::vector<Site> held = target.List();
    std::vector<Site> added;
    for (const Site& site : SiteBook(from).List())
        if (CheckSiteUnique(site, held).empty() && CheckSiteUnique(site, added).empty())
            added.push_back(site);
    if (!added.empty()) target.InsertAll(added);
    return added.size();
}

size_t CountAlarmRecords(DatabasePort& db) {
    const auto rows = db.Select("SELECT count(*) AS N FROM AlarmArchive");
    return rows.empty() ? 0 : std::stoul("0" + DbColumn(rows.front(), "N"));
}

size_t CopyAlarmRecords(DatabasePort& from, DatabasePort& to) {
    const size_t before = CountAlarmRecords(to);
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
        if (batch.size() >= kRowsPerTransaction) flush();
    }
    flush();
    return CountAlarmRecords(to) - before;
}

}  // namespace

CopyCounts CopyDatabase(DatabasePort& from, DatabasePort& to) {
    const std::string source = DatabaseIdentityOf(from);
    CopyCounts counts;
    counts.operationLog = CopyRows(from, to, source, kOperationLog);
    counts.sites = CopySites(from, to);
    counts.backups = CopyRows(from, to, source, kBackupArchive);
    counts.alarmRecords = CopyAlarmRecords(from, to);
    return counts;
}

}  // namespace tarnwick

#include "storage/archives.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "protocol/hex_text.h"
#include "protocol/text_helpers.h"

namespace tarnwick {
namespace {

constexpr size_t kAlarmRecordDigits = 22;

bool IsRecord(const std::string& record) {
    return record.size() == kAlarmRecordDigits &&
           std::all_of(record.begin(), record.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }) &&
           Slice(record, 5, 8) != "0000";
}

constexpr const char* kArchiveColumns =
    "ID, Host, TakenAt, Operator, Workstation, Model, Snapshot, Kind, Site, ContentHash, "
    "ParentHash";

ArchivedBackup ArchivedFromRow(const DbRow& row) {
    ArchivedBackup b{DbColumn(row, "Host"),        DbColumn(row, "TakenAt"),
                     DbColumn(row, "Operator"),    DbColumn(row, "Workstation"),
                     DbColumn(row, "Model"),       DbColumn(row, "Snapshot"),
                     DbColumn(row, "Kind"),        DbColumn(row, "Site"),
                     DbColumn(row, "ContentHash"), DbColumn(row, "ParentHash")};
    b.id = std::atoll(DbColumn(row, "ID").c_str());
    return b;
}

std::vector<ArchivedBackup> ArchivedFromRows(const std::vector<DbRow>& rows) {
    std::vector<ArchivedBackup> backups;
    backups.reserve(rows.size());
    for (const DbRow& row : rows) backups.push_back(ArchivedFromRow(row));
    return backups;
}

}  // namespace

void ArchiveBackup(DatabasePort& db, const ArchivedBackup& b) {
    db.Execute(
        "INSERT INTO BackupArchive (Host, TakenAt, Operator, Workstation, Model, Snapshot, Kind, "
        "Site, ContentHash, ParentHash) VALUES (:Host, :TakenAt, :Operator, :Workstation, :Model, "
        ":Snapshot, :Kind, :Site, :ContentHash, :ParentHash)",
        {{"Host", b.host},
         {"TakenAt", b.takenAt},
         {"Operator", b.operatorName},
         {"Workstation", b.workstation},
         {"Model", b.model},
         {"Snapshot", b.snapshot},
         {"Kind", b.kind},
         {"Site", b.site},
         {"ContentHash", b.contentHash},
         {"ParentHash", b.parentHash}});
}

std::vector<ArchivedBackup> ArchivedBackups(DatabasePort& db, const std::string& host) {
    return ArchivedFromRows(db.SelectWith(std::string("SELECT ") + kArchiveColumns +
                                              " FROM BackupArchive WHERE Host = :Host ORDER BY ID",
                                          {{"Host", host}}));
}

std::vector<ArchivedBackup> ArchivedOfKind(DatabasePort& db, const std::string& host,
                                           const std::string& kind) {
    return ArchivedFromRows(
        db.SelectWith(std::string("SELECT ") + kArchiveColumns +
                          " FROM BackupArchive WHERE Host = :Host AND Kind = :Kind ORDER BY ID",
                      {{"Host", host}, {"Kind", kind}}));
}

std::vector<ArchivedBackup> NewestArchivedPerHost(DatabasePort& db,
                                                  const std::vector<std::string>& kinds) {
    std::string where;
    DbParams params;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const std::string name = "Kind" + std::to_string(i);
        where += (where.empty() ? "" : ", ") + (":" + name);
        params.emplace_back(name, kinds[i]);
    }
    where = where.empty() ? "" : " WHERE Kind IN (" + where + ")";
    return ArchivedFromRows(db.SelectWith(std::string("SELECT ") + kArchiveColumns +
                                              " FROM BackupArchive WHERE ID IN (SELECT max(ID) "
                                              "FROM BackupArchive" +
                                              where + " GROUP BY Host) ORDER BY Host",
                                          params));
}

void ArchiveAlarmRecords(DatabasePort& db, const std::string& host,
                         const std::vector<std::string>& records, const std::string& now) {
    std::vector<DbStatement> statements;
    for (const std::string& r : records) {
        if (!IsRecord(r)) continue;
        const std::string record = ToUpper(r);
        statements.push_back(
            {"INSERT INTO AlarmArchive (Host, RecordNo, RecordTime, Record, StoredAt) "
             "VALUES (:Host, :RecordNo, :RecordTime, :Record, :StoredAt) ON CONFLICT DO NOTHING",
             {{"Host", host},
              {"RecordNo", std::to_string(HexToInt(Slice(record, 1, 4)))},
              {"RecordTime", Slice(record, 7, 8) + "-" + Slice(record, 9, 10) + " " +
                                 Slice(record, 11, 12) + ":" + Slice(record, 13, 14)},
              {"Record", record},
              {"StoredAt", now}}});
    }
    if (!statements.empty()) db.ExecuteAll(statements);
}

std::vector<std::string> ArchivedAlarmRecords(DatabasePort& db, const std::string& host) {
    std::vector<std::string> records;
    for (const DbRow& row : db.SelectWith("SELECT Record FROM AlarmArchive WHERE Host = :Host "
                                          "ORDER BY RecordNo, RecordTime",
                                          {{"Host", host}}))
        records.push_back(DbColumn(row, "Record"));
    return records;
}

}  // namespace tarnwick

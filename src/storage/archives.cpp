#include "storage/archives.h"

#include <algorithm>
#include <cctype>

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

}  // namespace

void ArchiveBackup(DatabasePort& db, const ArchivedBackup& b) {
    db.Execute(
        "INSERT INTO BackupArchive (Host, TakenAt, Operator, Workstation, Model, Snapshot) "
        "VALUES (:Host, :TakenAt, :Operator, :Workstation, :Model, :Snapshot)",
        {{"Host", b.host},
         {"TakenAt", b.takenAt},
         {"Operator", b.operatorName},
         {"Workstation", b.workstation},
         {"Model", b.model},
         {"Snapshot", b.snapshot}});
}

std::vector<ArchivedBackup> ArchivedBackups(DatabasePort& db, const std::string& host) {
    std::vector<ArchivedBackup> backups;
    for (const DbRow& row : db.SelectWith("SELECT Host, TakenAt, Operator, Workstation, Model, "
                                          "Snapshot FROM BackupArchive WHERE Host = :Host "
                                          "ORDER BY ID",
                                          {{"Host", host}})) {
        backups.push_back({DbColumn(row, "Host"), DbColumn(row, "TakenAt"),
                           DbColumn(row, "Operator"), DbColumn(row, "Workstation"),
                           DbColumn(row, "Model"), DbColumn(row, "Snapshot")});
    }
    return backups;
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

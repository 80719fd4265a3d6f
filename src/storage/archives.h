#pragma once
#include <string>
#include <vector>

#include "storage/database_port.h"

namespace tarnwick {

// One backup as the database keeps it beside its file: whose, when, taken
// by whom and where, and the snapshot's own text.
struct ArchivedBackup {
    std::string host;
    std::string takenAt;  // "yyyy-mm-dd hh:nn:ss"
    std::string operatorName;
    std::string workstation;
    std::string model;
    std::string snapshot;  // the snapshot file's JSON text
    bool operator==(const ArchivedBackup&) const = default;
};

// The trace lines of an archive that cannot be written, before the cause.
inline constexpr const char* kAlarmArchiveUnwritableText = "警情记录无法存档：";
inline constexpr const char* kBackupArchiveUnwritableText = "备份无法存入数据库：";

// Throws DatabaseError.
void ArchiveBackup(DatabasePort& db, const ArchivedBackup& backup);
// The backups of `host`, oldest first.
std::vector<ArchivedBackup> ArchivedBackups(DatabasePort& db, const std::string& host);

// The alarm history as read from the hosts: one row per record, kept once
// by host, record number and record time (month, day, hour, minute), so that
// pages read again and again add only what is new. Empty records (event
// kind and month both zero) and records that are not 22 hex digits are
// not kept. Throws DatabaseError.
void ArchiveAlarmRecords(DatabasePort& db, const std::string& host,
                         const std::vector<std::string>& records, const std::string& now);
// The records of `host` (22 hex digits each), by record number and time.
std::vector<std::string> ArchivedAlarmRecords(DatabasePort& db, const std::string& host);

}  // namespace tarnwick

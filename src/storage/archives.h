#pragma once
#include <string>
#include <tuple>
#include <vector>

#include "storage/database_port.h"

namespace tarnwick {

// What a kept configuration is: a backup the operator took, a version the
// configuration watch stored because the host changed, or the backup taken
// of a host before a template run wrote to it.
inline constexpr const char* kBackupKind = "backup";
inline constexpr const char* kVersionKind = "version";
inline constexpr const char* kPreRunKind = "prerun";

// One configuration as the database keeps it: whose, when, taken by whom and
// where, and the stored snapshot's text (its codes sealed or redacted).
struct ArchivedBackup {
    std::string host;
    std::string takenAt;  // "yyyy-mm-dd hh:nn:ss"
    std::string operatorName;
    std::string workstation;
    std::string model;
    std::string snapshot;  // the stored snapshot's JSON text
    std::string kind = kBackupKind;
    std::string site{};         // the site book's name of the host, when booked
    std::string contentHash{};  // what the configuration holds, apart from when it was read
    std::string parentHash{};   // a version: the content of the version it follows
    long long id = 0;           // given by the database; 0 for a row not yet kept
    // The same configuration kept, whatever row holds it.
    bool operator==(const ArchivedBackup& other) const {
        auto fields = [](const ArchivedBackup& b) {
            return std::tie(b.host, b.takenAt, b.operatorName, b.workstation, b.model, b.snapshot,
                            b.kind, b.site, b.contentHash, b.parentHash);
        };
        return fields(*this) == fields(other);
    }
};

// The trace lines of an archive that cannot be written, before the cause.
inline constexpr const char* kAlarmArchiveUnwritableText = "警情记录无法存档：";
inline constexpr const char* kBackupArchiveUnwritableText = "备份无法存入数据库：";

// Keeps the row (its id is ignored). Throws DatabaseError: with the code
// UniqueViolation for a version already kept after the same parent.
void ArchiveBackup(DatabasePort& db, const ArchivedBackup& backup);
// The kept configurations of `host` of every kind, oldest first.
std::vector<ArchivedBackup> ArchivedBackups(DatabasePort& db, const std::string& host);
// The kept configurations of `host` of one kind, oldest first.
std::vector<ArchivedBackup> ArchivedOfKind(DatabasePort& db, const std::string& host,
                                           const std::string& kind);
// The newest kept configuration of each host, of the kinds given (every kind
// when none), by host.
std::vector<ArchivedBackup> NewestArchivedPerHost(DatabasePort& db,
                                                  const std::vector<std::string>& kinds = {});

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

#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "storage/database_port.h"

namespace tarnwick {

// Rows of each kind a copy met.
struct CopyCounts {
    size_t operationLog = 0;
    size_t sites = 0;
    size_t backups = 0;
    size_t alarmRecords = 0;
};

// What one copy brought, and what of the source the target held already.
struct CopyReport {
    CopyCounts copied;
    CopyCounts present;
};

// Copies a laptop's database into the team's: the operation log, the site
// book, the backup archive and the alarm archive. Rows are known by what
// they hold, not by their numbers in the source: a row the target holds
// already (as often as the source does) is not copied again, so a copy of a
// db.mdb made after its first copy brings only its new rows. A site whose
// name or address the target holds already stays as the target has it.
// Nothing is written into `from`. Each backup's snapshot goes through
// `storedSnapshot` on the way (which seals or redacts the codes of one an
// earlier version kept in clear). Throws DatabaseError; what was committed
// before stays and is not copied again.
using SnapshotFilter = std::function<std::string(const std::string& snapshot)>;
CopyReport CopyDatabase(DatabasePort& from, DatabasePort& to,
                        const SnapshotFilter& storedSnapshot = {});

// The database a copy reads: a db.mdb read into memory without writing to
// the file (a read-only file, or one of an earlier version, is read as it
// is), or a team database used as it is. Throws DatabaseError naming it.
std::unique_ptr<DatabasePort> OpenCopySource(const std::string& location);

}  // namespace tarnwick

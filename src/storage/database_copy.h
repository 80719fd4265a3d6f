#pragma once
#include <cstddef>

#include "storage/database_port.h"

namespace tarnwick {

// What one copy brought that the target did not hold yet.
struct CopyCounts {
    size_t operationLog = 0;
    size_t sites = 0;
    size_t backups = 0;
    size_t alarmRecords = 0;
};

// Copies a laptop's database into the team's: the operation log, the site
// book, the backup archive and the alarm archive, both brought up to date
// first. Each row of the log and of the backups goes once: the target notes
// which rows of which source it holds, so a second copy brings only rows
// written since. A site whose name or address the target holds already
// stays as the target has it. Throws DatabaseError; what was committed
// before stays and is not copied again.
CopyCounts CopyDatabase(DatabasePort& from, DatabasePort& to);

}  // namespace tarnwick

#pragma once
#include <memory>
#include <string>

#include "storage/database_opening.h"

namespace tarnwick::cli {

// Writes `text` on standard error unless this run wrote it already (several
// hosts' threads open the database, the operator reads each news once).
void SayOnce(const std::string& text);

// Where tarnwick-cli keeps the writes for a team database whose server is
// away: $TARNWICK_OUTBOX, else outbox.mdb in the user's data folder.
std::string CliOutboxPath();

// The writes the outbox kept for the team database at `location` and its
// server refused, named on standard error once (the next run on that
// database after the refusal).
void TellRefusals(const std::string& location);

// The database --database names (a db.mdb path or a "postgresql://"
// address), made or brought up to date, after TellRefusals. Throws
// UsageError naming the file or server and the cause when it cannot be used.
std::unique_ptr<DatabasePort> OpenCliDatabase(const std::string& location);

// The same for the commands that write rows (the operation log, the
// archives): a team database whose server is away is used through the
// outbox, and standard error says so once per run.
OpenedDatabase OpenCliDatabaseWithOutbox(const std::string& location);

}  // namespace tarnwick::cli

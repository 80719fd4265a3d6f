#pragma once
#include <string>
#include <vector>

#include "storage/database_port.h"

namespace tarnwick {

// The database grows by numbered migrations on top of the tables the seed
// makes. Table SchemaVersion holds one row per migration applied; a database
// without it (as the seed and every earlier version of the tool made it) is
// at version 0.
struct SchemaMigration {
    int version;
    std::vector<std::string> statements;
};

// Every migration, in order of their numbers (1, 2, ...).
const std::vector<SchemaMigration>& SchemaMigrations();
// The version the newest migration brings a database to.
int NewestSchemaVersion();

// The statement as the engine of `dialect` writes it.
std::string ForDialect(std::string sql, SqlDialect dialect);

// A database a newer version of the tool has brought further than this one
// knows: its rows are not written, since their meaning may have changed.
class NewerSchema : public DatabaseError {
  public:
    explicit NewerSchema(const std::string& what) : DatabaseError(what, DbErrorCode::NewerSchema) {}
};
std::string NewerSchemaText(int version);

// The version of `db`: 0 without the SchemaVersion table.
int SchemaVersionOf(DatabasePort& db);

// Applies the migrations `db` lacks, each in one transaction together with
// the row that records it, so that a failure leaves the database at the
// version before it with every row it held. A migration another process
// applied meanwhile is taken as done. Throws DatabaseError when one fails,
// NewerSchema (and changes nothing) when the database is newer than the tool.
void MigrateSchema(DatabasePort& db);

}  // namespace tarnwick

#include "storage/schema_migrations.h"

#include <charconv>

namespace tarnwick {
namespace {

// Plain SQL that the engines the database port serves all understand.
const std::vector<SchemaMigration> kMigrations = {
    {1,
     {"CREATE TABLE IF NOT EXISTS SchemaVersion (Version INTEGER NOT NULL PRIMARY KEY)",
      // The site book: hosts kept by name, with what the tool learned of them.
      "CREATE TABLE Site ("
      "Name TEXT NOT NULL PRIMARY KEY, "
      "Address TEXT NOT NULL UNIQUE, "
      "Port INTEGER NOT NULL DEFAULT 5200, "
      "Notes TEXT NOT NULL DEFAULT '', "
      "DeviceId TEXT NOT NULL DEFAULT '', "
      "HostType TEXT NOT NULL DEFAULT '', "
      "ModuleType TEXT NOT NULL DEFAULT '', "
      "LastSeen TEXT NOT NULL DEFAULT '', "
      "LastBackup TEXT NOT NULL DEFAULT '')"}},
};

}  // namespace

const std::vector<SchemaMigration>& SchemaMigrations() {
    return kMigrations;
}

int NewestSchemaVersion() {
    return kMigrations.back().version;
}

int SchemaVersionOf(DatabasePort& db) {
    std::vector<DbRow> rows;
    try {
        rows = db.Select("SELECT max(Version) AS Version FROM SchemaVersion");
    } catch (const DatabaseError&) {
        // No such table yet. Any other failure shows again when the first
        // migration runs, with its own cause.
        return 0;
    }
    const std::string text = rows.empty() ? std::string() : DbColumn(rows.front(), "Version");
    int version = 0;
    std::from_chars(text.data(), text.data() + text.size(), version);
    return version;
}

void MigrateSchema(DatabasePort& db) {
    int version = SchemaVersionOf(db);
    for (const SchemaMigration& migration : kMigrations) {
        if (migration.version <= version) continue;
        std::vector<DbStatement> statements;
        for (const std::string& sql : migration.statements) statements.push_back({sql, {}});
        statements.push_back({"INSERT INTO SchemaVersion (Version) VALUES (:Version)",
                              {{"Version", std::to_string(migration.version)}}});
        try {
            db.ExecuteAll(statements);
        } catch (const DatabaseError&) {
            // Another copy of the tool may have applied it first.
            if (SchemaVersionOf(db) < migration.version) throw;
        }
        version = migration.version;
    }
}

}  // namespace tarnwick

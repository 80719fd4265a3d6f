#pragma once
#include <string>

#include "storage/database_opening.h"
#include "support/temp_dir.h"

namespace tarnwick::testing {

// The two engines the database port runs on.
enum class Engine { Sqlite, Postgres };

// A fresh database of `engine`, opened as the tool opens it: a db.mdb in a
// folder of its own, or a new database on the test process's private
// PostgreSQL cluster.
struct EngineDatabase {
    explicit EngineDatabase(Engine engine);
    DatabasePort& db() { return *opened.db; }
    // Another connection to the same database, as a second copy of the tool
    // has.
    OpenedDatabase OpenAgain() const { return OpenDatabase(location); }

    TempDir dir;
    std::string location;
    OpenedDatabase opened;
};

// "Sqlite" / "Postgres", for the names of parameterised tests.
std::string EngineName(Engine engine);

}  // namespace tarnwick::testing

#include "support/engine_database.h"

#include "support/postgres_cluster.h"

namespace tarnwick::testing {

EngineDatabase::EngineDatabase(Engine engine)
    : location(engine == Engine::Sqlite ? dir.File("db.mdb") : SharedPostgres().FreshDatabase()),
      opened(OpenDatabase(location)) {}

std::string EngineName(Engine engine) {
    return engine == Engine::Sqlite ? "Sqlite" : "Postgres";
}

}  // namespace tarnwick::testing

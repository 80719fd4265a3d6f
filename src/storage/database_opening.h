#pragma once
#include <memory>
#include <string>

#include "storage/database_port.h"

namespace tarnwick {

class OutboxDatabase;

// The database at `location`, ready for the tool: a db.mdb path (made from
// the seed when missing, brought up to date by the migrations) or a
// "postgresql://" address of the team database.
struct OpenedDatabase {
    std::unique_ptr<DatabasePort> db;
    // Set for a team database opened with an outbox; owned by `db`.
    OutboxDatabase* outbox = nullptr;
    bool created = false;  // a db.mdb made from the seed
    // For the operator, naming the file or server and the cause; empty when
    // the database can be used. The tool runs on either way (a team
    // database with an outbox keeps its rows there).
    std::string problem;
    // The engine's own words of the problem, for the debug trace alone.
    std::string detail;
    // The tables of later versions could not be made; the rest works.
    std::string schemaProblem;
    // The outbox could not be made: the server is used alone, and its
    // writes fail while it is away.
    std::string outboxProblem;
};

// `outboxPath`: where a team database's writes wait while the server is
// away; without one, a server that cannot be reached is a problem and its
// writes fail.
OpenedDatabase OpenDatabase(const std::string& location, const std::string& outboxPath = {});

}  // namespace tarnwick

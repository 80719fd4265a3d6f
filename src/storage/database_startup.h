#pragma once
#include <string>

namespace tarnwick {

// What start-up found at the database path.
struct DatabaseStartup {
    bool created = false;  // made from the seed (missing or empty file)
    // For the operator, in words an installer understands; empty when the
    // database can be used. The tool runs on either way.
    std::string problem;
    // The tables added since the seed (the site book) could not be made;
    // empty when they are there. The rest of the database works.
    std::string schemaProblem;
};

// Makes the database ready before the code tables are read: a missing or
// empty file is made from the seed (its missing folders are made, for the
// user alone); a journal left by an interrupted write is rolled back; a
// folder, an unreadable file or a file that is not a database is named with
// its cause. A usable database gains the tables of later versions, keeping
// every row it holds.
DatabaseStartup PrepareDatabase(const std::string& path);

// A database file others than its user may read (it keeps snapshots with
// installer codes): the line that says so; empty for a file of mode 0600 or
// none. The mode is left as it is.
std::string WideModeText(const std::string& path);

}  // namespace tarnwick

#pragma once
#include <string>

namespace tarnwick::bench {

// Four writers at once, each with a connection of its own as four copies of
// the tool have, write `rows` operation-log rows each into the database at
// `location` (a db.mdb path or a postgresql:// address); prints the rows per
// second and whether every row arrived once. Returns 1 when one did not.
int MeasureLogWriters(const std::string& location, int rows);

}  // namespace tarnwick::bench

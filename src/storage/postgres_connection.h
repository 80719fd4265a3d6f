#pragma once
#include <string>

#include "storage/database_port.h"

struct pg_conn;

namespace tarnwick {

// Seconds a connection attempt may take before the server counts as away.
inline constexpr int kPostgresConnectTimeoutMs = 5000;

// A new connection to the team database at `url`, made within `timeoutMs`.
// Throws DatabaseUnreachable naming `server` and the cause in words; libpq's
// own text (with the address's password left out) is its detail.
pg_conn* ConnectPostgres(const std::string& url, const std::string& server, int timeoutMs);

// The kind of failure a SQLSTATE names; none at all is a connection that
// broke before the server answered.
DbErrorCode PostgresErrorCode(const std::string& sqlstate);

// The SQLSTATE the server sent in a connection's error text ("FATAL:  3D000:
// ..."), written there because libpq offers no other way to it before a
// connection is made; empty when libpq failed on its own.
std::string SqlStateOfConnectError(const std::string& text);

}  // namespace tarnwick

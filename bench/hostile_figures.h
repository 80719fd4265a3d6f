#pragma once
#include <string>

namespace tarnwick::bench {

// A snapshot of `host` padded to the largest file a snapshot may be (as many
// keys and as many bytes as it may hold), written twice with one key changed,
// read back and compared; prints the time against the budget of one second.
int MeasureLargeCompare(const std::string& host);

// The upgrade server check against a server that ends its listing just
// before the check's time is up and never answers QUIT, and against a name
// whose two name servers stay silent (when /etc/resolv.conf names the
// silent servers this figure binds, as tools/bench.sh arranges); prints the
// times against the check's limits.
int MeasureFtpLimits();

}  // namespace tarnwick::bench

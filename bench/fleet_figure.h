#pragma once
#include <string>

namespace tarnwick::bench {

// The fleet status over `answering` simulated hosts at consecutive addresses
// from `baseIp`, then the same with `silent` addresses nobody answers spread
// among them: the first sweep's wall time, the CPU between sweeps and the
// resident memory of the poller and the board with every row, over
// `sweeps` sweeps of the standard period. Prints the figures beside their
// budgets; returns 1 when a budget is missed or a host that answers is
// shown offline.
int MeasureFleet(const std::string& baseIp, int answering, int silent, int sweeps);

}  // namespace tarnwick::bench

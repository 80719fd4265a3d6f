#pragma once
#include <string>

namespace tarnwick::bench {

// The fleet status over `hosts` hosts: the simulator plays `hosts`
// consecutive addresses from `baseIp`. First every host answers, over
// `sweeps` sweeps of the standard period (the CPU between sweeps and the
// resident memory of the poller and the board with every row); then 10 %
// and 30 % of the fleet are addresses beyond the played ones, where nobody
// answers, spread among the rest. Each sweep's wall time is printed beside
// its budget (two time-outs); returns 1 when a budget is missed or a host
// is shown in the wrong state.
int MeasureFleet(const std::string& baseIp, int hosts, int sweeps);

}  // namespace tarnwick::bench

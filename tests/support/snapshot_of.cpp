#include "support/snapshot_of.h"

namespace tarnwick::testing {

ConfigSnapshot SnapshotOf(const char* const (&bodies)[8], const std::string& heartbeat,
                          const std::string& systemStatus) {
    DeviceParams params;
    SectionBodies reads;
    for (int i = 0; i < kProgrammingSectionCount; ++i) reads.emplace_back(i, bodies[i]);
    StoreSectionReads(params, reads);
    params.Set("GprsHeartbeatInterval", heartbeat);
    params.Set("SystemStatus", systemStatus);
    params.Set("HostModel", "TWK-16 V2.30");
    ConfigSnapshot s;
    s.host = "10.231.16.1";
    s.model = params.Get("HostModel");
    s.time = "2026-12-07 08:30:05";
    s.toolVersion = "1.0.8";
    for (int i = 0; i < kProgrammingSectionCount; ++i)
        s.sections[static_cast<size_t>(i)] = StoredSectionBody(params, i);
    s.keys = params.Entries();
    return s;
}

}  // namespace tarnwick::testing

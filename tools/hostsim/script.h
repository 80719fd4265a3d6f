#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim_host.h"

namespace tarnwick::hostsim {

// Scripted life for training (--script FILE), on top of the fault rules:
// {"events": [
//   {"at": 5, "alarm": [3, 12], "code": "03"},   zones 3 and 12 in alarm (the
//                                                 code of the history record,
//                                                 03 burglary by default)
//   {"at": 8, "fault": "mains", "for": 60},      mains lost, back after 60 s
//                                                 (without "for": for good);
//                                                 also "battery", "phone", "tamper"
//   {"at": 20, "silent": 10},                    nothing answered for 10 s
//   {"at": 30, "garbled": 2}                     the next 2 replies garbled
// ]}
// "at" counts seconds from the start (fractions allowed). An event with
// "hosts": ["10.231.1.1", ...] happens on those hosts, else on every host.
struct ScriptEvent {
    enum class Kind { Alarm, Fault, Recovery, Silent, Garbled };
    Kind kind = Kind::Alarm;
    uint64_t atMs = 0;
    std::vector<std::string> hosts;  // played addresses; empty: every host
    std::vector<int> zones;          // Alarm: zones 1-16
    uint8_t alarmCode = 0x03;        // Alarm
    std::string fault;               // Fault and Recovery
    int lengthMs = 0;                // Silent
    int replies = 0;                 // Garbled
};

// The events in time order, a fault's recovery as an event of its own.
// Throws std::runtime_error naming the event and the field.
std::vector<ScriptEvent> LoadScript(const std::string& path);
std::vector<ScriptEvent> ParseScript(const std::string& text);

// Lets the event happen on one host at monotonic time `nowMs`; returns what
// happened, for the log.
std::string Happen(const ScriptEvent& event, SimHost& host, uint64_t nowMs);

}  // namespace tarnwick::hostsim

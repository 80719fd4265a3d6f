#include "script.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "fields.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {
namespace {

using nlohmann::json;

// A fault the system status shows: the bit of its lamp, whether the fault
// lights it (tamper) or darkens it, and the codes of the history records.
struct StatusFault {
    const char* name;
    uint8_t bit;
    bool lights;
    uint8_t lostCode, backCode;
};
constexpr StatusFault kFaults[] = {
    {"mains", 0x01, false, 0x20, 0x21},
    {"battery", 0x02, false, 0x22, 0x23},
    {"phone", 0x10, false, 0x26, 0x27},
    {"tamper", 0x04, true, 0x0C, 0x1C},
};
constexpr uint8_t kAlarmSoundBit = 0x20;
constexpr uint8_t kZoneAlarmKind = 0x90;
constexpr uint8_t kSystemEventKind = 0x93;

const StatusFault* FindFault(const std::string& name) {
    for (const StatusFault& f : kFaults)
        if (name == f.name) return &f;
    return nullptr;
}

int Milliseconds(const json& value, const std::string& what) {
    if (!value.is_number() || value.get<double>() < 0 || value.get<double>() > 7 * 86400)
        throw std::runtime_error(what + " needs seconds (0 to a week)");
    return static_cast<int>(value.get<double>() * 1000 + 0.5);
}

void ReadAlarm(const json& j, ScriptEvent& e, const std::string& where) {
    e.kind = ScriptEvent::Kind::Alarm;
    e.zones = j["alarm"].get<std::vector<int>>();
    if (e.zones.empty() ||
        std::any_of(e.zones.begin(), e.zones.end(), [](int z) { return z < 1 || z > 16; }))
        throw std::runtime_error(where + ": \"alarm\" needs zones 1 to 16");
    const std::string code = ToUpper(j.value("code", std::string("03")));
    if (code.size() != 2 || !IsHexText(code))
        throw std::runtime_error(where + ": \"code\" needs two hex digits");
    e.alarmCode = static_cast<uint8_t>(HexToInt(code));
}

void ReadKind(const json& j, ScriptEvent& e, const std::string& where) {
    const int kinds = static_cast<int>(j.contains("alarm") + j.contains("fault") +
                                       j.contains("silent") + j.contains("garbled"));
    if (kinds != 1)
        throw std::runtime_error(where +
                                 ": needs one of \"alarm\", \"fault\", \"silent\", \"garbled\"");
    if (j.contains("alarm")) ReadAlarm(j, e, where);
    if (j.contains("fault")) {
        e.kind = ScriptEvent::Kind::Fault;
        e.fault = j["fault"].get<std::string>();
        if (!FindFault(e.fault))
            throw std::runtime_error(where + ": \"fault\" is mains, battery, phone or tamper");
    }
    if (j.contains("silent")) {
        e.kind = ScriptEvent::Kind::Silent;
        e.lengthMs = Milliseconds(j["silent"], where + ": \"silent\"");
    }
    if (j.contains("garbled")) {
        e.kind = ScriptEvent::Kind::Garbled;
        e.replies = j["garbled"].get<int>();
        if (e.replies < 1)
            throw std::runtime_error(where + ": \"garbled\" needs a count of replies");
    }
}

ScriptEvent ReadEvent(const json& j, const std::string& where) {
    if (!j.is_object()) throw std::runtime_error(where + " must be a JSON object");
    for (const auto& [key, value] : j.items())
        if (key != "at" && key != "hosts" && key != "alarm" && key != "code" && key != "fault" &&
            key != "for" && key != "silent" && key != "garbled")
            throw std::runtime_error(where + ": unknown field \"" + key + "\"");
    if (!j.contains("at")) throw std::runtime_error(where + ": needs \"at\"");
    ScriptEvent e;
    e.atMs = static_cast<uint64_t>(Milliseconds(j["at"], where + ": \"at\""));
    if (j.contains("hosts")) e.hosts = j["hosts"].get<std::vector<std::string>>();
    ReadKind(j, e, where);
    if (j.contains("for") && e.kind != ScriptEvent::Kind::Fault)
        throw std::runtime_error(where + ": \"for\" belongs to a fault");
    return e;
}

}  // namespace

std::vector<ScriptEvent> ParseScript(const std::string& text) {
    const json j = json::parse(text);
    if (!j.is_object() || !j.contains("events") || !j["events"].is_array())
        throw std::runtime_error("a script is {\"events\": [...]}");
    std::vector<ScriptEvent> events;
    for (size_t i = 0; i < j["events"].size(); ++i) {
        const json& item = j["events"][i];
        const std::string where = "event " + std::to_string(i + 1);
        try {
            events.push_back(ReadEvent(item, where));
        } catch (const json::exception& e) {
            throw std::runtime_error(where + ": " + e.what());
        }
        if (item.contains("for")) {
            ScriptEvent back = events.back();
            back.kind = ScriptEvent::Kind::Recovery;
            back.atMs += static_cast<uint64_t>(Milliseconds(item["for"], where + ": \"for\""));
            events.push_back(back);
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.atMs < b.atMs; });
    return events;
}

std::vector<ScriptEvent> LoadScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read the script " + path);
    std::stringstream text;
    text << in.rdbuf();
    try {
        return ParseScript(text.str());
    } catch (const std::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

std::string Happen(const ScriptEvent& e, SimHost& host, uint64_t nowMs) {
    WorkingStatus& s = host.status;
    switch (e.kind) {
        case ScriptEvent::Kind::Alarm: {
            std::string zones;
            for (int z : e.zones) {
                const auto bit = static_cast<uint8_t>(1u << ((z - 1) % 8));
                (z <= 8 ? s.zones1_8 : s.zones9_16) |= bit;
                AppendHistory(host, kZoneAlarmKind, z <= 8 ? 0x00 : 0x08, bit, 0x00, e.alarmCode);
                zones += (zones.empty() ? "" : ", ") + std::to_string(z);
            }
            s.system |= kAlarmSoundBit;
            return "alarm on zone(s) " + zones;
        }
        case ScriptEvent::Kind::Fault:
        case ScriptEvent::Kind::Recovery: {
            const StatusFault& f = *FindFault(e.fault);
            const bool faulty = e.kind == ScriptEvent::Kind::Fault;
            if (faulty == f.lights)
                s.system |= f.bit;
            else
                s.system &= static_cast<uint8_t>(~f.bit);
            AppendHistory(host, kSystemEventKind, 0, 0, 0, faulty ? f.lostCode : f.backCode);
            return e.fault + (faulty ? " fault" : " back");
        }
        case ScriptEvent::Kind::Silent:
            host.silentUntilMs = nowMs + static_cast<uint64_t>(e.lengthMs);
            return "silent for " + std::to_string(e.lengthMs) + " ms";
        case ScriptEvent::Kind::Garbled: {
            FaultRule garble;
            garble.badChecksum = true;
            garble.times = e.replies;
            host.faults.push_back(garble);
            return "the next " + std::to_string(e.replies) + " reply(ies) garbled";
        }
    }
    return {};
}

}  // namespace tarnwick::hostsim

#include "faults.h"

#include <nlohmann/json.hpp>
#include <random>
#include <stdexcept>

#include "protocol/hex_text.h"

namespace tarnwick::hostsim {

FaultRule ParseFault(const nlohmann::json& j) {
    if (!j.is_object()) throw std::runtime_error("a fault must be a JSON object");
    static const char* kKnown[] = {"match",  "data",         "silent", "badChecksum",
                                   "strays", "strayRequest", "result", "delayMs",
                                   "repeat", "repeatGapMs",  "times",  "jitterMs"};
    for (const auto& [key, value] : j.items()) {
        bool known = false;
        for (const char* k : kKnown) known = known || key == k;
        if (!known) throw std::runtime_error("unknown fault field \"" + key + "\"");
    }
    FaultRule r;
    r.match = ToUpper(j.value("match", std::string("*")));
    r.dataPrefix = ToUpper(j.value("data", std::string()));
    r.silent = j.value("silent", false);
    r.badChecksum = j.value("badChecksum", false);
    r.strays = j.value("strays", 0);
    r.strayRequest = ToUpper(j.value("strayRequest", r.strayRequest));
    if (j.contains("result")) r.result = j.at("result").get<int>();
    r.delayMs = j.value("delayMs", 0);
    r.jitterMs = j.value("jitterMs", 0);
    if (r.jitterMs < 0) throw std::runtime_error("jitterMs must not be negative");
    r.repeat = j.value("repeat", 1);
    r.repeatGapMs = j.value("repeatGapMs", 0);
    r.times = j.value("times", -1);
    if (r.match != "*" && r.match.size() != 2 && r.match.size() != 4)
        throw std::runtime_error("fault match must be \"*\", a class or class and command");
    if (r.strayRequest.size() < 4)
        throw std::runtime_error("strayRequest needs at least a class and a command");
    return r;
}

std::vector<FaultRule> ParseFaults(const nlohmann::json& j) {
    std::vector<FaultRule> rules;
    if (j.is_null()) return rules;
    if (!j.is_array()) throw std::runtime_error("faults must be a JSON array");
    for (const auto& item : j) rules.push_back(ParseFault(item));
    return rules;
}

bool Matches(const FaultRule& rule, const std::string& classAndCommand, const std::string& data) {
    if (rule.times >= 0 && rule.used >= rule.times) return false;
    if (rule.match != "*" && classAndCommand.compare(0, rule.match.size(), rule.match) != 0)
        return false;
    return data.compare(0, rule.dataPrefix.size(), rule.dataPrefix) == 0;
}

namespace {

void Merge(FaultEffect& e, const FaultRule& r) {
    e.any = true;
    e.silent = e.silent || r.silent;
    e.badChecksum = e.badChecksum || r.badChecksum;
    if (r.strays > e.strays) {
        e.strays = r.strays;
        e.strayRequest = r.strayRequest;
    }
    if (!e.result && r.result) e.result = r.result;
    e.delayMs += r.delayMs;
    if (r.jitterMs > 0) {
        // Several hosts with jitter answer one broadcast in a new order each time.
        static std::minstd_rand random(std::random_device{}());
        e.delayMs += static_cast<int>(random() % static_cast<unsigned>(r.jitterMs + 1));
    }
    if (r.repeat > e.repeat) {
        e.repeat = r.repeat;
        e.repeatGapMs = r.repeatGapMs;
    }
}

}  // namespace

FaultEffect Apply(std::vector<FaultRule>& hostRules, std::vector<FaultRule>& globalRules,
                  const std::string& classAndCommand, const std::string& data) {
    FaultEffect effect;
    for (auto* rules : {&hostRules, &globalRules})
        for (FaultRule& r : *rules)
            if (Matches(r, classAndCommand, data)) {
                ++r.used;
                Merge(effect, r);
            }
    return effect;
}

std::string Describe(const FaultEffect& e) {
    if (!e.any) return {};
    std::string text = "fault:";
    if (e.silent) text += " silent";
    if (e.badChecksum) text += " bad-checksum";
    if (e.strays) text += " strays=" + std::to_string(e.strays);
    if (e.result) text += " result=" + std::to_string(*e.result);
    if (e.delayMs) text += " delay=" + std::to_string(e.delayMs) + "ms";
    if (e.repeat > 1) text += " repeat=" + std::to_string(e.repeat);
    return text;
}

}  // namespace tarnwick::hostsim

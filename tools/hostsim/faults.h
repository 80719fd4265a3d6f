#pragma once
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::hostsim {

// A way to misbehave, for the requests it matches:
//   {"match": "1181", "data": "0804", "silent": true}
// `match` is a module class ("11"), class and command ("1181") or "*";
// `data` a prefix of the request data. Effects may be combined.
struct FaultRule {
    std::string match = "*";
    std::string dataPrefix;
    bool silent = false;                    // no reply at all
    bool badChecksum = false;               // the reply's checksum byte is wrong
    int strays = 0;                         // datagrams that do not match, before the reply
    std::string strayRequest = "12830B00";  // the stray is this request's reply
    std::optional<int> result;              // result byte forced (3 refused, 2 failure, ...)
    int delayMs = 0;                        // the reply leaves this much later
    int jitterMs = 0;                       // and a random 0 to this much more
    int repeat = 1;                         // the reply is sent this many times
    int repeatGapMs = 0;                    // between the copies
    int times = -1;                         // applies to this many requests, -1 for all
    int used = 0;
};

// The combined effect of every rule that matched one request.
struct FaultEffect {
    bool silent = false;
    bool badChecksum = false;
    int strays = 0;
    std::string strayRequest = "12830B00";
    std::optional<int> result;
    int delayMs = 0;
    int repeat = 1;
    int repeatGapMs = 0;
    bool any = false;
};

FaultRule ParseFault(const nlohmann::json& j);
std::vector<FaultRule> ParseFaults(const nlohmann::json& j);
bool Matches(const FaultRule& rule, const std::string& classAndCommand, const std::string& data);
// Applies matching rules of both lists (the host's first) and counts their use.
FaultEffect Apply(std::vector<FaultRule>& hostRules, std::vector<FaultRule>& globalRules,
                  const std::string& classAndCommand, const std::string& data);
// Short text of an effect for the log.
std::string Describe(const FaultEffect& effect);

}  // namespace tarnwick::hostsim

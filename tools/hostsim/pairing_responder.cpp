// Module class 13: pairing wireless devices. A pair command puts the host in
// pairing state; the device is "triggered" after the configured delay and
// the host then reports the learning result by itself. A pause leaves
// pairing state, and a report still waiting is then never sent.
#include <algorithm>

#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"

namespace tarnwick::hostsim {
namespace {

constexpr const char* kMarker = "AB";

enum State : unsigned {
    kNoSubAddress = 0x00,
    kPairingState = 0x01,
    kAlreadyPaired = 0x02,
    kLearned = 0x03,
    kLearnedBefore = 0x04,
    kLeftPairing = 0x05,
    kDeleted = 0x10,
    kNotDeleted = 0x11,
};

bool Holds(const std::vector<std::string>& slots, const std::string& slot) {
    return std::find(slots.begin(), slots.end(), slot) != slots.end();
}

std::string Answer(int result, const std::string& slot, unsigned state) {
    return ByteHex(static_cast<unsigned>(result)) + kMarker + slot.substr(0, 2) + ByteHex(state);
}

std::optional<Reply> Pause(SimHost& host, const Request& request) {
    Pairing& p = host.pairing;
    const std::string slot = p.active ? p.slot : "00";
    p.active = false;
    return Reply{"13", "03", Answer(request.Result(1), slot, kLeftPairing), false,
                 "pairing paused"};
}

std::optional<Reply> Pair(SimHost& host, const Request& request) {
    Pairing& p = host.pairing;
    const std::string slot = DataBytes(request.data, 2, 3);
    if (slot.size() != 6) return std::nullopt;
    const int result = request.Result(1);
    unsigned state = kPairingState;
    if (Holds(p.missing, slot))
        state = kNoSubAddress;
    else if (Holds(p.paired, slot))
        state = kAlreadyPaired;
    Reply reply{"13", "01", Answer(result, slot, state), false, "pair " + slot};
    if (result != 1 || state != kPairingState) return reply;
    p.active = true;
    p.slot = slot;
    const uint64_t generation = ++p.generation;
    if (p.learnAfterMs >= 0) {
        const unsigned learned = p.duplicate ? kLearnedBefore : kLearned;
        host.followUp = FollowUp{"03", Answer(1, slot, learned), p.learnAfterMs,
                                 [&host, generation, slot] {
                                     Pairing& now = host.pairing;
                                     if (!now.active || now.generation != generation) return false;
                                     now.active = false;
                                     if (!Holds(now.paired, slot)) now.paired.push_back(slot);
                                     return true;
                                 },
                                 "learning report " + slot};
    }
    return reply;
}

std::optional<Reply> Delete(SimHost& host, const Request& request) {
    Pairing& p = host.pairing;
    const std::string slot = DataBytes(request.data, 2, 3);
    if (slot.size() != 6) return std::nullopt;
    const int result = request.Result(1);
    const bool known = Holds(p.paired, slot);
    if (result == 1 && known) p.paired.erase(std::find(p.paired.begin(), p.paired.end(), slot));
    return Reply{"13",
                 "02",
                 Answer(result, slot, known ? kDeleted : kNotDeleted),
                 false,
                 "delete " + slot,
                 result == 1 && known};
}

}  // namespace

std::optional<Reply> RespondPairing(SimHost& host, const Request& request) {
    const std::string mark = DataBytes(request.data, 1, 1);
    if (request.command == "81" && request.data == "18030000") return Pause(host, request);
    if (request.command == "81" && mark == "18") return Pair(host, request);
    if (request.command == "82" && mark == "19") return Delete(host, request);
    return std::nullopt;
}

}  // namespace tarnwick::hostsim

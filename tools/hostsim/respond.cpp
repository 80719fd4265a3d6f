#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "responder.h"

namespace tarnwick::hostsim {

bool ParseRequest(const std::string& frame, Request& request) {
    if (!VerifyFrame(frame) || Slice(frame, 5, 6) != "82" || frame.size() < 16) return false;
    request.frame = frame;
    request.moduleClass = Slice(frame, 9, 10);
    request.command = Slice(frame, 11, 12);
    request.data = frame.size() > 16 ? frame.substr(12, frame.size() - 16) : std::string();
    return true;
}

std::optional<Reply> Respond(SimHost& host, const Request& request) {
    const std::string& c = request.moduleClass;
    if (c == "01") return RespondGprs(host, request);
    if (c == "02") return RespondNetwork(host, request);
    if (c == "10") return RespondControl(host, request);
    if (c == "11") return RespondProgramming(host, request);
    if (c == "12") return RespondAlarmHost(host, request);
    if (c == "13") return RespondPairing(host, request);
    if (c == "50") return RespondUpgrade(host, request);
    return std::nullopt;
}

}  // namespace tarnwick::hostsim

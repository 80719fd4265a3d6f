#pragma once
#include <optional>
#include <string>

#include "sim_host.h"

namespace tarnwick::hostsim {

// One request as a host sees it (frame upper-cased and unescaped).
struct Request {
    std::string frame;
    std::string moduleClass;          // two hex digits
    std::string command;              // two hex digits
    std::string data;                 // hex text between command and check code
    bool broadcast = false;           // sent to 255.255.255.255
    std::optional<int> forcedResult;  // a fault decides the result byte

    std::string ClassAndCommand() const { return moduleClass + command; }
    // The result byte to send: the forced one, else what the host decided.
    int Result(int natural) const { return forcedResult.value_or(natural); }
};

// What a host answers. Search answers and IP change results go to the
// requester's listener (port 5200), every other reply to the port it came from.
struct Reply {
    std::string moduleClass;
    std::string command;
    std::string data;
    bool toListener = false;
    std::string note;      // for the log
    bool changed = false;  // the host's kept state changed (see host_state.h)
};

// The responder of each module class; nullopt when the host does not answer.
std::optional<Reply> RespondGprs(SimHost& host, const Request& request);
std::optional<Reply> RespondNetwork(SimHost& host, const Request& request);
std::optional<Reply> RespondProgramming(SimHost& host, const Request& request);
std::optional<Reply> RespondControl(SimHost& host, const Request& request);
std::optional<Reply> RespondAlarmHost(SimHost& host, const Request& request);
std::optional<Reply> RespondPairing(SimHost& host, const Request& request);
std::optional<Reply> RespondUpgrade(SimHost& host, const Request& request);

// Picks the responder of the request's class.
std::optional<Reply> Respond(SimHost& host, const Request& request);
// Parses a frame; false when it is not a well-formed request (sender mark 82).
bool ParseRequest(const std::string& normalizedFrame, Request& request);

}  // namespace tarnwick::hostsim

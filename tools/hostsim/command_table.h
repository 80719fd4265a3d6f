#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "responder.h"

namespace tarnwick::hostsim {

// One command a module answers: a row of the module's table of request →
// reply. A row answers in one of three ways:
//  - a query (`read`): the result byte, then on success what `read` gives;
//  - a setting (`apply`): the result byte alone; the module takes the data
//    when `accepts` says it fits (no `accepts`: always), and `apply` stores
//    it only when the result is success (a fault may force either);
//  - anything else (`answer`): the row builds the whole reply.
struct Command {
    std::string_view request = {};  // the request's command, two hex digits
    std::string_view reply = {};    // the reply's command
    std::string_view note = {};     // for the log
    std::string (*read)(const SimHost&, const Request&) = nullptr;
    bool (*accepts)(const SimHost&, std::string_view data) = nullptr;
    void (*apply)(SimHost&, std::string_view data) = nullptr;
    std::optional<Reply> (*answer)(SimHost&, const Request&) = nullptr;
};

// The reply of the table's row for the request's command; nullopt when no
// row has it. A setting that was applied marks the reply as a change.
std::optional<Reply> Dispatch(std::span<const Command> table, std::string_view moduleClass,
                              SimHost& host, const Request& request);

// The result byte as two hex digits.
std::string ResultHex(int result);

}  // namespace tarnwick::hostsim

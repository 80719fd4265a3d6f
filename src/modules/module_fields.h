#pragma once
#include <span>
#include <string>
#include <string_view>

#include "protocol/name_value_list.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {

// Pieces shared by the GPRS module and the network module.

// A 16-bit number of the modules, low byte at byte `low` and high byte after
// it, as decimal text.
std::string LowFirstNumber(const ReplyBytes& bytes, size_t low);

// The text of a fixed-width text field, bytes [from, to] of a reply (00 bytes
// skipped wherever they stand).
std::string TextField(const ReplyBytes& bytes, size_t from, size_t to);

// A text field of a reply, bytes [from, to], stored under family + name.
struct ReplyField {
    std::string_view name;
    size_t from;
    size_t to;
};

// Terminal parameter replies 0C and 3D: the same layout in both modules. The
// last field ends at the last byte the reply must hold.
inline constexpr ReplyField kTerminalParams1[] = {{"DeviceID", 8, 27},
                                                  {"APN1", 28, 42},
                                                  {"IP1", 43, 57},
                                                  {"Port1", 58, 62},
                                                  {"DomainName1", 63, 112}};
inline constexpr ReplyField kTerminalParams2[] = {
    {"APN2", 8, 22}, {"IP2", 23, 37}, {"Port2", 38, 42}, {"DomainName2", 43, 92}};

// Stores the text fields of a terminal parameter reply under family + name
// when the reply holds them all; the network module keeps no APN.
// Returns false, storing nothing, when the reply is too short.
bool StoreTerminalParams(const ReplyBytes& bytes, std::span<const ReplyField> fields,
                         std::string_view family, bool withApn, DeviceParams& params);

}  // namespace tarnwick

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

// How a reply field becomes its stored value.
enum class FieldForm {
    Text,    // a text field, 00 bytes skipped
    Hex,     // the bytes as hex digits, kept raw
    Byte,    // one byte as two hex digits
    Number,  // a 16-bit number, low byte first, as decimal text
};

// A field of a reply, bytes [from, to], stored under family + name.
struct ReplyField {
    std::string_view name;
    size_t from;
    size_t to;
    FieldForm form = FieldForm::Text;
};

// Stores the fields of a short or whole reply in order: every field the reply
// holds completely, then the part present of the first field it cuts (a text
// is shortened; a raw, byte or number field that is cut stores nothing), and
// nothing past it. Fields whose name starts with `skip` (when given) are not
// stored but still count for where the reply ends.
void StoreReplyFields(const ReplyBytes& bytes, std::span<const ReplyField> fields,
                      std::string_view family, DeviceParams& params, std::string_view skip = {});

// Terminal parameter replies 0C and 3D: the same layout in both modules.
inline constexpr ReplyField kTerminalParams1[] = {{"DeviceID", 8, 27},
                                                  {"APN1", 28, 42},
                                                  {"IP1", 43, 57},
                                                  {"Port1", 58, 62},
                                                  {"DomainName1", 63, 112}};
inline constexpr ReplyField kTerminalParams2[] = {
    {"APN2", 8, 22}, {"IP2", 23, 37}, {"Port2", 38, 42}, {"DomainName2", 43, 92}};

// Stores the text fields of a terminal parameter reply under family + name as
// StoreReplyFields does; the network module keeps no APN.
void StoreTerminalParams(const ReplyBytes& bytes, std::span<const ReplyField> fields,
                         std::string_view family, bool withApn, DeviceParams& params);

}  // namespace tarnwick

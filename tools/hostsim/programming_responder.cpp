// Module class 11: the eight programming sections, read and written whole.
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"

namespace tarnwick::hostsim {
namespace {

constexpr int kRefused = 3;

}  // namespace

std::optional<Reply> RespondProgramming(SimHost& host, const Request& request) {
    const int marker = DataByte(request.data, 1);
    const int section = DataByte(request.data, 2);
    const bool known = section >= 0 && section < 8;
    if (request.command == "81") {
        // Read: result, 99, the section number, the body.
        const int result = request.Result(marker == 0x08 && known ? 1 : 2);
        std::string data = ByteHex(static_cast<unsigned>(result)) + "99" +
                           ByteHex(static_cast<unsigned>(section < 0 ? 0 : section));
        if (result == 1) data += host.sections[static_cast<size_t>(section)];
        return Reply{"11", "01", data, false, "section read"};
    }
    if (request.command == "82") {
        const std::string body = request.data.size() > 4 ? request.data.substr(4) : "";
        // The host keeps a body whole or refuses it: one of the wrong length
        // or with a stray digit is answered 3 and changes nothing.
        const bool fits = marker == 0x09 && known &&
                          body.size() == kSectionDigits[static_cast<size_t>(section)] &&
                          IsHexText(body);
        const int result = request.Result(fits ? 1 : kRefused);
        if (result == 1) host.sections[static_cast<size_t>(section)] = body;
        return Reply{"11",
                     "02",
                     ByteHex(static_cast<unsigned>(result)),
                     false,
                     result == 1 ? "section written" : "section write not taken",
                     result == 1};
    }
    return std::nullopt;
}

}  // namespace tarnwick::hostsim

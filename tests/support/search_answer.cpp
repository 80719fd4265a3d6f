#include "support/search_answer.h"

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick::testing {

std::string SearchAnswer(const SearchAnswerFields& f) {
    const std::string data = TextToHexField(f.ip, 15) + TextToHexField(f.port, 5) +
                             TextToHexField(f.deviceId, 20) + TextToHexField(f.module, 50) +
                             TextToHexField(f.hostType, 50) + TextToHexField(f.mask, 15) +
                             TextToHexField(f.gateway, 15);
    return BuildReplyFrame("02", "47", data);
}

std::string SearchAnswer(const std::string& ip, const std::string& hostType) {
    SearchAnswerFields fields;
    fields.ip = ip;
    fields.hostType = hostType;
    return SearchAnswer(fields);
}

std::string BareSearchAnswer(const std::string& ip) {
    return SearchAnswer({.ip = ip,
                         .port = "",
                         .deviceId = "",
                         .module = "",
                         .hostType = "",
                         .mask = "",
                         .gateway = ""});
}

}  // namespace tarnwick::testing

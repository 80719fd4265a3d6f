#include "protocol/frame_codec.h"

#include "protocol/hex_text.h"
#include "protocol/operator_port.h"

namespace tarnwick {
namespace {

// The value of a pair IsHexPair accepted; digit by digit, for the sums run
// over every byte of every frame (ten thousand search answers at once).
int PairValue(std::string_view pair) {
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    return digit(pair[0]) * 16 + digit(pair[1]);
}

bool IsHexPair(std::string_view pair) {
    auto hex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    };
    return pair.size() == 2 && hex(pair[0]) && hex(pair[1]);
}

}  // namespace

std::string HexChecksum(std::string_view hex, OperatorPort* op) {
    if (hex.size() % 2 != 0) {
        if (op) op->ShowMessage(std::string(kOddDigitMessage));
        return {};
    }
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        std::string_view pair = hex.substr(i, 2);
        sum += IsHexPair(pair) ? static_cast<unsigned>(PairValue(pair)) : 0u;
        if (sum > 0xFF) sum = (sum & 0xFF) + (sum >> 8);
    }
    return ByteHex(sum);
}

std::string HexCheckCode(std::string_view hex, OperatorPort* op) {
    unsigned code = static_cast<unsigned>(HexToInt(HexChecksum(hex, op))) & 0x7F;
    return ByteHex(code == 0 ? 0x7F : code);
}

std::string EscapeFrameBody(std::string_view hex) {
    std::string out;
    out.reserve(hex.size() + 8);
    size_t i = 0;
    for (; i + 1 < hex.size(); i += 2) {
        std::string_view pair = hex.substr(i, 2);
        if (pair == "7E")
            out += "7D02";
        else if (pair == "7D")
            out += "7D01";
        else
            out += pair;
    }
    out += hex.substr(i);
    return out;
}

std::string UnescapeFrame(std::string_view hex) {
    std::string out;
    out.reserve(hex.size());
    size_t i = 0;
    while (i + 1 < hex.size()) {
        std::string_view pair = hex.substr(i, 2);
        std::string_view next = hex.substr(i + 2, 2);
        if (pair == "7D" && next == "02") {
            out += "7E";
            i += 4;
        } else if (pair == "7D" && next == "01") {
            out += "7D";
            i += 4;
        } else {
            out += pair;
            i += 2;
        }
    }
    out += hex.substr(i);
    return out;
}

FrameFault FindFrameFault(std::string_view frame) {
    if (Trim(frame).empty() || frame.size() % 2 != 0) return FrameFault::Checksum;
    if (ToUpper(frame.substr(0, 2)) != "7E") return FrameFault::Checksum;
    if (ToUpper(frame.substr(frame.size() - 2)) != "7E") return FrameFault::Checksum;
    std::string_view inner = frame.substr(2, frame.size() - 4);
    std::string_view checksum = inner.substr(0, 2);
    if (ToUpper(checksum) != HexChecksum(inner.substr(checksum.size())))
        return FrameFault::Checksum;
    // Without checksum and sender mark, the last pair is the check code of
    // everything before it.
    std::string_view covered = inner.size() > 4 ? inner.substr(4) : std::string_view{};
    std::string_view code = covered.size() >= 2 ? covered.substr(covered.size() - 2) : covered;
    if (ToUpper(code) != HexCheckCode(covered.substr(0, covered.size() - code.size())))
        return FrameFault::CheckCode;
    return FrameFault::None;
}

bool VerifyFrame(std::string_view frame) {
    return FindFrameFault(frame) == FrameFault::None;
}

namespace {

// Marks, class, command and data with check code and checksum, escaped
// between the delimiters. The check code covers the addressee mark on.
std::string SealFrame(std::string_view senderMark, std::string_view addresseeMark,
                      std::string_view moduleClass, std::string_view command, std::string_view data,
                      OperatorPort* op) {
    std::string body(addresseeMark);
    body += moduleClass;
    body += command;
    body += data;
    std::string summed = std::string(senderMark) + body + HexCheckCode(body, op);
    std::string checksum = HexChecksum(summed, op);
    return "7E" + EscapeFrameBody(checksum + summed) + "7E";
}

}  // namespace

std::string BuildFrame(std::string_view moduleClass, std::string_view command,
                       std::string_view data, OperatorPort* op) {
    return SealFrame("82", "01", moduleClass, command, data, op);
}

std::string BuildReplyFrame(std::string_view moduleClass, std::string_view command,
                            std::string_view data) {
    return SealFrame("01", "82", moduleClass, command, data, nullptr);
}

std::string NormalizeReceived(std::string_view datagram) {
    return UnescapeFrame(ToUpper(datagram));
}

}  // namespace tarnwick

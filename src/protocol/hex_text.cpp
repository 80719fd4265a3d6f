#include "protocol/hex_text.h"

#include <cctype>
#include <charconv>
#include <system_error>

#include "protocol/conversion_error.h"
#include "protocol/gbk.h"

namespace tarnwick {
namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

std::string ByteHex(unsigned value) {
    std::string out(2, '0');
    out[0] = kDigits[(value >> 4) & 0xF];
    out[1] = kDigits[value & 0xF];
    return out;
}

std::string HexFromBytes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) out += ByteHex(c);
    return out;
}

std::string BytesFromHex(std::string_view hex) {
    std::string out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        int hi = DigitValue(hex[i]);
        int lo = DigitValue(hex[i + 1]);
        if (hi < 0 || lo < 0)
            throw ConversionError("'" + std::string(hex.substr(i, 2)) +
                                  "' is not a valid hex pair");
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

std::string TextToHexField(std::string_view text, size_t width) {
    return PadHexField(HexFromBytes(CutGbkToWidth(Utf8ToGbk(text), width)), width);
}

std::string TextToHex(std::string_view text) {
    return HexFromBytes(Utf8ToGbk(text));
}

std::string PadHexField(std::string_view hex, size_t width) {
    std::string out(hex);
    if (out.size() < 2 * width) out.append(2 * width - out.size(), '0');
    return out;
}

int32_t HexToInt(std::string_view hex) {
    std::string text = Trim(hex);
    uint32_t sum = 0;
    for (char c : text) {
        int v = DigitValue(c);
        sum = sum * 16u + static_cast<uint32_t>(v < 0 ? 0 : v);
    }
    return static_cast<int32_t>(sum);
}

std::string HexToText(std::string_view hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        std::string_view pair = hex.substr(i, 2);
        if (pair == "00") continue;
        bytes += static_cast<char>(HexToInt(pair) & 0xFF);
    }
    return GbkToUtf8(bytes);
}

std::string IntToBitText(int64_t value, int bits) {
    std::string out;
    for (int bit = bits - 1; bit >= 0; --bit) out += ((value >> bit) & 1) ? '1' : '0';
    return out;
}

std::string BitNumberList(std::string_view hex, int base) {
    int value = HexToInt(hex) & 0xFF;
    std::string out;
    for (int bit = 0; bit < 8; ++bit)
        if (value & (1 << bit)) out += std::to_string(base + bit) + ",";
    return out;
}

std::string FlagDigit(bool flag) {
    return flag ? "1" : "0";
}

std::string BitTextToHex(std::string_view bits, size_t width) {
    uint64_t sum = 0;
    const size_t n = bits.size();
    for (size_t i = 0; i < n; ++i) {
        char c = bits[n - 1 - i];
        if (c < '0' || c > '9')
            throw ConversionError("'" + std::string(1, c) + "' is not a valid integer value");
        if (i < 64) sum += static_cast<uint64_t>(c - '0') << i;
    }
    std::string out;
    do {
        out.insert(out.begin(), kDigits[sum & 0xF]);
        sum >>= 4;
    } while (sum != 0);
    return ZeroPadLeft(out, width);
}

bool IsValidIPv4(std::string_view text) {
    // Exactly four pieces of one to three decimal digits, each 0-255, and
    // nothing else: no signs, no empty pieces, no line breaks or blanks.
    int pieces = 0;
    size_t start = 0;
    while (true) {
        size_t end = text.find('.', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view piece = text.substr(start, end - start);
        if (piece.empty() || piece.size() > 3) return false;
        int value = 0;
        for (char c : piece) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255 || ++pieces > 4) return false;
        if (end == text.size()) break;
        start = end + 1;
    }
    return pieces == 4;
}

int DecimalToInt(std::string_view text) {
    std::string_view digits = text;
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-') digits.remove_prefix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
        throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string ResultText(int code) {
    if (code == 1) return "成功!";
    if (code == 2) return "失败!";
    return " 返回值S[7]有误!";
}

std::string HostResultText(int code) {
    if (code == 3) return "拒绝!";
    if (code == 1 || code == 2) return ResultText(code);
    return "  返回值S[7]有误!";
}

}  // namespace tarnwick

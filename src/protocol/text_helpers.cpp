#include "protocol/text_helpers.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace tarnwick {

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return std::string(text.substr(begin, end - begin));
}

std::string ZeroPadLeft(std::string_view text, size_t width) {
    std::string out(text);
    if (out.size() < width) out.insert(0, width - out.size(), '0');
    return out;
}

std::string Slice(std::string_view text, size_t from, size_t to) {
    if (from < 1) from = 1;
    if (to > text.size()) to = text.size();
    if (from > to) return {};
    return std::string(text.substr(from - 1, to - from + 1));
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            point = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            point = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            point = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = (point << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
        if (overlong || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

size_t Utf8Length(std::string_view text) {
    size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

std::optional<int> DecimalValue(std::string_view digits) {
    const auto decimal = [](char c) { return c >= '0' && c <= '9'; };
    if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), decimal))
        return std::nullopt;
    return std::stoi(std::string(digits));
}

std::string CaptionWithoutColon(std::string_view caption) {
    std::string text(caption);
    while (text.ends_with("：") || text.ends_with(':'))
        text.resize(text.size() - (text.back() == ':' ? 1 : std::string_view("：").size()));
    return text;
}

}  // namespace tarnwick

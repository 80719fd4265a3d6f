#include "protocol/text_helpers.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

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

namespace {

// The bytes the second byte of a sequence led by `lead` may take.
std::pair<unsigned, unsigned> SecondByteRange(unsigned lead) {
    switch (lead) {
        case 0xE0:
            return {0xA0, 0xBF};  // no overlong form
        case 0xED:
            return {0x80, 0x9F};  // no surrogate
        case 0xF0:
            return {0x90, 0xBF};  // no overlong form
        case 0xF4:
            return {0x80, 0x8F};  // nothing beyond U+10FFFF
        default:
            return {0x80, 0xBF};
    }
}

// The sequence at `at`: its length and whether it is one well-formed
// character. A broken one is as long as its longest start that a character
// could have (at least one byte), the part one U+FFFD stands for.
std::pair<size_t, bool> Utf8SequenceAt(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    if (lead < 0x80) return {1, true};
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    if (length == 0) return {1, false};
    for (size_t k = 1; k < length; ++k) {
        if (at + k >= text.size()) return {k, false};
        const auto next = static_cast<unsigned char>(text[at + k]);
        const auto [low, high] = k == 1 ? SecondByteRange(lead) : std::pair(0x80u, 0xBFu);
        if (next < low || next > high) return {k, false};
    }
    return {length, true};
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto [length, valid] = Utf8SequenceAt(text, i);
        if (!valid) return false;
        i += length;
    }
    return true;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto [length, valid] = Utf8SequenceAt(text, i);
        out += valid ? text.substr(i, length) : std::string_view("\xEF\xBF\xBD");
        i += length;
    }
    return out;
}

std::string Utf8Prefix(std::string_view text, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == maxChars)
            return std::string(text.substr(0, i));
    return std::string(text);
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

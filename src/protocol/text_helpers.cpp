#include "protocol/text_helpers.h"

#include <algorithm>
#include <cctype>

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

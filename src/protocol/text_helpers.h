#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// Plain text helpers shared by the flows and decoders (no hex, no GBK).

std::string ToUpper(std::string_view text);
// Without leading and trailing blanks and control characters.
std::string Trim(std::string_view text);
// "0" characters in front until the text is `width` long.
std::string ZeroPadLeft(std::string_view text, size_t width);
// 1-based character slice [from, to] of a text, clipped to its length.
std::string Slice(std::string_view text, size_t from, size_t to);
// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);
// The text with each broken sequence (the longest start of a character it
// holds, at least one byte) replaced by U+FFFD, as the JSON output does.
std::string ValidUtf8(std::string_view text);
// The first `maxChars` characters of a UTF-8 text.
std::string Utf8Prefix(std::string_view text, size_t maxChars);
// Characters of a UTF-8 text (code points), as the operator counts them.
size_t Utf8Length(std::string_view text);
// The value of a run of at most nine decimal digits; nullopt when it is empty
// or holds anything else (a blank too).
std::optional<int> DecimalValue(std::string_view digits);
// A caption as it is read out or named in a message: without the colon, full
// width or not, that ends it on the page ("本地IP地址：" gives "本地IP地址").
std::string CaptionWithoutColon(std::string_view caption);

}  // namespace tarnwick

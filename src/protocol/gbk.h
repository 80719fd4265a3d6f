#pragma once
#include <string>
#include <string_view>

namespace tarnwick {

// Text is UTF-8 inside the program and GBK on the wire.
// Bytes that are not valid GBK become U+FFFD; nothing here ever throws.
std::string GbkToUtf8(std::string_view gbk);
// Each character GBK cannot hold becomes one '?'.
std::string Utf8ToGbk(std::string_view utf8);
// The longest prefix of GBK text that fits `width` bytes and does not end
// inside a two-byte character.
std::string CutGbkToWidth(std::string_view gbk, size_t width);

}  // namespace tarnwick

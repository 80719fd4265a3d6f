#pragma once
#include <string>
#include <string_view>

namespace tarnwick {

// Text is UTF-8 inside the program and GBK on the wire.
// Bytes that are not valid GBK become U+FFFD; nothing here ever throws.
std::string GbkToUtf8(std::string_view gbk);
// Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace tarnwick

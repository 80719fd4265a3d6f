#pragma once
#include <string>
#include <string_view>

namespace tarnwick {

// `path` with "." + `extension` appended when its file name has none (a dot
// leading the file name does not count as one).
std::string WithDefaultExtension(const std::string& path, std::string_view extension);

// The digits of a time as the clock gives it ("yyyy-mm-dd hh:nn:ss" is
// "yyyymmddhhnnss"), for file names that carry the day they were made.
std::string TimeDigits(std::string_view now);

}  // namespace tarnwick

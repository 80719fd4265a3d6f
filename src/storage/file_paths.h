#pragma once
#include <string>
#include <string_view>

namespace tarnwick {

// `path` with "." + `extension` appended when its file name has none (a dot
// leading the file name does not count as one).
std::string WithDefaultExtension(const std::string& path, std::string_view extension);

}  // namespace tarnwick

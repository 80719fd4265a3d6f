#include "storage/file_paths.h"

namespace tarnwick {

std::string WithDefaultExtension(const std::string& path, std::string_view extension) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) return path;
    return path + "." + std::string(extension);
}

std::string TimeDigits(std::string_view now) {
    std::string digits;
    for (char c : now)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

}  // namespace tarnwick

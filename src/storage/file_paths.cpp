#include "storage/file_paths.h"

namespace tarnwick {

std::string WithDefaultExtension(const std::string& path, std::string_view extension) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) return path;
    return path + "." + std::string(extension);
}

}  // namespace tarnwick

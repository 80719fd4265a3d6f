#include "output_files.h"

#include <filesystem>

namespace tarnwick::cli {

std::string OutputFileFor(const std::string& out, const std::string& address,
                          const std::string& extension, bool oneFilePerHost) {
    namespace fs = std::filesystem;
    if (!oneFilePerHost && !fs::is_directory(out)) return out;
    std::error_code ignored;
    fs::create_directories(out, ignored);
    return (fs::path(out) / (address + "." + extension)).string();
}

}  // namespace tarnwick::cli

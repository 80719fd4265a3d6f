#include "snapshot_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarnwick::cli {

ConfigSnapshot ReadSnapshotFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SnapshotError(path + ": 无法打开");
    std::stringstream text;
    text << in.rdbuf();
    try {
        return SnapshotFromJson(text.str());
    } catch (const SnapshotError& e) {
        throw SnapshotError(path + ": " + e.what());
    }
}

void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& s) {
    // Written beside its place and renamed, so a failed write never leaves a
    // cut-short file under the name.
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        ::chmod(partial.c_str(), S_IRUSR | S_IWUSR);
        out << SnapshotToJson(s);
        out.close();
        if (!out) {
            std::remove(partial.c_str());
            throw SnapshotError(path + ": 写入失败");
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        throw SnapshotError(path + ": 写入失败");
    }
}

std::string OutputFileFor(const std::string& out, const std::string& address,
                          const std::string& extension, bool oneFilePerHost) {
    namespace fs = std::filesystem;
    if (!oneFilePerHost && !fs::is_directory(out)) return out;
    std::error_code ignored;
    fs::create_directories(out, ignored);
    return (fs::path(out) / (address + extension)).string();
}

}  // namespace tarnwick::cli

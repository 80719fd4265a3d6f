#include "backup/snapshot_file.h"

#include "storage/replacement_file.h"
#include "storage/small_file.h"

namespace tarnwick {

ConfigSnapshot ReadSnapshotFile(const std::string& path) {
    std::string text;
    try {
        text = ReadSmallFile(path, kMaxSnapshotFileBytes);
    } catch (const FileReadError& e) {
        switch (e.What()) {
            case FileReadError::Kind::NotAFile:
                throw SnapshotError(path + ": 不是普通文件");
            case FileReadError::Kind::TooLarge:
                throw SnapshotError(path + ": 文件过大，不是配置文件");
            case FileReadError::Kind::CannotOpen:
                break;
        }
        throw SnapshotError(path + ": 无法打开（" + e.what() + "）");
    }
    try {
        return SnapshotFromJson(text);
    } catch (const SnapshotError& e) {
        throw SnapshotError(path + ": " + e.what());
    }
}

void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot) {
    try {
        ReplaceFileContent(path, SnapshotToJson(snapshot), FileAccess::OwnerOnly);
    } catch (const FileWriteError& e) {
        throw SnapshotError(path + ": 写入失败（" + e.what() + "）");
    }
}

}  // namespace tarnwick

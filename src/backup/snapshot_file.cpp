#include "backup/snapshot_file.h"

#include <exception>

#include "hosts/data_module.h"
#include "storage/archives.h"
#include "storage/replacement_file.h"
#include "storage/small_file.h"

namespace tarnwick {

std::string ReadSnapshotText(const std::string& path) {
    try {
        return ReadSmallFile(path, kMaxSnapshotFileBytes);
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
}

ConfigSnapshot ReadSnapshotFile(const std::string& path, CodeKeys* keys) {
    const std::string text = ReadSnapshotText(path);
    try {
        return SnapshotFromStoredText(text, keys);
    } catch (const WrongPassphraseError& e) {
        throw WrongPassphraseError(path + ": " + e.what());
    } catch (const SnapshotError& e) {
        throw SnapshotError(path + ": " + e.what());
    }
}

void WriteSnapshotText(const std::string& path, const std::string& text) {
    try {
        ReplaceFileContent(path, text, FileAccess::OwnerOnly);
    } catch (const FileWriteError& e) {
        throw SnapshotError(path + ": 写入失败（" + e.what() + "）");
    }
}

void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot, CodeForm form,
                       CodeKeys& keys) {
    WriteSnapshotText(path, StoredSnapshotText(snapshot, form, keys));
}

std::string ArchiveSnapshot(DataModule& tdm, const ConfigSnapshot& snapshot, CodeKeys& keys) {
    const Workplace& workplace = tdm.operationLog.CurrentWorkplace();
    try {
        const CodeForm form = keys.DefaultForm();
        ArchiveBackup(tdm.db,
                      {snapshot.host, snapshot.time, workplace.operatorName, workplace.workstation,
                       snapshot.model, StoredSnapshotText(snapshot, form, keys)});
    } catch (const std::exception& e) {
        return kBackupArchiveUnwritableText + std::string(e.what());
    }
    return {};
}

}  // namespace tarnwick

// seal: snapshot files that hold their codes in clear, rewritten sealed
// (with a passphrase) or redacted, each replaced whole.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "backup/snapshot_file.h"
#include "cli_codes.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"

namespace tarnwick::cli {
namespace {

namespace fs = std::filesystem;

// The file itself, or the snapshot files of a folder in name order.
std::vector<std::string> SnapshotFiles(const std::string& path) {
    std::error_code error;
    if (!fs::is_directory(path, error)) return {path};
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(path, error))
        if (entry.path().extension() == std::string(".") + kSnapshotExtension)
            files.push_back(entry.path().string());
    if (error) throw UsageError(path + ": 无法列出文件夹（" + error.message() + "）");
    std::sort(files.begin(), files.end());
    return files;
}

// What became of one file; throws SnapshotError when it could not be read
// or written.
std::string SealFile(const std::string& path, CodeKeys& keys) {
    const std::string text = ReadSnapshotText(path);
    const std::optional<CodeForm> form = StoredCodeForm(text);
    if (!form) throw SnapshotError(path + ": 不是配置文件");
    if (*form != CodeForm::Full)
        return std::string("未改动（") + (*form == CodeForm::Sealed ? "已加密" : "不含密码") + "）";
    std::string stored;
    try {
        stored = ProtectStoredText(text, keys);
    } catch (const SnapshotError& e) {
        throw SnapshotError(path + ": " + e.what());
    }
    WriteSnapshotText(path, stored);
    return StoredCodeForm(stored) == CodeForm::Sealed ? "已加密" : "已去除密码";
}

}  // namespace

Command AddSealCommand(CLI::App& app) {
    struct Options {
        std::string path;
        CodeOptions codes;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand(
        "seal", "Rewrite snapshot files that hold codes in clear: sealed, or else redacted");
    sub->add_option("path", o->path, "Snapshot file, or folder of snapshot files")->required();
    AddCodeOptions(*sub, o->codes, false);
    sub->add_flag("--json", o->json, "One JSON document on standard output");
    return {sub, [o] {
                const std::unique_ptr<CodeKeys> keys = MakeCodeKeys(o->codes);
                nlohmann::ordered_json files = nlohmann::ordered_json::array();
                bool ok = true;
                for (const std::string& file : SnapshotFiles(o->path)) {
                    std::string result;
                    bool done = true;
                    try {
                        result = SealFile(file, *keys);
                    } catch (const SnapshotError& e) {
                        result = e.what();
                        done = false;
                    }
                    ok = ok && done;
                    files.push_back({{"file", file}, {"ok", done}, {"result", result}});
                    if (!o->json) (done ? std::cout : std::cerr) << file << "  " << result << "\n";
                }
                if (o->json) PrintJson({{"command", "seal"}, {"ok", ok}, {"files", files}});
                return ok ? kExitOk : kExitFailed;
            }};
}

}  // namespace tarnwick::cli

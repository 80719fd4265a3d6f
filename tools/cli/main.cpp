// tarnwick-cli: backs up and compares alarm host configurations without a
// window. It broadcasts and listens on the host port like the window does, so
// it runs only inside a lab namespace.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "../hostsim/lab_namespace.h"
#include "backup/config_compare.h"
#include "backup/snapshot_file.h"
#include "cli_host.h"

namespace {

using tarnwick::ConfigSnapshot;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr const char* kCodeVariable = "TARNWICK_CODE";

std::string InstallerCode(const std::string& option) {
    if (!option.empty()) return option;
    if (const char* env = std::getenv(kCodeVariable)) return env;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Tarnwick: alarm host configuration from the command line"};
    app.require_subcommand(1);
    std::string host;
    std::string code;
    std::string out;
    std::vector<std::string> files;

    CLI::App* backup = app.add_subcommand("backup", "Read a host's configuration into a file");
    backup->add_option("--host", host, "Host address")->required();
    backup->add_option("--code", code, std::string("Installer code (else $") + kCodeVariable + ")");
    backup->add_option("-o,--out", out, "Snapshot file to write")->required();

    CLI::App* diff = app.add_subcommand(
        "diff", "Compare two snapshot files, or one with the live host given by --host");
    diff->add_option("files", files, "Snapshot files (one or two)")->required()->expected(1, 2);
    diff->add_option("--host", host, "Host address to compare the file with");
    diff->add_option("--code", code, std::string("Installer code (else $") + kCodeVariable + ")");

    CLI11_PARSE(app, argc, argv);

    const bool needsHost = backup->parsed() || files.size() == 1;
    if (diff->parsed() && files.size() == 1 && host.empty()) {
        std::cerr << "diff: 一个文件时须以 --host 指定要比较的主机\n";
        return kExitUsage;
    }
    if (diff->parsed() && files.size() == 2 && !host.empty()) {
        std::cerr << "diff: 两个文件时不能再指定 --host\n";
        return kExitUsage;
    }
    code = InstallerCode(code);
    if (needsHost && code.empty()) {
        std::cerr << "缺少安装员密码: 用 --code 或环境变量 " << kCodeVariable << " 给出\n";
        return kExitUsage;
    }
    if (needsHost && !tarnwick::lab::InNamedNetworkNamespace()) {
        std::cerr << "tarnwick-cli 只在实验网络命名空间(twlab-)内运行\n";
        return kExitUsage;
    }

    try {
        if (backup->parsed()) {
            tarnwick::cli::CliHost tool;
            tarnwick::WriteSnapshotFile(out, tool.Backup(host, code));
            std::cout << host << " → " << out << "\n";
            return 0;
        }
        const ConfigSnapshot before = tarnwick::ReadSnapshotFile(files[0]);
        tarnwick::cli::CliHost tool;
        const ConfigSnapshot after =
            files.size() == 2 ? tarnwick::ReadSnapshotFile(files[1]) : tool.Backup(host, code);
        std::cout << tarnwick::DifferenceReport(
            tarnwick::CompareSnapshots(tool.Pages(), before, after));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return kExitFailed;
    }
}

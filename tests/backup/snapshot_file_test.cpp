#include "backup/snapshot_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

#include "backup/snapshot_codes.h"
#include "storage/replacement_file.h"
#include "support/temp_dir.h"

namespace tarnwick::testing {
namespace {

// The files of these tests hold their codes in clear, as --with-codes writes them.
void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot) {
    CodeKeys keys(std::nullopt, {});
    tarnwick::WriteSnapshotFile(path, snapshot, CodeForm::Full, keys);
}

long FilesIn(const TempDir& dir) {
    return std::distance(std::filesystem::directory_iterator(dir.Path()),
                         std::filesystem::directory_iterator());
}

ConfigSnapshot Sample(const std::string& host) {
    ConfigSnapshot s;
    s.host = host;
    s.model = "TWK-16";
    s.time = "2026-12-07 08:30:05";
    for (int i = 0; i < kProgrammingSectionCount; ++i)
        s.sections[static_cast<size_t>(i)] = std::string(ProgrammingSection(i).bodyDigits, '0');
    s.keys = {{"HeartbeatInterval", "60"}};
    return s;
}

TEST(SnapshotFile, ReplacesAnOlderFileWholeAndLeavesNothingBeside) {
    TempDir dir;
    const std::string path = dir.File("site.json");
    // An older backup others could read.
    std::ofstream(path) << "older";
    ::chmod(path.c_str(), 0644);
    WriteSnapshotFile(path, Sample("10.0.0.5"));
    EXPECT_EQ(ReadSnapshotFile(path).host, "10.0.0.5");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(FilesIn(dir), 1);
}

TEST(SnapshotFile, WhatOthersPlantedBesideTheTargetIsNeverWrittenThrough) {
    TempDir dir;
    // A file of the installer's, linked from where a backup's temporary
    // file could be looked for, and a pipe there that nobody reads.
    const std::string victim = dir.File("installer.txt");
    std::ofstream(victim) << "kept";
    const std::string linked = dir.File("linked.json");
    std::filesystem::create_symlink(victim, linked + ".partial");
    const std::string piped = dir.File("piped.json");
    ASSERT_EQ(::mkfifo((piped + ".partial").c_str(), 0600), 0);
    // A reader keeps a write into the pipe from blocking this test.
    const int reader = ::open((piped + ".partial").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    WriteSnapshotFile(linked, Sample("10.0.0.5"));
    WriteSnapshotFile(piped, Sample("10.0.0.6"));
    char buffer[16];
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 0);
    ::close(reader);
    EXPECT_EQ(ReadSnapshotFile(linked).host, "10.0.0.5");
    EXPECT_EQ(ReadSnapshotFile(piped).host, "10.0.0.6");
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");
    EXPECT_EQ(FilesIn(dir), 5);
}

TEST(SnapshotFile, BackupsIntoOneFileAtOnceAllSucceed) {
    TempDir dir;
    const std::string path = dir.File("site.json");
    std::vector<std::string> failures(4);
    std::vector<std::thread> writers;
    for (size_t w = 0; w < failures.size(); ++w)
        writers.emplace_back([&, w] {
            try {
                for (int n = 0; n < 20; ++n)
                    WriteSnapshotFile(path, Sample("10.0.0." + std::to_string(w + 1)));
            } catch (const SnapshotError& e) {
                failures[w] = e.what();
            }
        });
    for (std::thread& t : writers) t.join();
    EXPECT_EQ(failures, std::vector<std::string>(4));
    EXPECT_EQ(ReadSnapshotFile(path).host.rfind("10.0.0.", 0), 0u);
    EXPECT_EQ(FilesIn(dir), 1);
}

TEST(SnapshotFile, ATargetThatMayNotBeReplacedIsNamedAndLeftAsItWas) {
    TempDir dir;
    // Marked read-only by its owner: refused even to root.
    const std::string readOnly = dir.File("kept.json");
    std::ofstream(readOnly) << "older";
    ::chmod(readOnly.c_str(), 0444);
    const std::string folder = dir.File("folder.json");
    std::filesystem::create_directory(folder);
    for (const auto& [path, reason] :
         {std::pair{readOnly, kReadOnlyTargetText}, std::pair{folder, kNotAFileTargetText}}) {
        SCOPED_TRACE(path);
        try {
            WriteSnapshotFile(path, Sample("10.0.0.5"));
            ADD_FAILURE() << "replaced";
        } catch (const SnapshotError& e) {
            EXPECT_EQ(std::string(e.what()), path + ": 写入失败（" + reason + "）");
        }
    }
    std::ifstream in(readOnly);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "older");
    struct stat info {};
    ASSERT_EQ(::stat(readOnly.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(FilesIn(dir), 2);
}

TEST(SnapshotFile, RefusesWhatIsNoSnapshotFileNamingThePath) {
    TempDir dir;
    const std::string big = dir.File("big.json");
    std::ofstream(big).close();
    std::filesystem::resize_file(big, kMaxSnapshotFileBytes + 1);
    const std::string cut = dir.File("cut.json");
    std::ofstream(cut) << "{\"format\": 1, \"host\": \"10.0.0.5\"";
    std::filesystem::create_directory(dir.File("folder.json"));
    struct Case {
        std::string path;
        const char* named;
    };
    const Case cases[] = {
        {dir.File("none.json"), "none.json: 无法打开"},
        {dir.File("folder.json"), "folder.json: 不是普通文件"},
        {big, "big.json: 文件过大"},
        {cut, "cut.json: 配置文件不是完整的JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            ReadSnapshotFile(c.path);
            ADD_FAILURE() << "accepted";
        } catch (const SnapshotError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace tarnwick::testing

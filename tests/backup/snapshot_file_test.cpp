#include "backup/snapshot_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace tarnwick::testing {
namespace {

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
    {
        // An older backup others could read, and a partial file of a failed run.
        std::ofstream(path) << "older";
        std::ofstream(path + ".partial") << "cut";
        ::chmod(path.c_str(), 0644);
        ::chmod((path + ".partial").c_str(), 0644);
    }
    WriteSnapshotFile(path, Sample("10.0.0.5"));
    EXPECT_EQ(ReadSnapshotFile(path).host, "10.0.0.5");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
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

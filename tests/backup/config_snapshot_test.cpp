#include "backup/config_snapshot.h"

#include <gtest/gtest.h>

#include <string>

#include "backup/config_compare.h"
#include "support/snapshot_of.h"

namespace tarnwick::testing {
namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(ConfigSnapshotFile, KeepsEverythingThroughJson) {
    const ConfigSnapshot s = SnapshotOf(kSampleBodies);
    const ConfigSnapshot back = SnapshotFromJson(SnapshotToJson(s));
    EXPECT_EQ(back.formatVersion, kSnapshotFormatVersion);
    EXPECT_EQ(back.host, s.host);
    EXPECT_EQ(back.model, "TWK-16 V2.30");
    EXPECT_EQ(back.time, s.time);
    EXPECT_EQ(back.sections, s.sections);
    EXPECT_TRUE(CompareStoredKeys(s, back).empty());
    EXPECT_EQ(back.keys.size(), s.keys.size());
}

// Every damaged form is refused with a message naming what is wrong first.
TEST(ConfigSnapshotFile, RefusesDamagedFilesNamingTheFirstBadEntry) {
    const std::string good = SnapshotToJson(SnapshotOf(kSampleBodies));
    const std::string body04 = kSampleBodies[4];
    const std::string body06 = kSampleBodies[6];
    struct Case {
        const char* what;
        std::string text;
        std::string named;
    };
    const Case cases[] = {
        {"cut short", good.substr(0, good.size() / 2), "不是完整的JSON"},
        {"not JSON", "host=10.231.16.1\n", "不是完整的JSON"},
        {"a JSON list", "[1, 2]", "顶层不是对象"},
        {"newer format",
         Replace(good, "\"format\": " + std::to_string(kSnapshotFormatVersion),
                 "\"format\": " + std::to_string(kSnapshotFormatVersion + 1)),
         "格式版本" + std::to_string(kSnapshotFormatVersion + 1)},
        {"no format",
         Replace(good, "\"format\": " + std::to_string(kSnapshotFormatVersion) + ",", ""),
         "format"},
        {"body one digit short", Replace(good, body04, body04.substr(1)),
         "编程区04: 长度47，应为48"},
        {"body too long, later section", Replace(good, body06, body06 + "00"), "编程区06: 长度"},
        {"not hex", Replace(good, body04, "Z" + body04.substr(1)), "编程区04: 含有非十六进制"},
        {"section missing", Replace(good, "\"05\":", "\"5\":"), "编程区05: 缺少内容"},
        {"key not text",
         Replace(good, "\"GprsHeartbeatInterval\": \"60\"", "\"GprsHeartbeatInterval\": 60"),
         "设置GprsHeartbeatInterval"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            SnapshotFromJson(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const SnapshotError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
    }
}

TEST(ReadListMerge, KeepsEachFrameOnceInFirstOrder) {
    const CommandList a = {{"p1", "F1", {}}, {"p2", "F2", {}}};
    const CommandList b = {{"p2", "F2", {}}, {"p3", "F3", {}}, {"p1", "F1", {}}};
    const CommandList merged = MergeReadLists({a, b});
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_EQ(merged[0].frame, "F1");
    EXPECT_EQ(merged[1].frame, "F2");
    EXPECT_EQ(merged[2].frame, "F3");
}

}  // namespace
}  // namespace tarnwick::testing

#include "backup/config_snapshot.h"

#include <gtest/gtest.h>

#include <string>

#include "backup/config_compare.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

// A snapshot as a read of a host holding `bodies` leaves it, with some module
// settings and working state beside the sections.
ConfigSnapshot SnapshotOf(const char* const (&bodies)[8], const std::string& heartbeat = "60",
                          const std::string& systemStatus = "13") {
    DeviceParams params;
    SectionBodies reads;
    for (int i = 0; i < kProgrammingSectionCount; ++i) reads.emplace_back(i, bodies[i]);
    StoreSectionReads(params, reads);
    params.Set("HeartbeatInterval", heartbeat);
    params.Set("SystemStatus", systemStatus);
    params.Set("HostModel", "TWK-16 V2.30");
    ConfigSnapshot s;
    s.host = "10.231.16.1";
    s.model = params.Get("HostModel");
    s.time = "2026-12-07 08:30:05";
    s.toolVersion = "1.0.8";
    for (int i = 0; i < kProgrammingSectionCount; ++i)
        s.sections[static_cast<size_t>(i)] = StoredSectionBody(params, i);
    s.keys = params.Entries();
    return s;
}

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
    EXPECT_TRUE(CompareSnapshots(s, back).empty());
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
        const char* named;
    };
    const Case cases[] = {
        {"cut short", good.substr(0, good.size() / 2), "不是完整的JSON"},
        {"not JSON", "host=10.231.16.1\n", "不是完整的JSON"},
        {"a JSON list", "[1, 2]", "顶层不是对象"},
        {"newer format", Replace(good, "\"format\": 1", "\"format\": 2"), "格式版本2"},
        {"no format", Replace(good, "\"format\": 1,", ""), "format"},
        {"body one digit short", Replace(good, body04, body04.substr(1)),
         "编程区04: 长度47，应为48"},
        {"body too long, later section", Replace(good, body06, body06 + "00"), "编程区06: 长度"},
        {"not hex", Replace(good, body04, "Z" + body04.substr(1)), "编程区04: 含有非十六进制"},
        {"section missing", Replace(good, "\"05\":", "\"5\":"), "编程区05: 缺少内容"},
        {"key not text",
         Replace(good, "\"HeartbeatInterval\": \"60\"", "\"HeartbeatInterval\": 60"),
         "设置HeartbeatInterval"},
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

TEST(ConfigCompare, ListsTheChangedFieldsGroupedAndSkipsWorkingState) {
    const char* changed[8];
    std::copy(std::begin(kSampleBodies), std::end(kSampleBodies), changed);
    // Zone 3 of section 04 takes another type (its third field), and the
    // installer code of section 00 changes.
    std::string zones = kSampleBodies[4];
    zones.replace(16, 2, "4B");
    std::string codes = kSampleBodies[0];
    codes.replace(0, 6, "654321");
    changed[4] = zones.c_str();
    changed[0] = codes.c_str();

    const ConfigSnapshot before = SnapshotOf(kSampleBodies, "60", "13");
    const ConfigSnapshot after = SnapshotOf(changed, "90", "00");
    const auto diffs = CompareSnapshots(before, after);
    ASSERT_EQ(diffs.size(), 3u);
    EXPECT_EQ(diffs[0].group, "编程区00");
    EXPECT_EQ(diffs[0].key, "Prog00_Installer");
    EXPECT_EQ(diffs[0].before, "123456");
    EXPECT_EQ(diffs[0].after, "654321");
    EXPECT_EQ(diffs[1].group, "编程区04");
    EXPECT_EQ(diffs[1].key, "Prog04_3");
    EXPECT_EQ(diffs[2].group, kModuleSettingsGroup);
    EXPECT_EQ(diffs[2].key, "HeartbeatInterval");

    const std::string report = DifferenceReport(diffs);
    EXPECT_NE(report.find("[编程区04]\n  Prog04_3: 3C911111 → 4B911111\n"), std::string::npos)
        << report;
    EXPECT_NE(report.find("[模块设置]\n  HeartbeatInterval: 60 → 90\n"), std::string::npos)
        << report;
}

TEST(ConfigCompare, SameConfigurationSaysSoInOneLine) {
    // Only the working state differs between the two reads.
    const auto diffs = CompareSnapshots(SnapshotOf(kSampleBodies, "60", "13"),
                                        SnapshotOf(kSampleBodies, "60", "00"));
    EXPECT_EQ(DifferenceReport(diffs), std::string(kSameConfigText) + "\n");
}

TEST(ConfigCompare, ASettingOnlyOneSideHoldsIsADifference) {
    ConfigSnapshot before = SnapshotOf(kSampleBodies);
    ConfigSnapshot after = before;
    after.keys.emplace_back("NetMode", "01");
    const auto diffs = CompareSnapshots(before, after);
    ASSERT_EQ(diffs.size(), 1u);
    EXPECT_EQ(diffs[0].key, "NetMode");
    EXPECT_EQ(diffs[0].before, "");
    EXPECT_EQ(diffs[0].after, "01");
}

TEST(ReadListMerge, KeepsEachFrameOnceInFirstOrder) {
    const CommandList a = {{"p1", "F1"}, {"p2", "F2"}};
    const CommandList b = {{"p2", "F2"}, {"p3", "F3"}, {"p1", "F1"}};
    const CommandList merged = MergeReadLists({a, b});
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_EQ(merged[0].frame, "F1");
    EXPECT_EQ(merged[1].frame, "F2");
    EXPECT_EQ(merged[2].frame, "F3");
}

}  // namespace
}  // namespace tarnwick::testing

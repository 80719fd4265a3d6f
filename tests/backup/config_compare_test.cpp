#include "backup/config_compare.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "backup/snapshot_codes.h"
#include "backup/snapshot_file.h"
#include "support/host_window_fixture.h"
#include "support/snapshot_of.h"

namespace tarnwick::testing {
namespace {

// The sample bodies with `digits` written over section `section` from `at`.
struct Edit {
    int section;
    size_t at;
    const char* digits;
};

ConfigSnapshot Edited(std::initializer_list<Edit> edits, const std::string& heartbeat = "60") {
    std::string bodies[8];
    for (int i = 0; i < 8; ++i) bodies[i] = kSampleBodies[i];
    for (const Edit& e : edits)
        bodies[e.section].replace(e.at, std::string(e.digits).size(), e.digits);
    const char* raw[8];
    for (int i = 0; i < 8; ++i) raw[i] = bodies[i].c_str();
    return SnapshotOf(raw, heartbeat);
}

// Each change shows once, on its page, under the caption the installer reads.
TEST(ConfigCompare, ShowsEachChangeOnItsPageUnderItsCaption) {
    struct Case {
        Edit edit;
        const char* heartbeat;
        const char* page;
        const char* caption;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {{4, 16, "3B"}, "60", "有线防区", "防区3 防区类型", "C - 防盗防区", "B - 门铃防区 "},
        // A code is never shown, only that it changed.
        {{0, 0, "654321"}, "60", "通讯参数", "安装员码", kChangedCodeText, kChangedCodeText},
        {{6, 0, "09"}, "60", "主机控制", "第一组 定时布防 时", "08", "09"},
        {{0, 0, ""}, "90", "GPRS模块", "心跳间隔时间", "60", "90"},
    };
    HostWindowFixture h;
    const ConfigSnapshot before = SnapshotOf(kSampleBodies);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const auto diffs = CompareSnapshots(h.window, before, Edited({c.edit}, c.heartbeat));
        ASSERT_EQ(diffs.size(), 1u) << DifferenceReport(diffs);
        EXPECT_EQ(diffs[0].group, c.page);
        EXPECT_EQ(diffs[0].caption, c.caption);
        EXPECT_EQ(diffs[0].before, c.before);
        EXPECT_EQ(diffs[0].after, c.after);
    }
}

TEST(ConfigCompare, ReportGroupsByPageInPageOrder) {
    HostWindowFixture h;
    const auto diffs = CompareSnapshots(h.window, SnapshotOf(kSampleBodies),
                                        Edited({{0, 0, "654321"}, {6, 0, "09"}}, "90"));
    EXPECT_EQ(DifferenceReport(diffs),
              "[主机控制]\n  第一组 定时布防 时: 08 → 09\n"
              "[通讯参数]\n  安装员码: 已更改\n"
              "[GPRS模块]\n  心跳间隔时间: 60 → 90\n");
}

TEST(ConfigCompare, WorkingStateIsNoDifferenceAndHiddenFieldsAreListedByKey) {
    HostWindowFixture h;
    // Only the host's state at the moment of the read differs.
    const auto same = CompareSnapshots(h.window, SnapshotOf(kSampleBodies, "60", "13"),
                                       SnapshotOf(kSampleBodies, "60", "00"));
    EXPECT_EQ(DifferenceReport(same), std::string(kSameConfigText) + "\n");

    // A stored setting no page shows still makes two configurations differ.
    const ConfigSnapshot before = SnapshotOf(kSampleBodies);
    ConfigSnapshot after = before;
    after.keys.emplace_back("NetMode", "01");
    const auto hidden = CompareSnapshots(h.window, before, after);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0].group, kHiddenSettingsGroup);
    EXPECT_EQ(hidden[0].caption, "NetMode");
    EXPECT_EQ(hidden[0].before, "");
    EXPECT_EQ(hidden[0].after, "01");
}

// Files with as many keys as a snapshot may hold (the benchmark times the
// largest): the store and the comparison index the keys, and the one key
// that differs is found among them. One key more and the file is refused.
TEST(ConfigCompare, AFileFullOfKeysIsComparedWholeAndOneKeyMoreIsRefused) {
    HostWindowFixture h;
    ConfigSnapshot before = SnapshotOf(kSampleBodies);
    for (size_t n = before.keys.size(); n < kMaxSnapshotKeys; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Junk%06zu", n);
        before.keys.emplace_back(name, "1");
    }
    ConfigSnapshot after = before;
    after.keys.back().second = "2";
    const std::string first = h.f.dir.File("first.json");
    const std::string second = h.f.dir.File("second.json");
    CodeKeys keys(std::nullopt, h.f.dir.File("team.key"));
    WriteSnapshotFile(first, before, CodeForm::Redacted, keys);
    WriteSnapshotFile(second, after, CodeForm::Redacted, keys);
    const auto diffs =
        CompareSnapshots(h.window, ReadSnapshotFile(first, &keys), ReadSnapshotFile(second, &keys));
    ASSERT_EQ(diffs.size(), 1u) << DifferenceReport(diffs).substr(0, 500);
    EXPECT_EQ(diffs[0].caption, "Junk009999");
    EXPECT_EQ(diffs[0].before, "1");
    EXPECT_EQ(diffs[0].after, "2");

    after.keys.emplace_back("OneTooMany", "1");
    WriteSnapshotFile(second, after, CodeForm::Redacted, keys);
    try {
        ReadSnapshotFile(second);
        ADD_FAILURE() << "taken";
    } catch (const SnapshotError& e) {
        EXPECT_EQ(std::string(e.what()),
                  second + ": 配置文件有10001项设置，超过10000项，不是主机的配置");
    }
}

}  // namespace
}  // namespace tarnwick::testing

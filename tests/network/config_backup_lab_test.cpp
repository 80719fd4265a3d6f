// A whole-configuration read of a simulated host, and the comparison of two
// hosts that differ in a zone and the module heartbeat.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/standard_pages.h"
#include "backup/config_compare.h"
#include "backup/config_restore.h"
#include "backup/config_snapshot.h"
#include "backup/snapshot_reads.h"
#include "hosts/host_window.h"
#include "support/lab_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

class ConfigBackupInLab : public LabFixture {
  protected:
    ConfigSnapshot Backup(const std::string& code = "123456") {
        HostWindow window(*tdm);
        AssembleStandardPages(window);
        tdm->session.SetCurrentHost(lab->hostIps[0]);
        return TakeSnapshot(*tdm, SnapshotReads(window), code, "test");
    }
};

// The zones, the first schedule and the heartbeat of both modules of a
// simulated host.
std::string HostFields(const std::string& zones, const std::string& schedule, int heartbeat,
                       const std::string& more = "") {
    const std::string beat = R"({"heartbeat": )" + std::to_string(heartbeat) + "}";
    return R"("sections": {"04": ")" + zones + R"(", "06": ")" + schedule + R"("}, "gprs": )" +
           beat + R"(, "network": )" + beat + more;
}

const std::string kZones = kSampleBodies[4];
const std::string kSchedule = kSampleBodies[6];

std::string With(std::string body, size_t at, const std::string& digits) {
    return body.replace(at, digits.size(), digits);
}

// A backup of the site as it was, and a host where four settings have
// changed since: a zone's type, the first schedule's arming hour and the
// heartbeat of both modules.
class ConfigRestoreInLab : public ConfigBackupInLab {
  protected:
    void SetUp() override {
        ConfigBackupInLab::SetUp();
        if (!lab) return;
        auto sim = StartOneHost(HostFields(kZones, kSchedule, 60));
        saved = SnapshotFromJson(SnapshotToJson(Backup()));
        pages = std::make_unique<HostWindow>(*tdm);
        AssembleStandardPages(*pages);
    }
    void TearDown() override {
        pages.reset();
        ConfigBackupInLab::TearDown();
    }
    std::unique_ptr<HostsimProcess> StartChangedHost(const std::string& more = "") {
        return StartOneHost(HostFields(With(kZones, 16, "3B"), With(kSchedule, 0, "09"), 90, more));
    }
    size_t LogRows() { return db->Select("Select * From OperationLog").size(); }

    ConfigSnapshot saved;
    std::unique_ptr<HostWindow> pages;
};

TEST_F(ConfigRestoreInLab, WritesOnlyWhatDiffersAndTheReReadMatches) {
    auto sim = StartChangedHost();
    const auto diffs = CompareSnapshots(*pages, saved, Backup());
    ASSERT_EQ(diffs.size(), 4u) << DifferenceReport(diffs);
    EXPECT_EQ(diffs[0].caption, "第一组 定时布防 时");
    EXPECT_EQ(diffs[1].group + " " + diffs[1].caption, "主机控制 心跳间隔时间");
    EXPECT_EQ(diffs[2].caption, "防区3 防区类型");
    EXPECT_EQ(diffs[3].group + " " + diffs[3].caption, "GPRS模块 心跳间隔时间");

    // Preparing is the dry run: it reads, and writes nothing.
    const size_t before = sim->ReceivedFrames().size();
    const RestorePreparation prep = PrepareRestore(*pages, saved, "123456", {});
    ASSERT_EQ(prep.writes.size(), 4u) << RestorePlanText(prep.writes);
    const auto received = sim->ReceivedFrames(before);
    for (const RestoreWrite& w : prep.writes)
        EXPECT_EQ(std::count(received.begin(), received.end(), w.entry.frame), 0) << w.entry.pair;
    EXPECT_EQ(prep.writes[0].page, "编程区04");
    EXPECT_EQ(prep.writes[1].page, "编程区06");
    EXPECT_EQ(prep.writes[2].page, "主机控制");
    EXPECT_EQ(prep.writes[3].page, "GPRS模块");

    // The network module's answer adds a restart note after its success word.
    const RestoreOutcome outcome = ExecuteRestore(*pages, prep.restored, prep.writes, "123456");
    EXPECT_TRUE(outcome.Succeeded()) << RestoreReport(outcome);
    EXPECT_EQ(outcome.written.size(), 4u);
    EXPECT_TRUE(outcome.moduleRestartNeeded);
    EXPECT_EQ(LogRows(), 4u);
    EXPECT_TRUE(CompareSnapshots(*pages, saved, Backup()).empty());
}

// A write that is refused or gets no answer stops the restore; only the
// writes before it count as written, and only answered writes are logged.
// An unanswered write may have been taken: the host is read again and the
// report says what it holds.
TEST_F(ConfigRestoreInLab, StopsAtTheFirstWriteTheHostDoesNotTake) {
    struct Case {
        const char* fault;
        const char* reason;
        size_t logRows;
        bool reread;
    };
    const Case cases[] = {
        {R"({"match": "1182", "data": "0906", "silent": true})", "结果不明", 1, true},
        {R"({"match": "1182", "data": "0906", "result": 3})", "拒绝", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        db->Execute("Delete From OperationLog", {});
        auto sim = StartChangedHost(std::string(R"(, "faults": [)") + c.fault + "]");
        const RestorePreparation prep = PrepareRestore(*pages, saved, "123456", {});
        const RestoreOutcome outcome = ExecuteRestore(*pages, prep.restored, prep.writes, "123456");
        ASSERT_EQ(outcome.written.size(), 1u) << RestoreReport(outcome);
        EXPECT_EQ(outcome.written[0].page, "编程区04");
        EXPECT_NE(outcome.stopReason.find(c.reason), std::string::npos) << outcome.stopReason;
        EXPECT_EQ(outcome.reread, c.reread);
        EXPECT_FALSE(outcome.Succeeded());
        if (c.reread) {
            // The simulated host dropped the write: the schedule still differs.
            ASSERT_FALSE(outcome.remaining.empty());
            EXPECT_EQ(outcome.remaining[0].caption, "第一组 定时布防 时");
            EXPECT_NE(RestoreReport(outcome).find("重新读取后仍不同的设置"), std::string::npos);
        }
        EXPECT_EQ(LogRows(), c.logRows);
        const std::string report = RestoreReport(outcome);
        EXPECT_NE(report.find("已写入 编程区04"), std::string::npos) << report;
        EXPECT_NE(report.find("恢复中止 编程区06"), std::string::npos) << report;
    }
}

TEST_F(ConfigRestoreInLab, AnotherModelIsRefusedUnlessForced) {
    auto sim = StartChangedHost(R"(, "model": "TWK-32 V1.00")");
    try {
        PrepareRestore(*pages, saved, "123456", {});
        ADD_FAILURE() << "restored to another model";
    } catch (const SnapshotError& e) {
        EXPECT_NE(std::string(e.what()).find("TWK-32 V1.00"), std::string::npos) << e.what();
    }
    EXPECT_EQ(PrepareRestore(*pages, saved, "123456", {.otherModel = true}).writes.size(), 4u);
}

TEST_F(ConfigBackupInLab, DiffOfTwoHostsListsExactlyTheChangedSettings) {
    const std::string zones = "912101109121011093210110932101109621111097211110";
    std::string changed = zones;
    changed.replace(16, 2, "94");  // zone 3 takes another type
    ConfigSnapshot first;
    {
        auto sim =
            StartOneHost(R"("sections": {"04": ")" + zones + R"("}, "gprs": {"heartbeat": 60})");
        first = Backup();
    }
    // The file is what a second session compares with.
    first = SnapshotFromJson(SnapshotToJson(first));
    EXPECT_EQ(first.host, lab->hostIps[0]);
    EXPECT_EQ(first.sections[4], zones);
    EXPECT_FALSE(first.model.empty());

    auto sim =
        StartOneHost(R"("sections": {"04": ")" + changed + R"("}, "gprs": {"heartbeat": 90})");
    const ConfigSnapshot second = Backup();
    HostWindow pages(*tdm);
    AssembleStandardPages(pages);
    const auto diffs = CompareSnapshots(pages, first, second);
    ASSERT_EQ(diffs.size(), 2u) << DifferenceReport(diffs);
    EXPECT_EQ(diffs[0].caption, "防区3 防区类型");
    EXPECT_EQ(diffs[1].caption, "心跳间隔时间");
    EXPECT_EQ(diffs[1].before, "60");
    EXPECT_EQ(diffs[1].after, "90");

    // A wrong installer code reads nothing more than section 00.
    EXPECT_THROW(Backup("000000"), SnapshotError);
}

}  // namespace
}  // namespace tarnwick::testing

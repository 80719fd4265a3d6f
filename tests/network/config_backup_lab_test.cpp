// A whole-configuration read of a simulated host, and the comparison of two
// hosts that differ in a zone and the module heartbeat.
#include <gtest/gtest.h>

#include "app/standard_pages.h"
#include "backup/config_compare.h"
#include "backup/config_snapshot.h"
#include "backup/snapshot_reads.h"
#include "hosts/host_window.h"
#include "support/lab_fixture.h"

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

#include "backup/config_actions.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>

#include "app/standard_pages.h"
#include "backup/config_compare.h"
#include "backup/config_restore.h"
#include "backup/snapshot_file.h"
#include "backup/snapshot_reads.h"
#include "hosts/login.h"
#include "modules/nm_decoder.h"
#include "storage/archives.h"
#include "storage/workplace.h"
#include "support/actions_fixture.h"
#include "support/config_host.h"
#include "support/host_window_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

TEST(ConfigActions, ScratchPagesLeaveTheSessionWithTheWindowTheOperatorSees) {
    ActionsFixture a;
    a.window.Page(0).Controls()["edtLocalIP"].text = "10.77.0.99";
    a.scratch.Page(0).Controls()["edtLocalIP"].text = "10.1.1.1";
    ASSERT_TRUE(a.f.tdm->session.localIpText);
    EXPECT_EQ(a.f.tdm->session.localIpText(), "10.77.0.99");
    a.f.tdm->session.onMovedByModule("10.77.0.99");
    EXPECT_EQ(a.window.frame["lblHost"].text, "IP地址:10.77.0.99:5200");
}

TEST(ConfigActions, ACancelledDialogSendsNothingAndShowsNothing) {
    struct Case {
        const char* what;
        std::function<void(ActionsFixture&)> run;
    };
    const Case cases[] = {
        {"backup",
         [](ActionsFixture& a) {
             a.actions.chooseBackupPath = [](const std::string&) { return std::string(); };
             a.actions.Backup();
         }},
        {"compare",
         [](ActionsFixture& a) {
             a.actions.chooseComparePaths = [] { return std::vector<std::string>{}; };
             a.actions.Compare();
         }},
        {"restore",
         [](ActionsFixture& a) {
             a.actions.chooseRestorePath = [] { return std::string(); };
             a.actions.Restore();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ActionsFixture a;
        c.run(a);
        EXPECT_TRUE(a.f.client().sent.empty());
        EXPECT_TRUE(a.boxes().empty());
        EXPECT_FALSE(a.shown.has_value());
        for (const auto& entry : std::filesystem::directory_iterator(a.f.dir.Path()))
            EXPECT_NE(entry.path().extension(), ".json") << entry.path();
        EXPECT_TRUE(a.Idle());
    }
}

TEST(ConfigActions, BackupWritesAFileOnlyItsOwnerReadsThatLoadsBack) {
    ActionsFixture a;
    std::string offered;
    int asked = 0;
    const std::string chosen = a.f.dir.File("site");
    a.actions.chooseBackupPath = [&](const std::string& suggested) {
        ++asked;
        offered = suggested;
        return chosen;
    };
    // A second click while the host is read starts nothing.
    a.f.client().onReceive = [&] { a.actions.Backup(); };
    a.actions.Backup();

    EXPECT_EQ(asked, 1);
    EXPECT_EQ(offered, std::string(kFixtureHost) + "_20261207-0830.json");
    const ConfigSnapshot back = ReadSnapshotFile(chosen + ".json", &a.codes);
    EXPECT_EQ(back.host, kFixtureHost);
    EXPECT_EQ(back.sections, SampleBodies());
    struct stat info {};
    ASSERT_EQ(::stat((chosen + ".json").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(a.boxes().size(), 1u);
    EXPECT_EQ(a.boxes()[0].kind, "information");
    EXPECT_NE(a.boxes()[0].text.find(chosen + ".json"), std::string::npos);
    EXPECT_TRUE(a.Idle());
    EXPECT_FALSE(a.window.waiting.visible);
    // The database keeps the same snapshot, with who took it where.
    const std::vector<ArchivedBackup> archived = ArchivedBackups(*a.f.db, kFixtureHost);
    ASSERT_EQ(archived.size(), 1u);
    EXPECT_EQ(SnapshotFromStoredText(archived[0].snapshot, &a.codes).sections, SampleBodies());
    EXPECT_EQ(archived[0].operatorName, ThisWorkplace().operatorName);
    EXPECT_EQ(archived[0].workstation, ThisWorkplace().workstation);
}

TEST(ConfigActions, AFailedBackupWritesNoFileAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(ActionsFixture&)> arrange;
        const char* file;
        const char* named;
    };
    const Case cases[] = {
        {"another installer code", [](ActionsFixture& a) { a.login.password = "000000"; }, "a.json",
         "安装员密码有误"},
        {"a silent host", [](ActionsFixture& a) { a.f.client().responder = nullptr; }, "b.json",
         "主机无应答"},
        {"a folder that does not exist", [](ActionsFixture&) {}, "missing/c.json", "写入失败"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ActionsFixture a;
        c.arrange(a);
        const std::string path = a.BackUp(c.file);
        EXPECT_FALSE(Exists(path));
        EXPECT_FALSE(Exists(path + ".partial"));
        ASSERT_EQ(a.boxes().size(), 1u);
        EXPECT_EQ(a.boxes()[0].kind, "warning");
        EXPECT_NE(a.boxes()[0].text.find("备份配置失败"), std::string::npos);
        EXPECT_NE(a.boxes()[0].text.find(c.named), std::string::npos) << a.boxes()[0].text;
        EXPECT_TRUE(a.Idle());
    }
}

TEST(ConfigActions, CompareShowsOneRowPerChangedSettingWithItsColumns) {
    ActionsFixture a;
    const std::string before = a.BackUp("before.json");
    a.Answer(ZoneThreeChanged());
    const std::string after = a.BackUp("after.json");
    a.boxes().clear();

    // Two files: nothing is sent.
    a.f.client().sent.clear();
    a.actions.chooseComparePaths = [&] { return std::vector<std::string>{before, after}; };
    a.actions.Compare();
    EXPECT_TRUE(a.f.client().sent.empty());
    ASSERT_TRUE(a.shown.has_value());
    EXPECT_EQ(a.shown->columns,
              (ComparisonTable::Row{"页面", "设置", "第一个文件中的值", "第二个文件中的值"}));
    ASSERT_EQ(a.shown->rows.size(), 1u);
    EXPECT_EQ(a.shown->rows[0], (ComparisonTable::Row{"有线防区", "防区3 防区类型", "C - 防盗防区",
                                                      "B - 门铃防区 "}));
    EXPECT_NE(a.shown->summary.find("before.json"), std::string::npos) << a.shown->summary;
    EXPECT_NE(a.shown->summary.find("共 1 项设置不同"), std::string::npos) << a.shown->summary;

    // One file against the live host, which holds the changed zone.
    a.shown.reset();
    a.actions.chooseComparePaths = [&] { return std::vector<std::string>{before}; };
    a.actions.Compare();
    EXPECT_FALSE(a.f.client().sent.empty());
    ASSERT_TRUE(a.shown.has_value());
    EXPECT_EQ(a.shown->columns[2], "文件中的值");
    EXPECT_EQ(a.shown->columns[3], "主机上的值");
    ASSERT_EQ(a.shown->rows.size(), 1u);
    EXPECT_EQ(a.shown->rows[0][3], "B - 门铃防区 ");

    // The file the host still matches.
    a.shown.reset();
    a.actions.chooseComparePaths = [&] { return std::vector<std::string>{after}; };
    a.actions.Compare();
    ASSERT_TRUE(a.shown.has_value());
    EXPECT_TRUE(a.shown->rows.empty());
    EXPECT_NE(a.shown->summary.find(kSameConfigText), std::string::npos);
    EXPECT_TRUE(a.boxes().empty());
    EXPECT_TRUE(a.Idle());
}

TEST(ConfigActions, CompareRefusesBadChoicesAndDamagedFilesBeforeReadingTheHost) {
    ActionsFixture a;
    const std::string good = a.BackUp("good.json");
    const std::string damaged = a.f.dir.File("damaged.json");
    std::ofstream(damaged) << "{\"format\": 1, \"host\": ";
    struct Case {
        const char* what;
        std::vector<std::string> paths;
        const char* named;
    };
    const Case cases[] = {
        {"three files", {good, good, good}, "一个或两个"},
        {"a damaged file", {damaged}, "damaged.json: 配置文件不是完整的JSON"},
        {"a damaged second file", {good, damaged}, "damaged.json"},
        {"a missing file", {a.f.dir.File("gone.json")}, "gone.json: 无法打开"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        a.boxes().clear();
        a.f.client().sent.clear();
        a.actions.chooseComparePaths = [&] { return c.paths; };
        a.actions.Compare();
        EXPECT_TRUE(a.f.client().sent.empty());
        EXPECT_FALSE(a.shown.has_value());
        ASSERT_EQ(a.boxes().size(), 1u);
        EXPECT_EQ(a.boxes()[0].kind, "warning");
        EXPECT_NE(a.boxes()[0].text.find(c.named), std::string::npos) << a.boxes()[0].text;
        EXPECT_TRUE(a.Idle());
    }
}

}  // namespace
}  // namespace tarnwick::testing

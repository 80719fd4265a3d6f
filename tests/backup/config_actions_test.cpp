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
#include "support/config_host.h"
#include "support/host_window_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

// The host window with its configuration actions, logged in with the sample
// host's installer code, on a host answering every read.
struct ActionsFixture : HostWindowFixture {
    ActionsFixture() {
        AssembleScratchPages(scratch);
        login.password = "123456";
        Answer(SampleBodies());
        actions.showComparison = [this](const ComparisonTable& t) { shown = t; };
    }
    // The host now holds `bodies`.
    void Answer(const SectionArray& bodies) {
        *host = bodies;
        // Blank centre addresses are written as 0.0.0.0 with every restore.
        f.client().responder =
            ConfigHost(SnapshotReads(window), host, {kNmSetCentreIpPair, kNmSetLocalPair});
    }
    // Backs the host up into `name` in the test folder; the path written.
    std::string BackUp(const std::string& name) {
        const std::string path = f.dir.File(name);
        actions.chooseBackupPath = [path](const std::string&) { return path; };
        actions.Backup();
        return WithExtension(path);
    }
    static std::string WithExtension(const std::string& path) {
        return path.find(".json") == std::string::npos ? path + ".json" : path;
    }
    std::vector<RecordingOperator::Box>& boxes() { return f.op.boxes; }
    bool Idle() const {
        return window.pcMainEnabled && window.bottomEnabled && !f.tdm->flowRunning;
    }

    HostWindow scratch{*f.tdm};
    LoginDialog login;
    ConfigActions actions{window, scratch, login};
    std::shared_ptr<SectionArray> host = std::make_shared<SectionArray>();
    std::optional<ComparisonTable> shown;
};

// Section 04 with zone 3 of another type.
SectionArray ZoneThreeChanged() {
    auto bodies = SampleBodies();
    bodies[4].replace(16, 2, "3B");
    return bodies;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

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
    const ConfigSnapshot back = ReadSnapshotFile(chosen + ".json");
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
    EXPECT_EQ(SnapshotFromJson(archived[0].snapshot).sections, SampleBodies());
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

// Every section write the client sent.
std::vector<int> SectionWrites(const ActionsFixture& a) {
    std::vector<int> out;
    for (const auto& sent : a.f.clientEndpoint->sent)
        if (const int section = WrittenSection({"", sent.payload, {}}); section >= 0)
            out.push_back(section);
    return out;
}

// The question lists the settings that change by page and caption, then the
// writes; Enter (its default, 否) writes nothing.
TEST(ConfigActions, RestoreAsksWithTheChangedSettingsAndTheWritesAndEnterWritesNothing) {
    ActionsFixture a;
    const std::string saved = a.BackUp("saved.json");
    a.Answer(ZoneThreeChanged());
    a.boxes().clear();
    a.f.op.enterWhenUnscripted = true;
    a.actions.chooseRestorePath = [&] { return saved; };
    a.actions.Restore();
    EXPECT_TRUE(SectionWrites(a).empty());
    EXPECT_EQ(*a.host, ZoneThreeChanged());
    ASSERT_EQ(a.boxes().size(), 1u);
    EXPECT_EQ(a.boxes()[0].kind, "ask");
    const std::string& question = a.boxes()[0].text;
    EXPECT_NE(question.find("saved.json"), std::string::npos) << question;
    const std::string shownType = a.window.Page(1).Controls()["cbDefenceZoneType3"].items[0xB];
    const std::string savedType = a.window.Page(1).Controls()["cbDefenceZoneType3"].items[0xC];
    EXPECT_NE(question.find("[有线防区]\n  防区3 防区类型: " + shownType + " → " + savedType),
              std::string::npos)
        << question;
    EXPECT_EQ(question.find("编程区04: 1182:"), question.find("\n编程区04: 1182:") + 1) << question;
    EXPECT_LT(question.find("防区3 防区类型"), question.find("写入以下 1 项")) << question;
    EXPECT_TRUE(a.Idle());
}

// Another host's file: its local network settings would move this host onto
// the other one's address. They are left out, the question says so, and the
// re-read reads the host that was written.
TEST(ConfigActions, RestoreOfAnotherHostsFileLeavesItsLocalNetworkOut) {
    ActionsFixture a;
    ConfigSnapshot other = ReadSnapshotFile(a.BackUp("saved.json"));
    other.host = "10.77.0.12";
    std::erase_if(other.keys, [](const auto& k) { return k.first.starts_with("NMLocal"); });
    other.keys.emplace_back("NMLocalDHCP", "01");
    other.keys.emplace_back("NMLocalIP", "10.77.0.12");
    const std::string path = a.f.dir.File("other.json");
    WriteSnapshotFile(path, other);
    a.Answer(ZoneThreeChanged());
    a.boxes().clear();
    // Unless allowed (the window asks; the command line needs --force), the
    // core refuses it before anything is written.
    a.f.client().sent.clear();
    EXPECT_THROW(PrepareRestore(a.scratch, other, "123456", {}), SnapshotError);
    EXPECT_TRUE(SectionWrites(a).empty());
    a.f.client().sent.clear();
    a.actions.chooseRestorePath = [&] { return path; };
    a.actions.Restore();

    ASSERT_EQ(a.boxes().size(), 2u);
    const std::string& question = a.boxes()[0].text;
    EXPECT_NE(question.find("不写入文件中的本地网络设置：本地IP地址、子网掩码、默认网关"),
              std::string::npos)
        << question;
    EXPECT_EQ(question.find("本地IP地址:"), std::string::npos) << question;
    EXPECT_EQ(question.find(std::string(kNmSetLocalPair)), std::string::npos) << question;
    EXPECT_EQ(SectionWrites(a), std::vector<int>{4});
    for (const auto& sent : a.f.client().sent) EXPECT_EQ(sent.host, kFixtureHost);
    EXPECT_EQ(a.f.tdm->session.CurrentHost(), kFixtureHost);
    EXPECT_EQ(a.boxes()[1].kind, "information") << a.boxes()[1].text;
    EXPECT_NE(a.boxes()[1].text.find("本地IP地址"), std::string::npos) << a.boxes()[1].text;
    EXPECT_NE(a.boxes()[1].text.find("与文件一致"), std::string::npos) << a.boxes()[1].text;
}

TEST(ConfigActions, RestoreWritesOnlyWhatDiffersReportsAndShowsTheHostAgain) {
    ActionsFixture a;
    const std::string saved = a.BackUp("saved.json");
    a.Answer(ZoneThreeChanged());
    a.boxes().clear();
    a.f.client().sent.clear();
    a.actions.chooseRestorePath = [&] { return saved; };
    a.actions.Restore();

    EXPECT_EQ(SectionWrites(a), std::vector<int>{4});
    EXPECT_EQ(*a.host, SampleBodies());
    ASSERT_EQ(a.boxes().size(), 2u);
    EXPECT_EQ(a.boxes()[0].kind, "ask");
    EXPECT_EQ(a.boxes()[1].kind, "information");
    EXPECT_NE(a.boxes()[1].text.find("已写入 编程区04"), std::string::npos) << a.boxes()[1].text;
    EXPECT_NE(a.boxes()[1].text.find("与文件一致"), std::string::npos) << a.boxes()[1].text;
    // The current page was read again last.
    const CommandList pageReads = a.window.Page(a.window.ActivePage()).ReadList();
    EXPECT_EQ(a.f.client().sent.back().payload, pageReads.back().frame);
    EXPECT_TRUE(a.Idle());
}

TEST(ConfigActions, RestoreRefusesAHostOfAnotherModelAndAFailedWriteSaysWhatWasWritten) {
    ActionsFixture a;
    ConfigSnapshot other = ReadSnapshotFile(a.BackUp("saved.json"));
    other.model = "TWK-32 V1.00";
    const std::string otherPath = a.f.dir.File("other.json");
    WriteSnapshotFile(otherPath, other);
    a.Answer(ZoneThreeChanged());
    a.boxes().clear();
    a.actions.chooseRestorePath = [&] { return otherPath; };
    a.actions.Restore();
    EXPECT_TRUE(SectionWrites(a).empty());
    ASSERT_EQ(a.boxes().size(), 1u);
    EXPECT_EQ(a.boxes()[0].kind, "warning");
    EXPECT_NE(a.boxes()[0].text.find("型号"), std::string::npos) << a.boxes()[0].text;

    // The host refuses the write: the report says so as a warning.
    a.boxes().clear();
    const Responder host = a.f.client().responder;
    a.f.client().responder = [host](const std::string& payload) -> std::vector<std::string> {
        if (WrittenSection({"", payload, {}}) >= 0) return {HostDatagram("11", "02", "03")};
        return host(payload);
    };
    a.actions.chooseRestorePath = [&] { return a.f.dir.File("saved.json"); };
    a.actions.Restore();
    EXPECT_EQ(*a.host, ZoneThreeChanged());
    ASSERT_EQ(a.boxes().size(), 2u);
    EXPECT_EQ(a.boxes()[1].kind, "warning");
    EXPECT_NE(a.boxes()[1].text.find("恢复中止 编程区04"), std::string::npos) << a.boxes()[1].text;
    EXPECT_EQ(a.boxes()[1].text.find("已写入"), std::string::npos) << a.boxes()[1].text;
    EXPECT_TRUE(a.Idle());
}

// The module answers a new local address by restarting there: the tool
// follows it to the file's address, not to the one the window showed.
TEST(ConfigActions, RestoreOfTheLocalNetworkFollowsTheHostToTheFilesAddress) {
    ActionsFixture a;
    ConfigSnapshot moved = ReadSnapshotFile(a.BackUp("saved.json"));
    std::erase_if(moved.keys, [](const auto& k) { return k.first.starts_with("NMLocal"); });
    moved.keys.emplace_back("NMLocalDHCP", "01");
    moved.keys.emplace_back("NMLocalIP", "10.77.0.12");
    const std::string path = a.f.dir.File("moved.json");
    WriteSnapshotFile(path, moved);
    a.window.Page(0).Controls()["edtLocalIP"].text = std::string(kFixtureHost);
    a.window.Page(0).NoteLoaded();  // as a refresh of the page would have shown it
    a.boxes().clear();
    a.actions.chooseRestorePath = [&] { return path; };
    a.actions.Restore();
    EXPECT_EQ(a.f.tdm->session.CurrentHost(), "10.77.0.12");
    EXPECT_EQ(a.window.frame["lblHost"].text, "IP地址:10.77.0.12:5200");
    EXPECT_EQ(a.f.clientEndpoint->sent.back().host, "10.77.0.12");
    ASSERT_GE(a.boxes().size(), 2u);
    EXPECT_NE(a.boxes()[0].text.find("设置设备本地网络参数"), std::string::npos)
        << a.boxes()[0].text;
    // Afterwards the window's own page again names the address a save moves to.
    EXPECT_EQ(a.f.tdm->session.localIpText(), a.window.Page(0).Controls()["edtLocalIP"].text);
}

}  // namespace
}  // namespace tarnwick::testing

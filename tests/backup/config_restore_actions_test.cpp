#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>

#include "app/standard_pages.h"
#include "backup/config_actions.h"
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
    ConfigSnapshot other = ReadSnapshotFile(a.BackUp("saved.json"), &a.codes);
    other.host = "10.77.0.12";
    std::erase_if(other.keys, [](const auto& k) { return k.first.starts_with("NMLocal"); });
    other.keys.emplace_back("NMLocalDHCP", "01");
    other.keys.emplace_back("NMLocalIP", "10.77.0.12");
    const std::string path = a.f.dir.File("other.json");
    WriteSnapshotFile(path, other, CodeForm::Sealed, a.codes);
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
    ConfigSnapshot other = ReadSnapshotFile(a.BackUp("saved.json"), &a.codes);
    other.model = "TWK-32 V1.00";
    const std::string otherPath = a.f.dir.File("other.json");
    WriteSnapshotFile(otherPath, other, CodeForm::Sealed, a.codes);
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
    ConfigSnapshot moved = ReadSnapshotFile(a.BackUp("saved.json"), &a.codes);
    std::erase_if(moved.keys, [](const auto& k) { return k.first.starts_with("NMLocal"); });
    moved.keys.emplace_back("NMLocalDHCP", "01");
    moved.keys.emplace_back("NMLocalIP", "10.77.0.12");
    const std::string path = a.f.dir.File("moved.json");
    WriteSnapshotFile(path, moved, CodeForm::Sealed, a.codes);
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

// A file without its codes restores everything else; the host keeps its own
// codes, and the question and the report say which were left out.
TEST(ConfigActions, RestoreOfAFileWithoutCodesKeepsTheHostsCodesAndSaysSo) {
    ActionsFixture a;
    const ConfigSnapshot saved = ReadSnapshotFile(a.BackUp("saved.json"), &a.codes);
    const std::string path = a.f.dir.File("redacted.json");
    WriteSnapshotFile(path, saved, CodeForm::Redacted, a.codes);
    SectionArray host = ZoneThreeChanged();
    host[0].replace(8, 4, "9999");  // user 1's code, changed on the host since
    a.Answer(host);
    a.boxes().clear();
    a.actions.chooseRestorePath = [&] { return path; };
    a.actions.Restore();

    EXPECT_EQ(SectionWrites(a), std::vector<int>{4});
    EXPECT_EQ((*a.host)[0], host[0]);
    ASSERT_EQ(a.boxes().size(), 2u);
    for (const auto& box : a.boxes())
        EXPECT_NE(box.text.find("未恢复：用户密码（备份中不含密码）"), std::string::npos)
            << box.text;
    EXPECT_EQ(a.boxes()[1].kind, "information") << a.boxes()[1].text;
}

// A sealed file asks for its passphrase; a wrong one sends nothing and is
// forgotten, the right one restores the codes, and no log row keeps them.
TEST(ConfigActions, ASealedFileAsksItsPassphraseAndAWrongOneSendsNothing) {
    ActionsFixture a;
    const std::string saved = a.BackUp("saved.json");
    SectionArray host = ZoneThreeChanged();
    host[0].replace(8, 4, "9999");
    a.Answer(host);
    const std::vector<std::string> answers = {"wrong", "test passphrase"};
    size_t asked = 0;
    a.codes.Forget();
    a.codes.askPassphrase = [&](bool sealedFile) -> std::optional<PassphraseAnswer> {
        EXPECT_TRUE(sealedFile);
        return PassphraseAnswer{answers.at(asked++), true};
    };
    a.boxes().clear();
    a.f.client().sent.clear();
    a.actions.chooseRestorePath = [&] { return saved; };
    a.actions.Restore();
    EXPECT_TRUE(a.f.client().sent.empty());
    ASSERT_EQ(a.boxes().size(), 1u);
    EXPECT_NE(a.boxes()[0].text.find(kWrongPassphraseText), std::string::npos);

    a.actions.Restore();
    EXPECT_EQ(asked, 2u);
    EXPECT_EQ(SectionWrites(a), (std::vector<int>{0, 4}));
    EXPECT_EQ(*a.host, SampleBodies());
    const auto rows = a.f.db->Select("Select OperationInfo From OperationLog");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(DbColumn(rows[0], "OperationInfo").find("820900******01****02"), std::string::npos)
        << DbColumn(rows[0], "OperationInfo");
}

}  // namespace
}  // namespace tarnwick::testing

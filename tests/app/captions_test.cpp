// Every input a screen reader meets is read out by its caption: on each page
// of the host window and in the windows beside it, no input goes without one
// and no two inputs of one page are read out alike.
#include <gtest/gtest.h>

#include "hosts/connect_address.h"
#include "hosts/modify_ip.h"
#include "hosts/page_branch.h"
#include "hosts/site_book_window.h"
#include "operation/fleet_board.h"
#include "operation/pairing.h"
#include "support/fake_fleet_lanes.h"
#include "support/host_window_fixture.h"

namespace tarnwick {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "\n  " + line;
    return text;
}

TEST(Captions, EveryInputOfEveryPageAndWindowIsReadOutOnceByItsCaption) {
    testing::HostWindowFixture w;
    for (int i = 0; i < w.window.PageCount(); ++i) {
        const PageBranch& page = w.window.Page(i);
        EXPECT_TRUE(page.Controls().CaptionProblems().empty())
            << page.PageName() << Lines(page.Controls().CaptionProblems());
    }
    PairingWindow pairing(*w.f.tdm);
    ModifyIpDialog modifyIp(w.f.op);
    ConnectAddressDialog connect;
    SiteBookWindow sites(w.f.op, *w.f.db);
    testing::FakeFleetLanes lanes;
    FleetPoller poller(lanes, w.f.clock);
    FleetBoard board(poller);
    for (const PageModel* model :
         {&w.window.frame, &pairing.controls, &modifyIp.controls, &connect.controls,
          &sites.controls, &sites.edit.controls, &board.controls})
        EXPECT_TRUE(model->CaptionProblems().empty()) << Lines(model->CaptionProblems());
}

TEST(Captions, AreReadOutWithoutClosingColonsAndLetterSpacing) {
    const std::pair<const char*, const char*> cases[] = {
        {"设备ID号：", "设备ID号"},
        {"密  码:", "密码"},
        {"短 信 开 关：", "短信开关"},
        {"防区3 防区类型", "防区3 防区类型"},
        {"第一组 星期 一", "第一组 星期 一"},
        {"查询自        条起的20条", "查询自 条起的20条"},
        {"", ""},
    };
    for (const auto& [caption, spoken] : cases)
        EXPECT_EQ(SpokenCaption(caption), spoken) << caption;
}

TEST(Captions, ProblemsNameTheInputWithoutCaptionAndTheRepeatedOne) {
    PageModel model;
    model.Edit("edtPort1").caption = "端口：";
    model.Edit("edtPort2").caption = "端口";
    model.Combo("cbMode", {"a"});
    model.Button("bbtnSave", "保存");
    model.Label("lblNote");
    model.Add("memLog", ControlKind::Memo).readOnly = true;
    const std::vector<std::string> problems = model.CaptionProblems();
    ASSERT_EQ(problems.size(), 2u) << Lines(problems);
    EXPECT_EQ(problems[0], "edtPort2 is read out as \"端口\" like edtPort1");
    EXPECT_EQ(problems[1], "cbMode has no caption");
}

}  // namespace
}  // namespace tarnwick

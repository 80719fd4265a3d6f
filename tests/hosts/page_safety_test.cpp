// What keeps a save from writing what the operator did not mean: a page
// whose load stopped is not saved, unsaved changes are never thrown away
// without a question, and every question's default answer writes nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "backup/snapshot_reads.h"
#include "hosts/host_window.h"
#include "modules/firmware_upgrade.h"
#include "protocol/text_helpers.h"
#include "support/config_host.h"
#include "support/fake_ftp.h"
#include "support/host_window_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

constexpr int kHostControlPage = 0;
constexpr int kWiredPage = 1;
constexpr int kWirelessPage = 2;
constexpr int kCommunicationPage = 3;
constexpr int kSystemProgramPage = 4;
constexpr int kGprsPage = 5;

// The host window on a host holding the sample sections (and blank module
// settings), reading each page it is shown.
struct PagesOnAHost : HostWindowFixture {
    PagesOnAHost() {
        f.client().responder = ConfigHost(SnapshotReads(window), host);
        AutoRefresh(true);
    }
    void Show(int page) {
        window.PageChange(page);
        f.client().sent.clear();
        f.op.boxes.clear();
    }
    PageModel& Controls(int page) { return window.Page(page).Controls(); }
    // The operator picks the next zone type for wired zone 3.
    void EditZoneType() {
        Control& type = Controls(kWiredPage)["cbDefenceZoneType3"];
        type.index = (type.index + 1) % static_cast<int>(type.items.size());
        Controls(kWiredPage).Change("cbDefenceZoneType3");
    }
    std::vector<int> SectionWrites() const {
        std::vector<int> out;
        for (const auto& sent : f.clientEndpoint->sent)
            if (const int section = WrittenSection({"", sent.payload, {}}); section >= 0)
                out.push_back(section);
        return out;
    }

    std::shared_ptr<SectionArray> host = std::make_shared<SectionArray>(SampleBodies());
};

// The host sends a digit that is no number: F8 shows one box naming the page
// and the field, and sends nothing; a refresh that loads whole makes the
// page savable again.
TEST(StoppedLoad, APageIsNotSavedUntilItLoadsWhole) {
    struct Case {
        int page;
        int section;
        size_t at;
        const char* digits;
        const char* control;
    };
    const Case cases[] = {
        {3, 0, 12, "0A", "cbArmingType2"},              // a user's rights
        {kWiredPage, 4, 8, "B", "cbYXDefenceZoneNo2"},  // a zone's report group
        {kWirelessPage, 5, 6, "B", "cbWXDefenceZoneNo2"},
        {kHostControlPage, 6, 10, "A", "stxtWeek13"},  // a schedule day
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        PagesOnAHost w;
        (*w.host)[static_cast<size_t>(c.section)].replace(c.at, std::strlen(c.digits), c.digits);
        w.Show(c.page);
        const std::string caption = w.Controls(c.page)[c.control].caption;
        w.window.KeyDown(HostWindow::Key::F8);
        EXPECT_TRUE(w.f.client().sent.empty());
        ASSERT_EQ(w.f.op.boxes.size(), 1u);
        const std::string& box = w.f.op.boxes[0].text;
        EXPECT_EQ(w.f.op.boxes[0].kind, "warning");
        EXPECT_EQ(box, UnreadablePageText(w.window.Page(c.page).Caption(), caption));
        EXPECT_NE(box.find("“" + caption + "”无法读取，不能保存"), std::string::npos) << box;
        EXPECT_NE(box.find(Trim(w.window.Page(c.page).Caption())), std::string::npos) << box;

        *w.host = SampleBodies();
        w.window.KeyDown(HostWindow::Key::F5);
        w.f.op.boxes.clear();
        w.window.KeyDown(HostWindow::Key::F8);
        EXPECT_FALSE(w.window.Page(c.page).LoadStopped());
        for (const auto& b : w.f.op.boxes)
            EXPECT_EQ(b.text.find("无法读取"), std::string::npos) << b.text;
        EXPECT_TRUE(w.SectionWrites().empty());
    }
}

TEST(UnsavedChanges, AnEditMarksTheTabAndEveryWayOfLeavingAsksAndNoKeepsIt) {
    struct Case {
        const char* what;
        std::function<void(PagesOnAHost&)> leave;
    };
    const Case cases[] = {
        {"another page", [](PagesOnAHost& w) { w.window.PageChange(kWirelessPage); }},
        {"F5", [](PagesOnAHost& w) { w.window.KeyDown(HostWindow::Key::F5); }},
        {"刷新", [](PagesOnAHost& w) { w.window.frame.Click("bbtnRefresh"); }},
        {"退出 and Escape", [](PagesOnAHost& w) { w.window.Close(); }},
        {"the window's activation", [](PagesOnAHost& w) { w.window.Activate(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PagesOnAHost w;
        w.Show(kWiredPage);
        EXPECT_EQ(w.window.TabCaption(kWiredPage), "有线防区");
        w.EditZoneType();
        const int edited = w.Controls(kWiredPage)["cbDefenceZoneType3"].index;
        EXPECT_EQ(w.window.TabCaption(kWiredPage), "*有线防区");
        EXPECT_EQ(w.window.TabCaption(kWirelessPage), "无线防区");

        w.f.op.answers = {false};
        c.leave(w);
        ASSERT_EQ(w.f.op.boxes.size(), 1u);
        EXPECT_EQ(w.f.op.boxes[0].kind, "ask");
        EXPECT_EQ(w.f.op.boxes[0].text, kDiscardEditsQuestion);
        EXPECT_TRUE(w.f.client().sent.empty());
        EXPECT_EQ(w.closed, 0);
        EXPECT_EQ(w.window.ActivePage(), kWiredPage);
        EXPECT_EQ(w.Controls(kWiredPage)["cbDefenceZoneType3"].index, edited);
        EXPECT_EQ(w.window.TabCaption(kWiredPage), "*有线防区");
    }

    // 是 gives the edit up: the page shows what the host holds again.
    PagesOnAHost w;
    w.Show(kWiredPage);
    const int loaded = w.Controls(kWiredPage)["cbDefenceZoneType3"].index;
    w.EditZoneType();
    w.f.op.answers = {true};
    w.window.PageChange(kWirelessPage);
    EXPECT_EQ(w.window.ActivePage(), kWirelessPage);
    EXPECT_EQ(w.Controls(kWiredPage)["cbDefenceZoneType3"].index, loaded);
    EXPECT_EQ(w.window.TabCaption(kWiredPage), "有线防区");
    EXPECT_TRUE(w.SectionWrites().empty());
}

// A typed text marks its page as a chosen entry does.
TEST(UnsavedChanges, ATypedTextMarksThePageAndRefreshAsksFirst) {
    PagesOnAHost w;
    w.Show(kCommunicationPage);
    w.Controls(kCommunicationPage)["edtAlarmCall2"].text += "9";
    w.Controls(kCommunicationPage).Change("edtAlarmCall2");
    EXPECT_EQ(w.window.TabCaption(kCommunicationPage), "*通讯参数");
    w.f.op.answers = {false};
    w.window.KeyDown(HostWindow::Key::F5);
    ASSERT_EQ(w.f.op.boxes.size(), 1u);
    EXPECT_EQ(w.f.op.boxes[0].text, kDiscardEditsQuestion);
    EXPECT_TRUE(w.f.client().sent.empty());
}

// The host holds values a page cannot show: an eighth cross-zone digit 7,
// and 02 for the dual network switch (shown as 01). Every page whose save
// would put one right loads marked changed, the status bar names the field
// and both values, and F8 then writes it; the system program page carries
// the cross-zone fields through as received.
TEST(UnsavedChanges, AValueThePageCannotShowIsAnnouncedBeforeASaveWritesIt) {
    const std::string cross =
        "“有线交叉防区逻辑”主机中为01021537，本页无法显示，保存时将写为01021530。";
    const struct {
        int page;
        std::string tab;
        std::string status;
        char crossDigitAfter;
    } cases[] = {
        {kWiredPage, "有线防区", cross, '0'},
        {kCommunicationPage, "通讯参数", cross, '0'},
        {kSystemProgramPage, "系统编程", "“双网切换”主机中为02，本页无法显示，保存时将写为01。",
         '7'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        PagesOnAHost w;
        (*w.host)[7][29] = '7';
        w.Show(c.page);
        EXPECT_EQ(w.window.TabCaption(c.page), "*" + c.tab);
        EXPECT_EQ(w.window.frame["lblSaveState"].text, c.status);
        w.window.KeyDown(HostWindow::Key::F8);
        EXPECT_EQ(w.SectionWrites(), std::vector<int>{7});
        EXPECT_EQ((*w.host)[7][29], c.crossDigitAfter);
        // The refresh after the save found nothing left to put right.
        EXPECT_EQ(w.window.TabCaption(c.page), c.tab);
        EXPECT_EQ(w.window.frame["lblSaveState"].text, "");
    }
}

// Every question whose 是 writes to a host or gives up work: Enter takes the
// box's default answer, and nothing is written or lost.
TEST(QuestionDefault, EnterOnEveryQuestionSendsNothing) {
    struct Case {
        const char* what;
        int page;
        std::function<void(PagesOnAHost&)> ask;
    };
    FakeFtp ftp;
    ftp.names = {"IMAGE.RAM"};
    const Case cases[] = {
        {"GPRS factory reset", kGprsPage,
         [](PagesOnAHost& w) { w.Controls(kGprsPage).Click("bbtnDefaultSetGPRS"); }},
        {"GPRS restart", kGprsPage,
         [](PagesOnAHost& w) { w.Controls(kGprsPage).Click("bbtnRebootGPRS"); }},
        {"network module factory reset", kHostControlPage,
         [](PagesOnAHost& w) { w.Controls(kHostControlPage).Click("bbtnDefaultSetNM"); }},
        {"network module restart", kHostControlPage,
         [](PagesOnAHost& w) { w.Controls(kHostControlPage).Click("bbtnRebootNM"); }},
        {"firmware upgrade", kHostControlPage,
         [&ftp](PagesOnAHost& w) { RunFirmwareUpgrade(w.window, ftp, "10.0.0.1"); }},
        {"unsaved changes", kWiredPage,
         [](PagesOnAHost& w) {
             w.EditZoneType();
             w.window.PageChange(kWirelessPage);
             EXPECT_EQ(w.window.TabCaption(kWiredPage), "*有线防区");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PagesOnAHost w;
        w.Show(c.page);
        w.f.op.enterWhenUnscripted = true;
        c.ask(w);
        ASSERT_EQ(w.f.op.boxes.size(), 1u);
        EXPECT_EQ(w.f.op.boxes[0].kind, "ask");
        EXPECT_TRUE(w.f.client().sent.empty());
        EXPECT_EQ(w.window.ActivePage(), c.page);
    }
}

}  // namespace
}  // namespace tarnwick::testing

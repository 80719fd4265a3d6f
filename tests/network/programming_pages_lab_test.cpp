// The four programming pages against a simulated host in the lab, driven by
// the keys an operator uses: each refresh reads its sections in order, F8
// writes exactly the sections that changed and reads the page again.
#include <gtest/gtest.h>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "programming/programming_requests.h"
#include "support/lab_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

// Section 04 with six distinct zones and section 07 with a wired cross-zone
// field whose last digit is 0.
const std::string kZones = "1A2110102B1201013C911111901000000E2100008D321010";
const std::string kSection07 = kSampleBodies[7];

class ProgrammingPagesInLab : public LabWindowFixture {
  protected:
    void SetUp() override {
        LabWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        StandardPage(*window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    }
    std::unique_ptr<HostsimProcess> StartHost(const std::string& section07,
                                              const std::string& more = "") {
        return StartOneHost(R"("sections": {"04": ")" + kZones + R"(", "07": ")" + section07 +
                            "\"}" + (more.empty() ? "" : ", " + more));
    }
    // Shows a page and presses a key there.
    void Press(HostWindow::Key key) { window->KeyDown(key); }
    std::vector<std::string> Since(const HostsimProcess& sim, size_t from) const {
        const auto all = sim.ReceivedFrames();
        return {all.begin() + static_cast<long>(std::min(from, all.size())), all.end()};
    }
    Control& At(int page, const std::string& name) { return window->Page(page).Controls()[name]; }
};

TEST_F(ProgrammingPagesInLab, EachRefreshReadsItsSectionsInOrderAndShowsTheHost) {
    auto sim = StartHost(kSection07);
    const std::vector<std::pair<int, std::vector<int>>> pages = {
        {1, {4, 7}}, {2, {5, 7}}, {3, {0, 1, 2, 3, 7}}, {4, {3, 7}}};
    for (const auto& [page, sections] : pages) {
        window->PageChange(page);
        const size_t before = sim->ReceivedFrames().size();
        Press(HostWindow::Key::F5);
        std::vector<std::string> expected;
        for (int section : sections) expected.push_back(ReadSectionRequest(section).frame);
        EXPECT_EQ(Since(*sim, before), expected) << "page " << page;
    }
    // The last refresh was page 4's; each page showed what the host holds.
    EXPECT_EQ(At(1, "cbDefenceZoneType3").SelectedText(), "C - 防盗防区");
    EXPECT_EQ(At(1, "cbWireCrossTime").SelectedText(), "15*3秒");
    EXPECT_EQ(At(3, "edtSetterCode").text, "123456");
    EXPECT_EQ(At(3, "cbTestReportInterval").SelectedText(), "24 - 24小时");
    EXPECT_TRUE(At(4, "rbDualNetwork2").checked);
    EXPECT_TRUE(op.boxes.empty());
}

TEST_F(ProgrammingPagesInLab, OneChangedListIsOneWriteOfItsSectionThenTheReadAgain) {
    auto sim = StartHost(kSection07);
    window->PageChange(1);
    Press(HostWindow::Key::F5);
    At(1, "cbYXDefenceZoneNo3").index = 5;
    const size_t before = sim->ReceivedFrames().size();

    Press(HostWindow::Key::F8);

    std::string written = kZones;
    written[16] = '5';
    const std::vector<std::string> expected = {WriteSectionRequest(4, written).frame,
                                               ReadSectionRequest(4).frame,
                                               ReadSectionRequest(7).frame};
    EXPECT_EQ(Since(*sim, before), expected);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, "\r1182:1102 编程报警主机04----编程报警主机成功!\r");
    EXPECT_EQ(tdm->params.Get("Prog04"), written);
    EXPECT_EQ(At(1, "cbYXDefenceZoneNo3").index, 5);

    // Nothing changed since: F8 sends nothing and shows nothing.
    const size_t after = sim->ReceivedFrames().size();
    Press(HostWindow::Key::F8);
    EXPECT_EQ(sim->ReceivedFrames().size(), after);
    EXPECT_EQ(op.boxes.size(), 1u);
}

TEST_F(ProgrammingPagesInLab, CrossZoneFieldNotEndingInZeroIsRewrittenByTheNextSave) {
    std::string section07 = kSection07;
    section07[29] = '6';
    auto sim = StartHost(section07);
    window->PageChange(1);
    Press(HostWindow::Key::F5);
    const size_t before = sim->ReceivedFrames().size();

    Press(HostWindow::Key::F8);

    const auto sent = Since(*sim, before);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], WriteSectionRequest(7, kSection07).frame);
    EXPECT_EQ(tdm->params.Get("Prog0701"), kSection07.substr(0, 44));
}

TEST_F(ProgrammingPagesInLab, RefusedSaveIsReportedAndTheEditsStay) {
    auto sim =
        StartHost(kSection07, R"("faults": [{"match": "1182", "data": "0904", "result": 3}])");
    window->PageChange(1);
    Press(HostWindow::Key::F5);
    At(1, "ckKeyboardBeeper1").checked = true;

    Press(HostWindow::Key::F8);

    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, "\r1182:1102 编程报警主机04----编程报警主机拒绝!\r");
    EXPECT_EQ(tdm->params.Get("Prog04"), kZones);  // read again: the host kept its zones
    EXPECT_TRUE(At(1, "ckKeyboardBeeper1").checked);
}

// The host holds a report group digit B in section 04: the page's load stops
// at zone 2, and F8 sends nothing (the zones after it, the stay-arming flags
// and the cross-zone lists would go back cleared); its box names the field.
TEST_F(ProgrammingPagesInLab, APageWhoseLoadStoppedSendsNoWrite) {
    std::string zones = kZones;
    zones[8] = 'B';
    auto sim =
        StartOneHost(R"("sections": {"04": ")" + zones + R"(", "07": ")" + kSection07 + "\"}");
    window->PageChange(1);
    Press(HostWindow::Key::F5);
    EXPECT_EQ(At(1, "cbYXDefenceZoneNo3").index, -1);  // after the stop: cleared
    const size_t before = sim->ReceivedFrames().size();

    Press(HostWindow::Key::F8);

    EXPECT_EQ(Since(*sim, before), std::vector<std::string>{});
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_NE(op.boxes[0].text.find("有线防区页面的“防区2 接收报警号码组”无法读取，不能保存"),
              std::string::npos)
        << op.boxes[0].text;
}

TEST_F(ProgrammingPagesInLab, HostRefusesABodyOfTheWrongLengthAndKeepsTheSection) {
    auto sim = StartHost(kSection07);
    EXPECT_EQ(Exchange(kWriteSectionPair, "0904" + kZones.substr(0, 40)), "编程报警主机拒绝!");
    tdm->exchanger.Exchange(ReadSectionRequest(4));
    EXPECT_EQ(tdm->params.Get("Prog04"), kZones);
}

}  // namespace
}  // namespace tarnwick::testing

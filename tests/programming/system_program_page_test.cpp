#include "programming/system_program_page.h"

#include <gtest/gtest.h>

#include "hosts/save_refused.h"
#include "support/lone_page.h"
#include "support/section_reads.h"

namespace tarnwick {
namespace {

using testing::kSampleBodies;
using testing::WrittenBody;
using testing::WrittenSection;

std::string With(std::string body, size_t from, const std::string& digits) {
    return body.replace(from - 1, digits.size(), digits);
}

// Section 07 with both networks reporting ("00"), so that nothing differs
// after a load.
const std::string kSection07 = With(kSampleBodies[7], 43, "00");

struct SystemFixture {
    explicit SystemFixture(const std::string& s03 = kSampleBodies[3],
                           const std::string& s07 = kSection07) {
        testing::StoreSectionReads(stored, {{3, s03}, {7, s07}});
        page.Prepare();
        page.Load(stored);
    }
    Control& operator[](const std::string& name) { return page.Controls()[name]; }
    testing::LonePage<SystemProgramPage> lone;
    SystemProgramPage& page = lone.page;
    DeviceParams stored;
};

TEST(SystemProgramPage, FlagsShowInTheirBoxesAndAnUnchangedSaveSendsNothing) {
    SystemFixture f;
    // System control two 101101.
    EXPECT_TRUE(f["chkSystemControl21"].checked);
    EXPECT_FALSE(f["chkSystemControl22"].checked);
    EXPECT_TRUE(f["chkSystemControl23"].checked);
    EXPECT_TRUE(f["chkSystemControl24"].checked);
    EXPECT_TRUE(f["rbtnSystemControl25"].checked);
    EXPECT_FALSE(f["rbtnSystemControl25_"].checked);
    EXPECT_TRUE(f["rbtnSystemControl26_"].checked);
    EXPECT_FALSE(f["rbtnSystemControl26"].checked);
    EXPECT_TRUE(f["rbDualNetwork1"].checked);
    // Relay events 10000001, output events 10101010, siren events 01010101.
    EXPECT_TRUE(f["chkRelayEvent8"].checked);
    EXPECT_FALSE(f["chkRelayEvent7"].checked);
    EXPECT_TRUE(f["chkProgOutputEvent3"].checked);
    EXPECT_TRUE(f["chkAlarmEvent8"].checked);
    EXPECT_FALSE(f["chkAlarmEvent8"].visible);
    // Neighbour dialling 1105.
    EXPECT_TRUE(f["chkNeighborDile1"].checked);
    EXPECT_TRUE(f["chkNeighborDile2"].checked);
    EXPECT_TRUE(f.page.SaveList(f.stored).empty());
    EXPECT_EQ(f.page.ControlCaption("chkProgOutputEvent1"), "可编程输出对应事件 系统布防时");
}

TEST(SystemProgramPage, EditedOptionsBecomeTheirDigits) {
    struct Case {
        const char* what;
        std::function<void(SystemFixture&)> edit;
        int section;
        size_t from;
        std::string digits;
    };
    const Case cases[] = {
        {"level relay output",
         [](SystemFixture& f) {
             f["rbtnSystemControl25"].checked = false;
             f["rbtnSystemControl25_"].checked = true;
         },
         3, 41, "1"},
        {"event report to number 1", [](SystemFixture& f) { f["chkEventReport23"].checked = true; },
         3, 51, "1"},
        {"the last event report number",
         [](SystemFixture& f) { f["chkEventReport210"].checked = false; }, 3, 58, "0"},
        {"hidden siren event 8 written like the others",
         [](SystemFixture& f) { f["chkAlarmEvent8"].checked = false; }, 3, 66, "0"},
        {"neighbour dialling only", [](SystemFixture& f) { f["chkNeighborDile2"].checked = false; },
         7, 45, "1005"},
        {"second dual network choice",
         [](SystemFixture& f) {
             f["rbDualNetwork1"].checked = false;
             f["rbDualNetwork2"].checked = true;
         },
         7, 43, "01"},
        {"programmable output event 2",
         [](SystemFixture& f) { f["chkProgOutputEvent2"].checked = true; }, 7, 51, "11101010"},
    };
    for (const Case& c : cases) {
        SystemFixture f;
        c.edit(f);
        const CommandList list = f.page.SaveList(f.stored);
        ASSERT_EQ(list.size(), 1u) << c.what;
        EXPECT_EQ(WrittenSection(list[0]), c.section) << c.what;
        const std::string read = c.section == 3 ? std::string(kSampleBodies[3]) : kSection07;
        EXPECT_EQ(WrittenBody(list[0]), With(read, c.from, c.digits)) << c.what;
    }
}

TEST(SystemProgramPage, SectionSevenKeepsItsFirstPartExactlyAsTheHostSentIt) {
    // A wired cross-zone field ending in 7 and a dual network switch of 02.
    const std::string s07 = With(With(kSampleBodies[7], 30, "7"), 43, "02");
    SystemFixture f(kSampleBodies[3], s07);
    EXPECT_TRUE(f["rbDualNetwork2"].checked);
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(WrittenBody(list[0]), With(s07, 43, "01"));
}

TEST(SystemProgramPage, EmptyReadLeavesTheClearedStateAndRefusesTheSave) {
    testing::LonePage<SystemProgramPage> lone;
    SystemProgramPage& page = lone.page;
    DeviceParams stored;
    page.Prepare();
    page.Load(stored);
    EXPECT_TRUE(page.Controls()["rbtnSystemControl25"].checked);
    EXPECT_TRUE(page.Controls()["rbDualNetwork2"].checked);
    EXPECT_TRUE(page.Controls()["chkNeighborDile1"].checked);
    EXPECT_FALSE(page.Controls()["chkRelayEvent1"].checked);
    EXPECT_THROW(page.SaveList(stored), SaveRefused);
}

}  // namespace
}  // namespace tarnwick

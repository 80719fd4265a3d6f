#include "programming/wired_zone_page.h"

#include <gtest/gtest.h>

#include "hosts/save_refused.h"
#include "programming/programming_requests.h"
#include "programming/value_lists.h"
#include "protocol/frame_codec.h"
#include "support/lone_page.h"
#include "support/section_reads.h"

namespace tarnwick {
namespace {

using testing::kSampleBodies;
using testing::WrittenBody;
using testing::WrittenSection;

// A page loaded from a host holding the given bodies of sections 04 and 07.
struct WiredFixture {
    explicit WiredFixture(const testing::SectionBodies& bodies = {{4, kSampleBodies[4]},
                                                                  {7, kSampleBodies[7]}}) {
        ExtendValueLists(page.Controls());
        testing::StoreSectionReads(stored, bodies);
        page.Prepare();
        page.LoadFromStore(stored);
    }
    Control& operator[](const std::string& name) { return page.Controls()[name]; }
    testing::LonePage<WiredZonePage> lone;
    WiredZonePage& page = lone.page;
    DeviceParams stored;
};

TEST(WiredZonePage, ZoneDigitsShowInTheirListsAndGoBackUnchanged) {
    WiredFixture f;
    // Zone 1 of the sample is 1A211010.
    EXPECT_EQ(f["cbYXDefenceZoneNo1"].index, 1);
    EXPECT_EQ(f["cbDefenceZoneType1"].SelectedText(), "A - 医疗防区");
    EXPECT_EQ(f["cbDefenceZoneTime1"].SelectedText(), "2 - 200ms");
    EXPECT_EQ(f["cbDefenceZoneTrigger1"].SelectedText(), "1 - 常开报警");
    std::vector<bool> boxes;
    for (const char* base :
         {"ckDefenceZoneWay", "ckKeyboardBeeper", "ckOutAlarm", "ckProgramElectric"})
        boxes.push_back(f.page.Controls().At(base, 1).checked);
    EXPECT_EQ(boxes, (std::vector<bool>{true, false, true, false}));
    // 110000: zones 1 and 2 follow stay arming.
    EXPECT_TRUE(f["chkInArmingToWireDefenceZone2"].checked);
    EXPECT_FALSE(f["chkInArmingToWireDefenceZone3"].checked);
    // Cross-zone 01021530.
    EXPECT_EQ(f["cbWireCrossDefenceZone2"].SelectedText(), "02");
    EXPECT_EQ(f["cbWireCrossTime"].SelectedText(), "15*3秒");
    EXPECT_EQ(f["cbWireCrossTriggerNum"].SelectedText(), "3");
    EXPECT_TRUE(f.page.SaveList(f.stored).empty());
    EXPECT_EQ(f["cbDefenceZoneType2"].items.size(), 15u);
    EXPECT_EQ(f["cbDefenceZoneType2"].items[11], "B - 门铃防区 ");
}

TEST(WiredZonePage, EditedControlsBecomeTheirDigits) {
    struct Case {
        const char* what;
        std::function<void(WiredFixture&)> edit;
        int section;
        size_t from;  // 1-based body position of the expected digits
        std::string digits;
    };
    const Case cases[] = {
        {"response time entry 0 is digit 1",
         [](WiredFixture& f) { f["cbDefenceZoneTime1"].index = 0; }, 4, 3, "1"},
        {"zone type entry 14 is digit E",
         [](WiredFixture& f) { f["cbDefenceZoneType4"].index = 14; }, 4, 26, "E"},
        {"zone 3's keypad buzzer", [](WiredFixture& f) { f["ckKeyboardBeeper3"].checked = false; },
         4, 22, "0"},
        {"cross zones 02 and 05, time 12, count 3",
         [](WiredFixture& f) {
             f["cbWireCrossDefenceZone1"].index = 2;
             f["cbWireCrossDefenceZone2"].index = 5;
             f["cbWireCrossTime"].index = 12;
             f["cbWireCrossTriggerNum"].index = 3;
         },
         7, 23, "02051230"},
        {"stay arming of zone 6",
         [](WiredFixture& f) { f["chkInArmingToWireDefenceZone6"].checked = true; }, 7, 1,
         "110001"},
    };
    for (const Case& c : cases) {
        WiredFixture f;
        c.edit(f);
        const CommandList list = f.page.SaveList(f.stored);
        ASSERT_EQ(list.size(), 1u) << c.what;
        EXPECT_EQ(WrittenSection(list[0]), c.section) << c.what;
        const std::string body = WrittenBody(list[0]);
        std::string expected = kSampleBodies[c.section];
        expected.replace(c.from - 1, c.digits.size(), c.digits);
        EXPECT_EQ(body, expected) << c.what;
        EXPECT_EQ(list[0].pair, c.section == 4 ? std::string(kWriteSectionPair) + "04"
                                               : std::string(kWriteSectionPair) + "07");
    }
}

TEST(WiredZonePage, CrossZoneFieldNotEndingInZeroIsWrittenByTheNextSave) {
    std::string s07 = kSampleBodies[7];
    s07[29] = '7';  // wired cross-zone 01021537
    WiredFixture f({{4, kSampleBodies[4]}, {7, s07}});
    EXPECT_EQ(f["cbWireCrossTriggerNum"].index, 3);
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(WrittenBody(list[0]), kSampleBodies[7]);
}

TEST(WiredZonePage, NonDecimalDigitStopsLoadingAndTheZonesAfterItStayCleared) {
    std::string s04 = kSampleBodies[4];
    s04[8 + 2] = 'B';  // zone 2's response time
    WiredFixture f({{4, s04}, {7, kSampleBodies[7]}});
    EXPECT_TRUE(f.page.LoadStopped());
    EXPECT_EQ(f.page.UnreadableField(), "防区2 防区反应时间");
    EXPECT_EQ(f["cbDefenceZoneType1"].index, 10);
    EXPECT_EQ(f["cbYXDefenceZoneNo3"].index, -1);
    EXPECT_FALSE(f["ckOutAlarm3"].checked);
    EXPECT_FALSE(f["chkInArmingToWireDefenceZone1"].checked);
    EXPECT_EQ(f["cbWireCrossTime"].index, -1);
    // The cycle refuses to save such a page (HostWindow tests); the page's
    // own encoder gives lists left empty the digits the host sent, and boxes
    // what they show.
    f["chkInArmingToWireDefenceZone1"].checked = true;
    f["chkInArmingToWireDefenceZone2"].checked = true;
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 1u);
    const std::string body = WrittenBody(list[0]);
    EXPECT_EQ(body.substr(8, 8), "2BB20000");
    EXPECT_EQ(body.substr(16, 8), "3C910000");
    EXPECT_EQ(body.substr(0, 8), "1A211010");
}

TEST(WiredZonePage, SaveWithoutSectionSevenIsRefusedNamingItsLists) {
    WiredFixture f({{4, kSampleBodies[4]}});
    f["ckOutAlarm1"].checked = false;
    try {
        f.page.SaveList(f.stored);
        FAIL() << "the save went ahead";
    } catch (const SaveRefused& refused) {
        const std::string text = refused.what();
        EXPECT_NE(text.find("有线交叉防区逻辑 防区1、有线交叉防区逻辑 防区2"), std::string::npos)
            << text;
        EXPECT_NE(text.find("编程内容07"), std::string::npos) << text;
        EXPECT_EQ(text.find("防区1 接收报警号码组"), std::string::npos) << text;
    }
}

TEST(WiredZonePage, EditsOutliveTheReReadOfAWriteTheHostDidNotTake) {
    WiredFixture f;
    f["cbYXDefenceZoneNo3"].index = 7;
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 1u);
    // The host refused: the re-read finds the old body.
    f.page.Prepare();
    f.page.Load(f.stored);
    EXPECT_EQ(f["cbYXDefenceZoneNo3"].index, 7);
    EXPECT_EQ(f["cbDefenceZoneType1"].index, 10);
    // Saved again and taken this time: the re-read shows the host.
    const CommandList again = f.page.SaveList(f.stored);
    ASSERT_EQ(again.size(), 1u);
    DeviceParams reread;
    testing::StoreSectionReads(reread, {{4, WrittenBody(again[0])}, {7, kSampleBodies[7]}});
    f.page.Prepare();
    f.page.Load(reread);
    EXPECT_EQ(f["cbYXDefenceZoneNo3"].index, 7);
    f.page.Prepare();
    f.page.Load(f.stored);  // a later refresh shows the host as it is
    EXPECT_EQ(f["cbYXDefenceZoneNo3"].index, 3);
}

TEST(WiredZonePage, ReadsSectionsFourAndSeven) {
    testing::LonePage<WiredZonePage> lone;
    WiredZonePage& page = lone.page;
    const CommandList reads = page.ReadList();
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].pair, std::string(kReadSectionPair) + "04");
    EXPECT_EQ(reads[0].frame, BuildFrame("11", "81", "0804"));
    EXPECT_EQ(reads[1].pair, std::string(kReadSectionPair) + "07");
    EXPECT_EQ(page.ControlCaption("ckKeyboardBeeper3"), "防区3 键盘蜂鸣器输出");
}

}  // namespace
}  // namespace tarnwick

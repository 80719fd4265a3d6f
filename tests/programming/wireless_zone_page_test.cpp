#include "programming/wireless_zone_page.h"

#include <gtest/gtest.h>

#include "hosts/save_refused.h"
#include "programming/value_lists.h"
#include "support/lone_page.h"
#include "support/section_reads.h"

namespace tarnwick {
namespace {

using testing::kSampleBodies;
using testing::WrittenBody;
using testing::WrittenSection;

struct WirelessFixture {
    explicit WirelessFixture(const testing::SectionBodies& bodies = {{5, kSampleBodies[5]},
                                                                     {7, kSampleBodies[7]}}) {
        ExtendValueLists(page.Controls());
        testing::StoreSectionReads(stored, bodies);
        page.Prepare();
        page.LoadFromStore(stored);
    }
    Control& operator[](const std::string& name) { return page.Controls()[name]; }
    testing::LonePage<WirelessZonePage> lone;
    WirelessZonePage& page = lone.page;
    DeviceParams stored;
};

std::string With(std::string body, size_t from, const std::string& digits) {
    return body.replace(from - 1, digits.size(), digits);
}

TEST(WirelessZonePage, ZoneShowsItsDigitsAndAnUnchangedSaveSendsNothing) {
    WirelessFixture f({{5, With(kSampleBodies[5], 1, "9C0110")}, {7, kSampleBodies[7]}});
    EXPECT_EQ(f["cbWXDefenceZoneNo1"].SelectedText(), "9 - 此防区上报警情到全部接警号码");
    EXPECT_EQ(f["cbWXDefenceZoneType1"].SelectedText(), "C - 防盗防区");
    EXPECT_FALSE(f["ckWXDefenceZoneWay1"].checked);
    EXPECT_TRUE(f["ckWXKeyboardBeeper1"].checked);
    EXPECT_TRUE(f["ckWxOutAlarm1"].checked);
    EXPECT_FALSE(f["ckWXProgramElectric1"].checked);
    // 001100: zones 9 and 10 follow stay arming.
    EXPECT_TRUE(f["chkInArmingToWirelessDefenceZone3"].checked);
    EXPECT_FALSE(f["chkInArmingToWirelessDefenceZone1"].checked);
    // 07081210: the pair lists hold zone numbers as their texts.
    EXPECT_EQ(f["cbWirelessCrossDefenceZone1"].index, 1);
    EXPECT_EQ(f["cbWirelessCrossDefenceZone2"].SelectedText(), "08");
    EXPECT_EQ(f["cbWirelessCrossTime"].index, 12);
    EXPECT_EQ(f["cbWXDefenceZoneType2"].items.size(), 13u);
    EXPECT_TRUE(f.page.SaveList(f.stored).empty());
    EXPECT_EQ(f.page.ControlCaption("ckWxOutAlarm6"), "防区12 外置警号输出");
}

TEST(WirelessZonePage, CrossZoneEntriesAreWrittenAsTheirTexts) {
    WirelessFixture f;
    f["cbWirelessCrossDefenceZone1"].index = 4;  // "10"
    f["cbWirelessCrossDefenceZone2"].index = 1;  // "07"
    f["cbWirelessCrossTime"].index = 5;
    f["cbWirelessCrossTriggerNum"].index = 2;
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(WrittenSection(list[0]), 7);
    EXPECT_EQ(WrittenBody(list[0]), With(kSampleBodies[7], 31, "10070520"));
}

TEST(WirelessZonePage, PairNoEntryShowsKeepsTheDigitsReadWhenAnotherFieldChanges) {
    // A first zone 05 is no wireless zone: no entry shows it.
    const std::string s07 = With(kSampleBodies[7], 31, "05081210");
    WirelessFixture f({{5, kSampleBodies[5]}, {7, s07}});
    EXPECT_EQ(f["cbWirelessCrossDefenceZone1"].index, -1);
    EXPECT_EQ(f["cbWirelessCrossDefenceZone2"].index, 2);
    f["chkInArmingToWirelessDefenceZone3"].checked = false;  // zone 9
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 1u);
    // Wired stay-arming flags as read, zone 9 cleared, the pair as read.
    EXPECT_EQ(WrittenBody(list[0]), With(s07, 7, "000100"));
}

TEST(WirelessZonePage, NonDecimalReportGroupStopsLoading) {
    WirelessFixture f({{5, With(kSampleBodies[5], 7, "B")}, {7, kSampleBodies[7]}});
    EXPECT_TRUE(f.page.LoadStopped());
    EXPECT_EQ(f.page.UnreadableField(), "防区8 接收报警号码组");
    EXPECT_EQ(f["cbWXDefenceZoneType1"].index, 10);
    EXPECT_EQ(f["cbWXDefenceZoneType2"].index, -1);
    EXPECT_FALSE(f["ckWXDefenceZoneWay5"].checked);
    EXPECT_FALSE(f["chkInArmingToWirelessDefenceZone3"].checked);
    EXPECT_EQ(f["cbWirelessCrossDefenceZone1"].index, -1);
}

TEST(WirelessZonePage, ShortSectionReplyRefusesTheSaveNamingTheEmptyLists) {
    // The host sent only zones 7 to 10.
    WirelessFixture f({{5, std::string(kSampleBodies[5]).substr(0, 24)}, {7, kSampleBodies[7]}});
    EXPECT_EQ(f["cbWXDefenceZoneNo4"].index, 4);
    EXPECT_EQ(f["cbWXDefenceZoneNo5"].index, -1);
    f["ckWXDefenceZoneWay1"].checked = true;
    try {
        f.page.SaveList(f.stored);
        FAIL() << "the save went ahead";
    } catch (const SaveRefused& refused) {
        const std::string text = refused.what();
        EXPECT_NE(text.find("防区11 接收报警号码组、防区11 防区类型、防区12 接收报警号码组"),
                  std::string::npos)
            << text;
        EXPECT_EQ(text.find("防区10"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tarnwick

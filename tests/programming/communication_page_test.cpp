#include "programming/communication_page.h"

#include <gtest/gtest.h>

#include "hosts/save_refused.h"
#include "programming/programming_requests.h"
#include "programming/value_lists.h"
#include "support/lone_page.h"
#include "support/section_reads.h"

namespace tarnwick {
namespace {

using testing::kSampleBodies;
using testing::WrittenBody;
using testing::WrittenSection;

const testing::SectionBodies kFullRead = {{0, kSampleBodies[0]},
                                          {1, kSampleBodies[1]},
                                          {2, kSampleBodies[2]},
                                          {3, kSampleBodies[3]},
                                          {7, kSampleBodies[7]}};

struct CommunicationFixture {
    explicit CommunicationFixture(const testing::SectionBodies& bodies = kFullRead) {
        ExtendValueLists(page.Controls());
        testing::StoreSectionReads(stored, bodies);
        page.Prepare();
        page.LoadFromStore(stored);
    }
    Control& operator[](const std::string& name) { return page.Controls()[name]; }
    testing::LonePage<CommunicationPage> lone;
    CommunicationPage& page = lone.page;
    DeviceParams stored;
};

TEST(CommunicationPage, LoadsEveryFieldAndAnUnchangedSaveSendsNothing) {
    CommunicationFixture f;
    EXPECT_EQ(f["edtSetterCode"].text, "123456");
    EXPECT_EQ(f["edtUserAccount"].text, "A1B2C3");
    EXPECT_EQ(f["cbArmingType4"].SelectedText(), "06 - 有布防功能、有撤防功能、有旁路功能");
    EXPECT_EQ(f["edtUserCode4"].text, "0042");
    EXPECT_EQ(f["edtAlarmCall1"].text, "12345");
    EXPECT_EQ(f["edtAlarmCall2"].text, "");
    EXPECT_EQ(f["edtAlarmCall3"].text, "139001234567890123");
    EXPECT_EQ(f["cbAlarmCallType6"].SelectedText(), "5 - 禁止拨号");
    EXPECT_EQ(f["cbRingNum"].SelectedText(), "15");
    EXPECT_EQ(f["cbArmingDelayTime"].SelectedText(), "20*3秒");
    EXPECT_EQ(f["cbTestReportInterval"].SelectedText(), "24 - 24小时");
    EXPECT_EQ(f["cbRepeatTimes"].SelectedText(), "3");
    EXPECT_EQ(f["cbWirelessAlarmAddress4"].SelectedText(), "3");
    EXPECT_EQ(f["cbNeighborDileInterval"].SelectedText(), "05 - 5分钟");
    EXPECT_EQ(f["cbDTMFInterval"].SelectedText(), "4 - 250ms");
    // The second redial digit (5) and the dual network switch (02), which no
    // control shows, go back as read: nothing differs.
    EXPECT_TRUE(f.page.SaveList(f.stored).empty());
}

TEST(CommunicationPage, EditedControlsBecomeTheirDigitsInTheirSection) {
    struct Case {
        const char* control;
        std::string text;  // for an edit
        int index;         // for a list
        int section;
        size_t from;
        std::string digits;
    };
    const Case cases[] = {
        {"edtUserCode1", "12", -1, 0, 9, "0012"},
        {"edtSetterCode", "1234", -1, 0, 1, "001234"},
        {"edtAlarmCall2", "123456789012345678", -1, 1, 19, "123456789012345678"},
        {"edtAlarmCall1", "", -1, 1, 1, "E00000000000000000"},
        {"cbAlarmCallType3", "", 5, 2, 75, "5"},
        {"edtUserAccount", " 123 ", -1, 3, 1, "000123"},
        {"cbWarnOutputTime", "", 12, 3, 15, "12"},
        {"cbDTMFTime", "", 1, 7, 49, "1"},
        {"cbRepeatTimes", "", 7, 7, 41, "75"},
        {"cbWirelessAlarmAddress8", "", 0, 7, 20, "0"},
        {"cbNeighborDileInterval", "", 99, 7, 47, "99"},
    };
    for (const Case& c : cases) {
        CommunicationFixture f;
        Control& control = f[c.control];
        if (control.kind == ControlKind::Edit)
            control.text = c.text;
        else
            control.index = c.index;
        const CommandList list = f.page.SaveList(f.stored);
        ASSERT_EQ(list.size(), 1u) << c.control;
        EXPECT_EQ(WrittenSection(list[0]), c.section) << c.control;
        std::string expected = kSampleBodies[c.section];
        expected.replace(c.from - 1, c.digits.size(), c.digits);
        EXPECT_EQ(WrittenBody(list[0]), expected) << c.control;
    }
}

TEST(CommunicationPage, ChangedSectionsAreWrittenInTheirOrder) {
    CommunicationFixture f;
    f["cbDTMFTime"].index = 0;
    f["cbArmingType1"].index = 0;
    f["edtAlarmCall5"].text = "110";  // as read: stays unchanged
    const CommandList list = f.page.SaveList(f.stored);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].pair, std::string(kWriteSectionPair) + "00");
    EXPECT_EQ(list[1].pair, std::string(kWriteSectionPair) + "07");
}

TEST(CommunicationPage, NonDecimalRightsStopLoadingWhereTheyStand) {
    std::string s00 = kSampleBodies[0];
    s00.replace(12, 2, "0A");  // user 2's rights
    CommunicationFixture f({{0, s00}, {3, kSampleBodies[3]}, {7, kSampleBodies[7]}});
    EXPECT_TRUE(f.page.LoadStopped());
    EXPECT_EQ(f.page.UnreadableField(), "2#用户 布防类型");
    EXPECT_EQ(f["edtSetterCode"].text, "123456");
    EXPECT_EQ(f["cbArmingType1"].index, 1);
    EXPECT_EQ(f["cbArmingType2"].index, -1);
    EXPECT_EQ(f["cbArmingType3"].index, -1);
    // The loading goes in the order of the programming content: user 1's
    // code stands before user 2's rights, the account after them.
    EXPECT_EQ(f["edtUserCode1"].text, "1111");
    EXPECT_EQ(f["edtUserCode2"].text, "");
    EXPECT_EQ(f["edtUserAccount"].text, "");
    EXPECT_EQ(f["cbDileNum"].index, -1);
    EXPECT_EQ(f["cbDTMFTime"].index, -1);
}

TEST(CommunicationPage, SaveIsRefusedForUnreadSectionsAndCodesThatCannotTravel) {
    CommunicationFixture f({{0, kSampleBodies[0]},
                            {1, kSampleBodies[1]},
                            {3, kSampleBodies[3]},
                            {7, kSampleBodies[7]}});
    f["edtUserCode2"].text = "12G";
    try {
        f.page.SaveList(f.stored);
        FAIL() << "the save went ahead";
    } catch (const SaveRefused& refused) {
        const std::string text = refused.what();
        EXPECT_NE(text.find("第1组 报警电话类型、第2组 报警电话类型"), std::string::npos) << text;
        EXPECT_NE(text.find("2#用户 用户码"), std::string::npos) << text;
        EXPECT_NE(text.find("编程内容02"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tarnwick

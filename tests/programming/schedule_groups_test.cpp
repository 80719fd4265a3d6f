#include "programming/schedule_groups.h"

#include <gtest/gtest.h>

#include "hosts/unreadable_value.h"
#include "programming/programming_requests.h"
#include "support/recording_operator.h"

namespace tarnwick {
namespace {

struct Groups {
    Groups() {
        DeclareScheduleGroups(c, op, [this] {
            ++reloads;
            LoadScheduleGroups(c, params);
        });
    }
    // Section 06 as read: both groups, stored as the decoder keeps them.
    void Read(const std::string& time1, const std::string& week1, const std::string& zones1,
              const std::string& time2 = kNoScheduleTime, const std::string& week2 = "00000000",
              const std::string& zones2 = "000000000000") {
        params.Set("Prog06_1Time", time1);
        params.Set("Prog06_1Week", week1);
        params.Set("Prog06_1Wire", zones1.substr(0, 6));
        params.Set("Prog06_1Wireless", zones1.substr(6));
        params.Set("Prog06_2Time", time2);
        params.Set("Prog06_2Week", week2);
        params.Set("Prog06_2Wire", zones2.substr(0, 6));
        params.Set("Prog06_2Wireless", zones2.substr(6));
        ClearScheduleGroups(c);
        LoadScheduleGroups(c, params);
    }
    CommandList Save() const {
        CommandList list;
        QueueScheduleWrite(list, c, params);
        return list;
    }
    void Leave(const std::string& edit, const std::string& text) {
        c[edit].text = text;
        c.Exit(edit);
    }

    PageModel c;
    DeviceParams params;
    testing::RecordingOperator op;
    int reloads = 0;
};

TEST(ScheduleGroups, LoadShowsTimesDaysAndZonesAndChecksTheBox) {
    Groups s;
    s.Read("08301730", "10101000", "100000000001");
    EXPECT_EQ(s.c["edtHour1"].text, "08");
    EXPECT_EQ(s.c["edtMin1"].text, "30");
    EXPECT_EQ(s.c["edtHour_1"].text, "17");
    EXPECT_EQ(s.c["edtMin_1"].text, "30");
    EXPECT_TRUE(s.c["chkDefenceZone1"].checked);
    EXPECT_FALSE(s.c["chkDefenceZone2"].checked);
    std::string days;
    for (int d = 1; d <= kScheduleDayCount; ++d)
        days += s.c[DayToggleName(1, d)].checked ? '1' : '0';
    EXPECT_EQ(days, "1010100");  // Monday, Wednesday, Friday
    EXPECT_TRUE(s.c["stxtDefence11"].checked);
    EXPECT_TRUE(s.c["stxtDefence112"].checked);
    EXPECT_FALSE(s.c["stxtDefence17"].checked);
    // Group 2 is off (24602460): it shows no time, not 24:60.
    for (const std::string& edit :
         {ArmHourName(2), ArmMinuteName(2), DisarmHourName(2), DisarmMinuteName(2)})
        EXPECT_EQ(s.c[edit].text, "") << edit;
    EXPECT_EQ(EncodeScheduleGroup(s.c, 1),
              "08301730"
              "10101000"
              "100000000001");
    // As read, nothing to write.
    EXPECT_TRUE(s.Save().empty());
}

TEST(ScheduleGroups, ToggleDigitsAndTheirFaults) {
    Control toggle;
    const std::pair<char, bool> steps[] = {{'1', true}, {'7', true}, {'0', false}, {'9', false}};
    for (const auto& [digit, on] : steps) {
        SetToggleState(toggle, digit);
        EXPECT_EQ(toggle.checked, on) << digit;
    }
    EXPECT_THROW(SetToggleState(toggle, 'A'), UnreadableValue);

    // A digit that is not decimal stops the loading at that toggle; the rest
    // stays as the clearing left it.
    Groups s;
    s.params.Set("Prog06_1Time", "08301730");
    s.params.Set("Prog06_1Week", "11X11110");
    s.params.Set("Prog06_2Time", "09001800");
    s.params.Set("Prog06_2Week", "11111110");
    ClearScheduleGroups(s.c);
    try {
        LoadScheduleGroups(s.c, s.params);
        ADD_FAILURE() << "the loading went on";
    } catch (const UnreadableValue& e) {
        EXPECT_EQ(e.Caption(), "第一组 星期 三");
    }
    EXPECT_TRUE(s.c["stxtWeek12"].checked);
    EXPECT_FALSE(s.c["stxtWeek14"].checked);
    EXPECT_EQ(s.c["edtHour2"].text, "");
    EXPECT_FALSE(s.c["stxtWeek21"].checked);

    // A click turns a toggle over.
    s.c.Click("stxtDefence25");
    EXPECT_TRUE(s.c["stxtDefence25"].checked);
    s.c.Click("stxtDefence25");
    EXPECT_FALSE(s.c["stxtDefence25"].checked);
}

TEST(ScheduleGroups, UncheckingAGroupSwitchesItOffAndTheSaveWritesSection06) {
    Groups s;
    s.Read("08301730", "10101000", "111111000000", "07000800", "01000000", "000000111111");
    s.c["chkDefenceZone1"].checked = false;
    s.c.Change("chkDefenceZone1");
    EXPECT_EQ(s.c["edtHour1"].text, "");  // no time shown: the save writes 24:60
    EXPECT_EQ(s.c["edtMin_1"].text, "");
    const CommandList list = s.Save();
    ASSERT_EQ(list.size(), 1u);
    const std::string body = "24602460" + std::string(20, '0') +
                             "07000800"
                             "01000000"
                             "000000111111";
    EXPECT_EQ(list[0].pair, WriteSectionRequest(kScheduleSection, body).pair);
    EXPECT_EQ(list[0].frame, WriteSectionRequest(kScheduleSection, body).frame);

    // Checking it again puts back the page as last read.
    s.c["chkDefenceZone1"].checked = true;
    s.c.Change("chkDefenceZone1");
    EXPECT_EQ(s.reloads, 1);
    EXPECT_EQ(s.c["edtHour1"].text, "08");
    EXPECT_TRUE(s.Save().empty());

    // A group read as off stays unchecked; it is switched on by typing times.
    s.c["chkDefenceZone2"].checked = false;
    s.c.Change("chkDefenceZone2");
    s.params.Set("Prog06_2Time", kNoScheduleTime);
    s.c["chkDefenceZone2"].checked = true;
    s.c.Change("chkDefenceZone2");
    EXPECT_FALSE(s.c["chkDefenceZone2"].checked);
}

TEST(ScheduleGroups, TimeEditsAreCheckedWhenLeftAndPaddedWhenSaved) {
    Groups s;
    s.Read("08301730", "10101000", "000000000000");
    s.Leave("edtHour1", "7");
    s.Leave("edtMin1", "60");
    s.Leave("edtHour_1", "24");
    EXPECT_TRUE(s.op.boxes.empty());
    EXPECT_EQ(EncodeScheduleGroup(s.c, 1).substr(0, 8), "07602430");

    std::vector<std::string> focused;
    for (const auto& [edit, text] :
         {std::pair{"edtMin_1", "61"}, {"edtHour2", "25"}, {"edtMin1", " "}}) {
        s.Leave(edit, text);
        focused.push_back(s.c.TakeFocusRequest());
    }
    ASSERT_EQ(s.op.boxes.size(), 3u);
    EXPECT_EQ(s.op.boxes[0].kind, "message");
    EXPECT_EQ(s.op.boxes[0].text, kValueOutOfRangeMessage);
    EXPECT_EQ(s.op.boxes[1].text, kValueOutOfRangeMessage);
    EXPECT_EQ(s.op.boxes[2].text, kEmptyValueMessage);
    EXPECT_EQ(focused, (std::vector<std::string>{"edtMin_1", "edtHour2", "edtMin1"}));
    EXPECT_EQ(s.c["edtMin_1"].text, "61");  // the text stays as typed
    // A blank time of a group that is off is no time, as it shows.
    s.Leave("edtMin2", " ");
    EXPECT_EQ(s.op.boxes.size(), 3u);

    // The up-down buttons stop at the ends.
    s.c["edtHour_2"].text = "23";
    s.c.Click("udHour_2Up");
    s.c.Click("udHour_2Up");
    EXPECT_EQ(s.c["edtHour_2"].text, "24");
    s.c["edtMin2"].text = "1";
    s.c.Click("udMin2Down");
    s.c.Click("udMin2Down");
    EXPECT_EQ(s.c["edtMin2"].text, "0");
}

TEST(ScheduleGroups, WithoutSection06NothingIsShownOrWritten) {
    Groups s;
    ClearScheduleGroups(s.c);
    LoadScheduleGroups(s.c, s.params);  // the read got no reply
    EXPECT_FALSE(s.c["chkDefenceZone1"].checked);
    EXPECT_EQ(s.c["edtHour1"].text, "");
    s.c["edtHour1"].text = "7";
    EXPECT_TRUE(s.Save().empty());
}

TEST(ScheduleGroups, ClearingLeavesBothGroupsOff) {
    Groups s;
    s.Read("08301730", "11111110", "111111111111", "09001000", "11111110", "111111111111");
    ClearScheduleGroups(s.c);
    Groups fresh;
    ClearScheduleGroups(fresh.c);
    for (Groups* groups : {&s, &fresh})
        for (int g = 1; g <= kScheduleGroupCount; ++g) {
            EXPECT_FALSE(groups->c[ScheduleCheckName(g)].checked);
            EXPECT_EQ(groups->c[ArmHourName(g)].text, "");
            EXPECT_EQ(EncodeScheduleGroup(groups->c, g), "24602460" + std::string(20, '0'));
        }
}

// Ticking a group runs the page's loader again; a digit it cannot read
// leaves the group unticked and names the field in Chinese, and nothing
// escapes to the window.
TEST(ScheduleGroups, TickingAGroupOverAnUnreadableDigitNamesItAndStaysUnticked) {
    Groups s;
    s.Read("08301730", "10101000", "000000000000", "09001800", "11111110", "000000000000");
    s.params.Set("Prog06_1Week", "11A11110");
    s.c["chkDefenceZone2"].checked = false;
    s.c.Change("chkDefenceZone2");
    s.c["chkDefenceZone2"].checked = true;
    EXPECT_NO_THROW(s.c.Change("chkDefenceZone2"));
    EXPECT_FALSE(s.c["chkDefenceZone2"].checked);
    ASSERT_EQ(s.op.boxes.size(), 1u);
    EXPECT_EQ(s.op.boxes[0].kind, "warning");
    EXPECT_EQ(s.op.boxes[0].text, "“第一组 星期 三”无法读取，第二组定时布撤防不能启动。");
}

}  // namespace
}  // namespace tarnwick

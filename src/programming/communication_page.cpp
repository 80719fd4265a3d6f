#include "programming/communication_page.h"

#include "programming/value_lists.h"

namespace tarnwick {
namespace {

std::string CallKey(int number) {
    return (number <= 4 ? "Prog01_AlarmCall" : "Prog02_AlarmCall") + std::to_string(number);
}

}  // namespace

const CommunicationPage::ValueList CommunicationPage::kValueLists[10] = {
    {"cbDileNum", "拨号次数", "Prog03_DileNum"},
    {"cbRingNum", "振铃次数", "Prog03_RingNum"},
    {"cbArmingDelayTime", "布防延时时间", "Prog03_ArmingDelayTime"},
    {"cbWarnInDelayTime", "报警进入延时时间", "Prog03_WarnInDelayTime"},
    {"cbWarnOutputTime", "警报输出时间", "Prog03_WarnOutputTime"},
    {"cbWarnBuzzerTime", "报警时蜂鸣时间", "Prog03_WarnBuzzerTime"},
    {"cbRelayOutputTime", "继电器输出时间", "Prog03_RelayOutputTime"},
    {"cbProgOutputTime", "可编程输出时间", "Prog03_ProgOutputTime"},
    {"cbTestReportInterval", "测试报告间隔", "Prog07_TestReportInterval"},
    {"cbRepeatInterval", "通讯失败重播间隔", "Prog07_RepeatInterval"},
};

std::string CommunicationPage::UserCaption(int user) {
    return std::to_string(user) + "#用户";
}

std::string CommunicationPage::NumberCaption(int number) {
    return "第" + std::to_string(number) + "组";
}

CommunicationPage::CommunicationPage(HostWindow&) {
    using C = FieldCoding;
    Describe(CaptionedEdit("edtSetterCode", "安装员码", KeyFilter::Digits),
             {.key = "Prog00_Installer", .coding = C::Digits});
    Describe(CaptionedEdit("edtUserAccount", "用户账号"),
             {.key = "Prog03_UserAccount", .coding = C::Digits});
    for (int user = 1; user <= kUsers; ++user) {
        // Rights that are not a decimal number stop the loading.
        Describe(
            CaptionedCombo(Numbered("cbArmingType", user), UserCaption(user) + " 布防类型",
                           UserRightsList()),
            {.key = Numbered("Prog00_ArmingType", user), .unreadable = Unreadable::StopLoading});
        // The code is four digits, typed like the other codes.
        Describe(CaptionedEdit(Numbered("edtUserCode", user), UserCaption(user) + " 用户码",
                               KeyFilter::Digits),
                 {.key = Numbered("Prog00_UserCode", user), .coding = C::Digits});
    }
    for (int number = 1; number <= kNumbers; ++number) {
        Describe(
            CaptionedCombo(Numbered("cbAlarmCallType", number),
                           NumberCaption(number) + " 报警电话类型", CallTypeList()),
            {.key = "Prog02_AlarmCallType", .offset = static_cast<size_t>(number), .width = 1});
        Describe(CaptionedEdit(Numbered("edtAlarmCall", number),
                               NumberCaption(number) + " 接警电话号码", KeyFilter::Digits),
                 {.key = CallKey(number), .coding = C::PhoneNumber});
    }
    const std::vector<std::string> lists[] = {
        DialCountList(),
        RingCountList(),
        ThreeSecondSteps("00 - 系统关闭布防延时"),
        ThreeSecondSteps("00 - 系统关闭报警进入延时"),
        MinuteSteps("00 - 警报时关闭警号输出"),
        MinuteSteps("00 - 报警时关闭键盘蜂鸣器输出"),
        MinuteSteps("00 - 可编程继电器不输出"),
        MinuteSteps("00 - 可编程不输出"),
        HourSteps(),
        RedialIntervalSteps(),
    };
    for (size_t i = 0; i < std::size(kValueLists); ++i)
        Describe(CaptionedCombo(std::string(kValueLists[i].control),
                                std::string(kValueLists[i].caption), lists[i]),
                 {.key = std::string(kValueLists[i].key)});
    // The second digit is no list's: it goes back as it was read.
    Describe(CaptionedCombo("cbRepeatTimes", "通讯失败重播轮数", RedialRoundsList()),
             {.key = "Prog07_RepeatTimes", .width = 1});
    for (int digit = 1; digit <= kSirenAddressDigits; ++digit)
        Describe(
            CaptionedCombo(Numbered("cbWirelessAlarmAddress", digit),
                           "无线警号地址码 第" + std::to_string(digit) + "位", SirenAddressList()),
            {.key = "Prog07_WirelessAlarmAddress",
             .offset = static_cast<size_t>(digit),
             .width = 1});
    // The neighbour dialling flags before it are the system program page's.
    Describe(
        CaptionedCombo("cbNeighborDileInterval", "转发邻居最短间隔", MinuteSteps("00 - 不限制")),
        {.key = "Prog07_NeighborDile", .offset = 3, .width = 2});
    Describe(CaptionedCombo("cbDTMFTime", "DTMF的持续时间", DtmfStepList()),
             {.key = "Prog07_DTMFTime"});
    Describe(CaptionedCombo("cbDTMFInterval", "DTMF的间隔时间", DtmfStepList()),
             {.key = "Prog07_DTMFInterval"});
}

}  // namespace tarnwick

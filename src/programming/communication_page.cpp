#include "programming/communication_page.h"

#include <stdexcept>

#include "programming/programming_layout.h"
#include "programming/programming_requests.h"
#include "programming/value_lists.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

std::string CallKey(int number) {
    return (number <= 4 ? "Prog01_AlarmCall" : "Prog02_AlarmCall") + std::to_string(number);
}

constexpr int kReadSections[] = {0, 1, 2, 3, 7};

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

CommunicationPage::CommunicationPage() : ProgrammingPage("tsCommuncaiotnSetting", "通讯参数") {
    CaptionedEdit("edtSetterCode", "安装员码", 6, KeyFilter::Digits);
    CaptionedEdit("edtUserAccount", "用户账号", 6);
    for (int user = 1; user <= kUsers; ++user) {
        CaptionedCombo(Numbered("cbArmingType", user), UserCaption(user) + " 布防类型",
                       UserRightsList());
        // The code is four digits, typed like the other codes.
        CaptionedEdit(Numbered("edtUserCode", user), UserCaption(user) + " 用户码", 4,
                      KeyFilter::Digits);
    }
    for (int number = 1; number <= kNumbers; ++number) {
        CaptionedCombo(Numbered("cbAlarmCallType", number), NumberCaption(number) + " 报警电话类型",
                       CallTypeList());
        CaptionedEdit(Numbered("edtAlarmCall", number), NumberCaption(number) + " 接警电话号码",
                      kPhoneFieldDigits, KeyFilter::Digits);
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
        CaptionedCombo(std::string(kValueLists[i].control), std::string(kValueLists[i].caption),
                       lists[i]);
    CaptionedCombo("cbRepeatTimes", "通讯失败重播轮数", RedialRoundsList());
    for (int digit = 1; digit <= kSirenAddressDigits; ++digit)
        CaptionedCombo(Numbered("cbWirelessAlarmAddress", digit),
                       "无线警号地址码 第" + std::to_string(digit) + "位", SirenAddressList());
    CaptionedCombo("cbNeighborDileInterval", "转发邻居最短间隔", MinuteSteps("00 - 不限制"));
    CaptionedCombo("cbDTMFTime", "DTMF的持续时间", DtmfStepList());
    CaptionedCombo("cbDTMFInterval", "DTMF的间隔时间", DtmfStepList());
}

CommandList CommunicationPage::ReadList() {
    CommandList list;
    for (int section : kReadSections) list.push_back(ReadSectionRequest(section));
    return list;
}

void CommunicationPage::ClearCommunicationPage() {
    ClearControls();
}

void CommunicationPage::LoadCommunicationPage(const DeviceParams& stored) {
    PageModel& c = Controls();
    c["edtSetterCode"].text = stored.Get("Prog00_Installer");
    c["edtUserAccount"].text = stored.Get("Prog03_UserAccount");
    for (int user = 1; user <= kUsers; ++user) {
        const std::string rights = stored.Get(Numbered("Prog00_ArmingType", user));
        if (rights.empty()) continue;
        // Rights that are not a decimal number end the loading.
        SelectOrStop(Numbered("cbArmingType", user), DecimalValue(rights));
    }
    for (int user = 1; user <= kUsers; ++user) {
        const std::string code = stored.Get(Numbered("Prog00_UserCode", user));
        if (!code.empty()) c.At("edtUserCode", user).text = code;
    }
    for (int number = 1; number <= kNumbers; ++number) {
        const std::string call = stored.Get(CallKey(number));
        if (!call.empty()) c.At("edtAlarmCall", number).text = call;
    }
    const std::string types = stored.Get("Prog02_AlarmCallType");
    if (!types.empty())
        for (int number = 1; number <= kNumbers; ++number)
            Select(Numbered("cbAlarmCallType", number),
                   DecimalValue(
                       Slice(types, static_cast<size_t>(number), static_cast<size_t>(number))));
    for (const ValueList& list : kValueLists)
        Select(std::string(list.control), DecimalValue(stored.Get(std::string(list.key))));
    const std::string rounds = stored.Get("Prog07_RepeatTimes");
    if (!rounds.empty()) Select("cbRepeatTimes", DecimalValue(Slice(rounds, 1, 1)));
    const std::string address = stored.Get("Prog07_WirelessAlarmAddress");
    if (!address.empty())
        for (int digit = 1; digit <= kSirenAddressDigits; ++digit)
            Select(Numbered("cbWirelessAlarmAddress", digit),
                   DecimalValue(
                       Slice(address, static_cast<size_t>(digit), static_cast<size_t>(digit))));
    Select("cbNeighborDileInterval", DecimalValue(Slice(stored.Get("Prog07_NeighborDile"), 3, 4)));
    Select("cbDTMFTime", DecimalValue(stored.Get("Prog07_DTMFTime")));
    Select("cbDTMFInterval", DecimalValue(stored.Get("Prog07_DTMFInterval")));
}

std::string CommunicationPage::EncodeCommunicationSection(std::string_view section,
                                                          SectionWriter& w) const {
    SectionWriter::FieldDigits own;
    const PageModel& c = Controls();
    auto phone = [&c, &own](int number) {
        own[CallKey(number)] = [&c, number] {
            return EncodePhoneNumber(c[Numbered("edtAlarmCall", number)].text);
        };
    };
    if (section == "00") {
        own["Prog00_Installer"] = [&w] { return w.EditDigits("edtSetterCode", 6); };
        for (int user = 1; user <= kUsers; ++user) {
            own[Numbered("Prog00_ArmingType", user)] = [&w, user] {
                return w.Index(Numbered("cbArmingType", user), 2,
                               w.Stored(Numbered("Prog00_ArmingType", user)));
            };
            own[Numbered("Prog00_UserCode", user)] = [&w, user] {
                return w.EditDigits(Numbered("edtUserCode", user), 4);
            };
        }
        return w.Body(0, own);
    }
    if (section == "01") {
        for (int number = 1; number <= 4; ++number) phone(number);
        return w.Body(1, own);
    }
    if (section == "02") {
        for (int number = 5; number <= kNumbers; ++number) phone(number);
        own["Prog02_AlarmCallType"] = [&w] {
            const std::string read = w.Stored("Prog02_AlarmCallType");
            std::string digits;
            for (size_t n = 1; n <= kNumbers; ++n)
                digits +=
                    w.Index(Numbered("cbAlarmCallType", static_cast<int>(n)), 1, Slice(read, n, n));
            return digits;
        };
        return w.Body(2, own);
    }
    if (section == "03") {
        own["Prog03_UserAccount"] = [&w] { return w.EditDigits("edtUserAccount", 6); };
        for (const ValueList& list : kValueLists) {
            if (!std::string_view(list.key).starts_with("Prog03_")) continue;
            own[std::string(list.key)] = [&w, list] {
                return w.Index(std::string(list.control), 2, w.Stored(list.key));
            };
        }
        return w.Body(3, own);
    }
    if (section == "07") {
        own["Prog07_WirelessAlarmAddress"] = [&w] {
            const std::string read = w.Stored("Prog07_WirelessAlarmAddress");
            std::string digits;
            for (size_t n = 1; n <= kSirenAddressDigits; ++n)
                digits += w.Index(Numbered("cbWirelessAlarmAddress", static_cast<int>(n)), 1,
                                  Slice(read, n, n));
            return digits;
        };
        for (const ValueList& list : kValueLists) {
            if (!std::string_view(list.key).starts_with("Prog07_")) continue;
            own[std::string(list.key)] = [&w, list] {
                return w.Index(std::string(list.control), 2, w.Stored(list.key));
            };
        }
        own["Prog07_RepeatTimes"] = [&w] {
            // The second digit is no list's: it goes back as it was read.
            const std::string read = w.Stored("Prog07_RepeatTimes");
            return w.Index("cbRepeatTimes", 1, Slice(read, 1, 1)) + Slice(read, 2, 2);
        };
        own["Prog07_NeighborDile"] = [&w] {
            const std::string read = w.Stored("Prog07_NeighborDile");
            return Slice(read, 1, 2) + w.Index("cbNeighborDileInterval", 2, Slice(read, 3, 4));
        };
        own["Prog07_DTMFTime"] = [&w] {
            return w.Index("cbDTMFTime", 1, w.Stored("Prog07_DTMFTime"));
        };
        own["Prog07_DTMFInterval"] = [&w] {
            return w.Index("cbDTMFInterval", 1, w.Stored("Prog07_DTMFInterval"));
        };
        return w.Body(7, own);
    }
    throw std::invalid_argument(
        "the communication page writes sections 00, 01, 02, 03 and 07, not " +
        std::string(section));
}

void CommunicationPage::QueueSections(CommandList& list, SectionWriter& writer) const {
    for (int section : kReadSections)
        writer.QueueIfChanged(list, section,
                              EncodeCommunicationSection(SectionCode(section), writer));
}

}  // namespace tarnwick

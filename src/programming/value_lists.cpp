#include "programming/value_lists.h"

#include <string_view>

#include "hosts/page_model.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr int kBuiltEntries = 10;

std::string TwoDigits(int n) {
    return ZeroPadLeft(std::to_string(n), 2);
}

// How the entries from 10 on read.
enum class Wording { ThreeSeconds, Minutes, Hours, Plain };

std::string Entry(Wording wording, int n) {
    const std::string number = TwoDigits(n);
    switch (wording) {
        case Wording::ThreeSeconds:
            return number + "*3秒";
        case Wording::Minutes:
            return number + " - " + std::to_string(n) + "分钟";
        case Wording::Hours:
            return number + " - " + std::to_string(n) + "小时";
        case Wording::Plain:
            return number;
    }
    return number;
}

std::vector<std::string> FirstTen(const std::string& first, Wording wording) {
    std::vector<std::string> list{first};
    for (int n = 1; n < kBuiltEntries; ++n) list.push_back(Entry(wording, n));
    return list;
}

struct ExtendableList {
    std::string_view control;
    Wording wording;
};

constexpr ExtendableList kExtendable[] = {
    {"cbWireCrossTime", Wording::ThreeSeconds},   {"cbWirelessCrossTime", Wording::ThreeSeconds},
    {"cbArmingDelayTime", Wording::ThreeSeconds}, {"cbWarnInDelayTime", Wording::ThreeSeconds},
    {"cbWarnOutputTime", Wording::Minutes},       {"cbWarnBuzzerTime", Wording::Minutes},
    {"cbRelayOutputTime", Wording::Minutes},      {"cbProgOutputTime", Wording::Minutes},
    {"cbNeighborDileInterval", Wording::Minutes}, {"cbTestReportInterval", Wording::Hours},
    {"cbRepeatInterval", Wording::Plain},
};

}  // namespace

std::vector<std::string> UserRightsList() {
    return {"00 - 不开启此操作员",
            "01 - 有布防功能、无撤防功能、无旁路功能",
            "02 - 有布防功能、无撤防功能、有旁路功能",
            "03 - 无布防功能、有撤防功能、无旁路功能",
            "04 - 无布防功能、有撤防功能、有旁路功能",
            "05 - 有布防功能、有撤防功能、无旁路功能",
            "06 - 有布防功能、有撤防功能、有旁路功能"};
}

std::vector<std::string> CallTypeList() {
    return {"0 - 用户普通电话和移动手机语音接警",
            "1 - ADEMCO Contact ID接警中心接警",
            "2 - 零话费布防上报中心",
            "3 - 零话费撤防上报中心",
            "4 - Dorvane通讯格式",
            "5 - 禁止拨号"};
}

std::vector<std::string> DialCountList() {
    std::vector<std::string> list;
    for (int n = 0; n <= 15; ++n) list.push_back(TwoDigits(n));
    return list;
}

std::vector<std::string> RingCountList() {
    std::vector<std::string> list(4, "00 - 关闭远程设置");
    for (int n = 4; n <= 15; ++n) list.push_back(TwoDigits(n));
    return list;
}

std::vector<std::string> RedialRoundsList() {
    std::vector<std::string> list{"00 - 系统关闭通讯失败重拨"};
    for (int n = 1; n <= 9; ++n) list.push_back(std::to_string(n));
    return list;
}

std::vector<std::string> DtmfStepList() {
    return {"0 - 50ms", "1 - 100ms", "2 - 150ms", "3 - 200ms", "4 - 250ms"};
}

std::vector<std::string> SirenAddressList() {
    return {"0", "1", "2", "3"};
}

std::vector<std::string> ReportGroupList() {
    std::vector<std::string> list{"0 - 此防区不上报警情"};
    for (int n = 1; n <= 8; ++n)
        list.push_back(std::to_string(n) + " - 此防区只上报警情到第" + std::to_string(n) +
                       "组接警号码");
    list.push_back("9 - 此防区上报警情到全部接警号码");
    return list;
}

std::vector<std::string> ZoneTypeList() {
    return {"0 - 防区无用",  "1 - 出入延时防区",   "2 - 周边防区",       "3 - 内部防区（跟随报警）",
            "4 - 日/夜防区", "5 - 24小时无声报警", "6 - 24小时有声报警", "7 - 内部防区（延时）",
            "8 - 火警防区",  "9 - 气感防区",       "A - 医疗防区",       "B - 门铃防区 ",
            "C - 防盗防区",  "D - 关门布防防区",   "E - 巡更测试防区"};
}

std::vector<std::string> WirelessZoneTypeList() {
    std::vector<std::string> list = ZoneTypeList();
    list.resize(13);
    return list;
}

std::vector<std::string> ResponseTimeList() {
    std::vector<std::string> list;
    for (int n = 1; n <= 9; ++n)
        list.push_back(std::to_string(n) + " - " + std::to_string(n) + "00ms");
    return list;
}

std::vector<std::string> TriggerList() {
    return {"0 - 常闭报警", "1 - 常开报警", "2 - 线尾电阻"};
}

std::vector<std::string> WiredPairList() {
    std::vector<std::string> list;
    for (int n = 0; n <= 6; ++n) list.push_back(TwoDigits(n));
    return list;
}

std::vector<std::string> WirelessPairList() {
    std::vector<std::string> list{"00"};
    for (int n = 7; n <= 12; ++n) list.push_back(TwoDigits(n));
    return list;
}

std::vector<std::string> TriggerCountList() {
    std::vector<std::string> list{"0 - 单个防区触发不会产生报警"};
    for (int n = 1; n <= 9; ++n) list.push_back(std::to_string(n));
    return list;
}

std::vector<std::string> ThreeSecondSteps(const std::string& first) {
    return FirstTen(first, Wording::ThreeSeconds);
}

std::vector<std::string> MinuteSteps(const std::string& first) {
    return FirstTen(first, Wording::Minutes);
}

std::vector<std::string> HourSteps() {
    return FirstTen("00 - 关闭测试报告", Wording::Hours);
}

std::vector<std::string> RedialIntervalSteps() {
    return FirstTen("00 - 系统关闭通信失败重拨", Wording::Plain);
}

void ExtendValueLists(PageModel& page) {
    for (const ExtendableList& list : kExtendable) {
        const std::string name(list.control);
        if (!page.Holds(name)) continue;
        std::vector<std::string>& items = page[name].items;
        if (items.size() != kBuiltEntries) continue;
        for (int n = kBuiltEntries; n < kExtendedListSize; ++n)
            items.push_back(Entry(list.wording, n));
    }
}

}  // namespace tarnwick

#pragma once
#include <string>
#include <vector>

namespace tarnwick {

class PageModel;

// The value lists of the programming pages. In every list the entry index is
// the value written to the host, unless a page says otherwise.

std::vector<std::string> UserRightsList();    // 7 entries, "00 - 不开启此操作员" first
std::vector<std::string> CallTypeList();      // 6 entries
std::vector<std::string> DialCountList();     // "00" .. "15"
std::vector<std::string> RingCountList();     // 00 to 03 remote setting off, then "04" .. "15"
std::vector<std::string> RedialRoundsList();  // 10 entries
std::vector<std::string> DtmfStepList();      // "0 - 50ms" .. "4 - 250ms"
std::vector<std::string> SirenAddressList();  // "0" .. "3"
std::vector<std::string> ReportGroupList();   // 10 entries, 0 none, 1..8 one number, 9 all
std::vector<std::string> ZoneTypeList();  // 15 entries, "0 - 防区无用" .. "E - 巡更测试防区"
std::vector<std::string> WirelessZoneTypeList();  // the first 13 zone types
std::vector<std::string> ResponseTimeList();  // "1 - 100ms" .. "9 - 900ms"; entry i is digit i + 1
std::vector<std::string> TriggerList();       // 3 entries
std::vector<std::string> WiredPairList();     // "00" .. "06"
std::vector<std::string> WirelessPairList();  // "00", "07" .. "12"; the entry text is the value
std::vector<std::string> TriggerCountList();  // "0 - 单个防区触发不会产生报警", "1" .. "9"

// The first ten entries of the lists that ExtendValueLists completes: the
// given first entry, then 01 to 09 in the list's wording.
std::vector<std::string> ThreeSecondSteps(const std::string& first);  // "01*3秒" ..
std::vector<std::string> MinuteSteps(const std::string& first);       // "01 - 1分钟" ..
std::vector<std::string> HourSteps();            // "00 - 关闭测试报告" ..
std::vector<std::string> RedialIntervalSteps();  // "00 - ...", "01" .. "09"

// The number of entries of each list once ExtendValueLists has run.
inline constexpr int kExtendedListSize = 100;

// Appends the entries 10 to 99 to those of the eleven extendable lists
// (cbWireCrossTime, cbWirelessCrossTime, cbArmingDelayTime, cbWarnInDelayTime,
// cbWarnOutputTime, cbWarnBuzzerTime, cbRelayOutputTime, cbProgOutputTime,
// cbNeighborDileInterval, cbTestReportInterval, cbRepeatInterval) that the
// page holds. A list that already goes beyond its first ten is left alone,
// so running it twice changes nothing.
void ExtendValueLists(PageModel& page);

}  // namespace tarnwick

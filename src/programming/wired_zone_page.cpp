#include "programming/wired_zone_page.h"

#include "programming/value_lists.h"

namespace tarnwick {

// A report group, response time or trigger digit that is not decimal stops
// the loading; a zone type that is no hex digit shows as the first type.
const ZoneColumn WiredZonePage::kColumns[9] = {
    {"cbYXDefenceZoneNo", "接收报警号码组", FieldCoding::Index, ReportGroupList,
     Unreadable::StopLoading},
    {"cbDefenceZoneType", "防区类型", FieldCoding::HexIndex, ZoneTypeList, Unreadable::FirstEntry},
    // Entry i is the response time i + 1.
    {"cbDefenceZoneTime", "防区反应时间", FieldCoding::Index, ResponseTimeList,
     Unreadable::StopLoading, 1},
    {"cbDefenceZoneTrigger", "防区触发类型", FieldCoding::Index, TriggerList,
     Unreadable::StopLoading},
    {"ckDefenceZoneWay", "允许防区旁路"},
    {"ckKeyboardBeeper", "键盘蜂鸣器输出"},
    {"ckOutAlarm", "外置警号输出"},
    {"ckProgramElectric", "继电器输出"},
    {"chkInArmingToWireDefenceZone", "受在家布防控制"},
};

namespace {

const ZoneLayout kWiredZones = {
    .section = 4,
    .firstZoneNumber = 1,
    .columns = WiredZonePage::kColumns,
    .stayKey = "Prog07_InArmingToWireDefenceZone",
    .crossGroup = WiredZonePage::kCrossGroup,
    .crossLists = WiredZonePage::kCrossLists,
    .crossKey = "Prog07_WireCrossDefenceZone",
    .crossZones = FieldCoding::Index,
    .pairList = WiredPairList,
};

}  // namespace

WiredZonePage::WiredZonePage(HostWindow&) : ZonePage(kWiredZones) {}

std::string WiredZonePage::RowCaption(int zone) {
    return ZoneRowCaption(kWiredZones, zone);
}

}  // namespace tarnwick

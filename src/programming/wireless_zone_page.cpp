#include "programming/wireless_zone_page.h"

#include "programming/value_lists.h"

namespace tarnwick {

// A report group digit that is not decimal stops the loading; a zone type
// that is no hex digit shows as the first type.
const ZoneColumn WirelessZonePage::kColumns[7] = {
    {"cbWXDefenceZoneNo", "接收报警号码组", FieldCoding::Index, ReportGroupList,
     Unreadable::StopLoading},
    {"cbWXDefenceZoneType", "防区类型", FieldCoding::HexIndex, WirelessZoneTypeList,
     Unreadable::FirstEntry},
    {"ckWXDefenceZoneWay", "允许防区旁路"},
    {"ckWXKeyboardBeeper", "键盘蜂鸣器输出"},
    {"ckWxOutAlarm", "外置警号输出"},
    {"ckWXProgramElectric", "继电器输出"},
    {"chkInArmingToWirelessDefenceZone", "受在家布防控制"},
};

namespace {

// The pair lists hold the zone numbers as their entry texts.
const ZoneLayout kWirelessZones = {
    .section = 5,
    .firstZoneNumber = WirelessZonePage::kFirstZoneNumber,
    .columns = WirelessZonePage::kColumns,
    .stayKey = "Prog07_InArmingToWirelessDefenceZone",
    .crossGroup = WirelessZonePage::kCrossGroup,
    .crossLists = WirelessZonePage::kCrossLists,
    .crossKey = "Prog07_WirelessCrossDefenceZone",
    .crossZones = FieldCoding::EntryText,
    .pairList = WirelessPairList,
};

}  // namespace

WirelessZonePage::WirelessZonePage(HostWindow&) : ZonePage(kWirelessZones) {}

std::string WirelessZonePage::RowCaption(int zone) {
    return ZoneRowCaption(kWirelessZones, zone);
}

}  // namespace tarnwick

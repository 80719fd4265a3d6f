#include "programming/wireless_zone_page.h"

#include <stdexcept>

#include "programming/programming_requests.h"
#include "programming/value_lists.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

std::string Key(int zone) {
    return "Prog05_" + std::to_string(zone);
}

}  // namespace

const WirelessZonePage::Column WirelessZonePage::kColumns[7] = {
    {"cbWXDefenceZoneNo", "接收报警号码组"},
    {"cbWXDefenceZoneType", "防区类型"},
    {"ckWXDefenceZoneWay", "允许防区旁路"},
    {"ckWXKeyboardBeeper", "键盘蜂鸣器输出"},
    {"ckWxOutAlarm", "外置警号输出"},
    {"ckWXProgramElectric", "继电器输出"},
    {"chkInArmingToWirelessDefenceZone", "受在家布防控制"},
};

std::string WirelessZonePage::RowCaption(int zone) {
    return "防区" + std::to_string(zone + kFirstZoneNumber - 1);
}

WirelessZonePage::WirelessZonePage() : ProgrammingPage("tsWirelessDefenceZone", "无线防区") {
    const std::vector<std::string> lists[] = {ReportGroupList(), WirelessZoneTypeList()};
    for (int zone = 1; zone <= kZones; ++zone) {
        for (size_t col = 0; col < std::size(kColumns); ++col) {
            const std::string name = Numbered(kColumns[col].base, zone);
            const std::string caption = RowCaption(zone) + " " + std::string(kColumns[col].caption);
            if (col < std::size(lists))
                CaptionedCombo(name, caption, lists[col]);
            else
                GridCheck(name, caption);
        }
    }
    const std::string group = std::string(kCrossGroup) + " ";
    CaptionedCombo("cbWirelessCrossDefenceZone1", group + "防区1", WirelessPairList());
    CaptionedCombo("cbWirelessCrossDefenceZone2", group + "防区2", WirelessPairList());
    CaptionedCombo("cbWirelessCrossTime", group + "交叉时间",
                   ThreeSecondSteps("00 - 系统关闭防区交叉逻辑功能"));
    CaptionedCombo("cbWirelessCrossTriggerNum", group + "触发次数", TriggerCountList());
}

CommandList WirelessZonePage::ReadList() {
    return {ReadSectionRequest(5), ReadSectionRequest(7)};
}

void WirelessZonePage::ClearWirelessZonePage() {
    ClearControls();
}

void WirelessZonePage::LoadWirelessZonePage(const DeviceParams& stored) {
    for (int zone = 1; zone <= kZones; ++zone) {
        const std::string digits = stored.Get(Key(zone));
        if (digits.empty()) continue;
        // A report group digit that is not decimal ends the loading.
        SelectOrStop(Numbered("cbWXDefenceZoneNo", zone), DecimalValue(Slice(digits, 1, 1)));
        Select(Numbered("cbWXDefenceZoneType", zone),
               HexDigitValue(Slice(digits, 2, 2)).value_or(0));
        for (size_t box = 0; box < 4 && 3 + box <= digits.size(); ++box)
            SetFlag(Numbered(kColumns[2 + box].base, zone), digits[2 + box]);
    }
    const std::string stay = stored.Get("Prog07_InArmingToWirelessDefenceZone");
    for (int zone = 1; zone <= kZones && static_cast<size_t>(zone) <= stay.size(); ++zone)
        SetFlag(Numbered("chkInArmingToWirelessDefenceZone", zone),
                stay[static_cast<size_t>(zone) - 1]);
    const std::string cross = stored.Get("Prog07_WirelessCrossDefenceZone");
    if (cross.empty()) return;
    // The pair lists hold the zone numbers as their entry texts.
    SelectText("cbWirelessCrossDefenceZone1", Slice(cross, 1, 2));
    SelectText("cbWirelessCrossDefenceZone2", Slice(cross, 3, 4));
    Select("cbWirelessCrossTime", DecimalValue(Slice(cross, 5, 6)));
    Select("cbWirelessCrossTriggerNum", DecimalValue(Slice(cross, 7, 7)));
}

std::string WirelessZonePage::EncodeWirelessZoneSection(std::string_view section,
                                                        SectionWriter& w) const {
    SectionWriter::FieldDigits own;
    if (section == "05") {
        for (int zone = 1; zone <= kZones; ++zone) {
            own[Key(zone)] = [&w, zone] {
                const std::string read = w.Stored(Key(zone));
                return w.Index(Numbered("cbWXDefenceZoneNo", zone), 1, Slice(read, 1, 1)) +
                       w.HexIndex(Numbered("cbWXDefenceZoneType", zone), Slice(read, 2, 2)) +
                       w.Flag(Numbered("ckWXDefenceZoneWay", zone)) +
                       w.Flag(Numbered("ckWXKeyboardBeeper", zone)) +
                       w.Flag(Numbered("ckWxOutAlarm", zone)) +
                       w.Flag(Numbered("ckWXProgramElectric", zone));
            };
        }
        return w.Body(5, own);
    }
    if (section == "07") {
        own["Prog07_InArmingToWirelessDefenceZone"] = [&w] {
            std::string flags;
            for (int zone = 1; zone <= kZones; ++zone)
                flags += w.Flag(Numbered("chkInArmingToWirelessDefenceZone", zone));
            return flags;
        };
        own["Prog07_WirelessCrossDefenceZone"] = [&w] {
            const std::string read = w.Stored("Prog07_WirelessCrossDefenceZone");
            return w.EntryText("cbWirelessCrossDefenceZone1", 2, Slice(read, 1, 2)) +
                   w.EntryText("cbWirelessCrossDefenceZone2", 2, Slice(read, 3, 4)) +
                   w.Index("cbWirelessCrossTime", 2, Slice(read, 5, 6)) +
                   w.Index("cbWirelessCrossTriggerNum", 1, Slice(read, 7, 7)) + "0";
        };
        return w.Body(7, own);
    }
    throw std::invalid_argument("the wireless zone page writes sections 05 and 07, not " +
                                std::string(section));
}

void WirelessZonePage::QueueSections(CommandList& list, SectionWriter& writer) const {
    writer.QueueIfChanged(list, 5, EncodeWirelessZoneSection("05", writer));
    writer.QueueIfChanged(list, 7, EncodeWirelessZoneSection("07", writer));
}

}  // namespace tarnwick

#include "programming/wired_zone_page.h"

#include <stdexcept>

#include "programming/programming_requests.h"
#include "programming/value_lists.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

std::string Key(int zone) {
    return "Prog04_" + std::to_string(zone);
}

}  // namespace

const WiredZonePage::Column WiredZonePage::kColumns[9] = {
    {"cbYXDefenceZoneNo", "接收报警号码组"},
    {"cbDefenceZoneType", "防区类型"},
    {"cbDefenceZoneTime", "防区反应时间"},
    {"cbDefenceZoneTrigger", "防区触发类型"},
    {"ckDefenceZoneWay", "允许防区旁路"},
    {"ckKeyboardBeeper", "键盘蜂鸣器输出"},
    {"ckOutAlarm", "外置警号输出"},
    {"ckProgramElectric", "继电器输出"},
    {"chkInArmingToWireDefenceZone", "受在家布防控制"},
};

std::string WiredZonePage::RowCaption(int zone) {
    return "防区" + std::to_string(zone);
}

WiredZonePage::WiredZonePage() : ProgrammingPage("tsWireDefenceZone", "有线防区") {
    const std::vector<std::string> lists[] = {ReportGroupList(), ZoneTypeList(), ResponseTimeList(),
                                              TriggerList()};
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
    CaptionedCombo("cbWireCrossDefenceZone1", group + "防区1", WiredPairList());
    CaptionedCombo("cbWireCrossDefenceZone2", group + "防区2", WiredPairList());
    CaptionedCombo("cbWireCrossTime", group + "交叉时间",
                   ThreeSecondSteps("00 - 系统关闭防区交叉逻辑功能"));
    CaptionedCombo("cbWireCrossTriggerNum", group + "触发次数", TriggerCountList());
}

CommandList WiredZonePage::ReadList() {
    return {ReadSectionRequest(4), ReadSectionRequest(7)};
}

void WiredZonePage::ClearWiredZonePage() {
    ClearControls();
}

void WiredZonePage::LoadZone(int zone, const std::string& digits) {
    auto digit = [&](size_t n) { return Slice(digits, n, n); };
    // A report group, response time or trigger digit that is not decimal
    // ends the loading; the rest stays cleared.
    SelectOrStop(Numbered("cbYXDefenceZoneNo", zone), DecimalValue(digit(1)));
    Select(Numbered("cbDefenceZoneType", zone), HexDigitValue(digit(2)).value_or(0));
    const std::optional<int> time = DecimalValue(digit(3));
    SelectOrStop(Numbered("cbDefenceZoneTime", zone), time ? std::optional<int>(*time - 1) : time);
    SelectOrStop(Numbered("cbDefenceZoneTrigger", zone), DecimalValue(digit(4)));
    for (size_t box = 0; box < 4 && 5 + box <= digits.size(); ++box)
        SetFlag(Numbered(kColumns[4 + box].base, zone), digits[4 + box]);
}

void WiredZonePage::LoadWiredZonePage(const DeviceParams& stored) {
    for (int zone = 1; zone <= kZones; ++zone) {
        const std::string digits = stored.Get(Key(zone));
        if (!digits.empty()) LoadZone(zone, digits);
    }
    const std::string stay = stored.Get("Prog07_InArmingToWireDefenceZone");
    for (int zone = 1; zone <= kZones && static_cast<size_t>(zone) <= stay.size(); ++zone)
        SetFlag(Numbered("chkInArmingToWireDefenceZone", zone),
                stay[static_cast<size_t>(zone) - 1]);
    const std::string cross = stored.Get("Prog07_WireCrossDefenceZone");
    if (cross.empty()) return;
    Select("cbWireCrossDefenceZone1", DecimalValue(Slice(cross, 1, 2)));
    Select("cbWireCrossDefenceZone2", DecimalValue(Slice(cross, 3, 4)));
    Select("cbWireCrossTime", DecimalValue(Slice(cross, 5, 6)));
    Select("cbWireCrossTriggerNum", DecimalValue(Slice(cross, 7, 7)));
}

std::string WiredZonePage::EncodeWiredZoneSection(std::string_view section,
                                                  SectionWriter& w) const {
    SectionWriter::FieldDigits own;
    if (section == "04") {
        for (int zone = 1; zone <= kZones; ++zone) {
            own[Key(zone)] = [&w, zone] {
                const std::string read = w.Stored(Key(zone));
                auto digit = [&read](size_t n) { return Slice(read, n, n); };
                return w.Index(Numbered("cbYXDefenceZoneNo", zone), 1, digit(1)) +
                       w.HexIndex(Numbered("cbDefenceZoneType", zone), digit(2)) +
                       w.Index(Numbered("cbDefenceZoneTime", zone), 1, digit(3), 1) +
                       w.Index(Numbered("cbDefenceZoneTrigger", zone), 1, digit(4)) +
                       w.Flag(Numbered("ckDefenceZoneWay", zone)) +
                       w.Flag(Numbered("ckKeyboardBeeper", zone)) +
                       w.Flag(Numbered("ckOutAlarm", zone)) +
                       w.Flag(Numbered("ckProgramElectric", zone));
            };
        }
        return w.Body(4, own);
    }
    if (section == "07") {
        own["Prog07_InArmingToWireDefenceZone"] = [&w] {
            std::string flags;
            for (int zone = 1; zone <= kZones; ++zone)
                flags += w.Flag(Numbered("chkInArmingToWireDefenceZone", zone));
            return flags;
        };
        own["Prog07_WireCrossDefenceZone"] = [&w] {
            const std::string read = w.Stored("Prog07_WireCrossDefenceZone");
            return w.Index("cbWireCrossDefenceZone1", 2, Slice(read, 1, 2)) +
                   w.Index("cbWireCrossDefenceZone2", 2, Slice(read, 3, 4)) +
                   w.Index("cbWireCrossTime", 2, Slice(read, 5, 6)) +
                   w.Index("cbWireCrossTriggerNum", 1, Slice(read, 7, 7)) + "0";
        };
        return w.Body(7, own);
    }
    throw std::invalid_argument("the wired zone page writes sections 04 and 07, not " +
                                std::string(section));
}

void WiredZonePage::QueueSections(CommandList& list, SectionWriter& writer) const {
    writer.QueueIfChanged(list, 4, EncodeWiredZoneSection("04", writer));
    writer.QueueIfChanged(list, 7, EncodeWiredZoneSection("07", writer));
}

}  // namespace tarnwick

#include "operation/host_status.h"

#include <optional>

#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr const char* kFiveControlButtons[] = {"bbtnOutArming", "bbtnInArming", "bbtnDisArming",
                                               "bbtnOnOffLinkage", "bbtnHostReset"};

// A status key's byte, when the key holds exactly two hex digits.
std::optional<unsigned> StatusByte(const DeviceParams& params, const char* key) {
    const std::string text = params.Get(key);
    if (text.size() != 2) return std::nullopt;
    unsigned value = 0;
    for (char ch : text) {
        const int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                          : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                          : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                                                   : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

bool Bit(unsigned value, int bit) {
    return ((value >> bit) & 1u) != 0;
}

// The arming buttons of one KeepAwayMode: 00 disarmed, 01 armed away, 02
// armed at home. Any other mode leaves them as they are.
bool ApplyMode(PageModel& c, const std::string& mode) {
    if (mode != "00" && mode != "01" && mode != "02") return false;
    const bool disarmed = mode == "00";
    c["bbtnInArming"].enabled = disarmed;
    c["bbtnOutArming"].enabled = mode != "01";
    c["bbtnDisArming"].enabled = !disarmed;
    c["bbtnHostReset"].enabled = disarmed;
    return true;
}

struct SwitchState {
    const char* name;
    int bit;
    const char* offHint;
    const char* onHint;
    int offImage;
};
constexpr SwitchState kSwitches[] = {
    {"bbtnOnOffLinkage", 6, "联动开启(当前关闭)", "联动关闭(当前打开)", 0},
    {"bbtnOnOffAlarmSound", 5, "报警声开启(当前关闭)", "报警声关闭(当前打开)", 2}};

void ShowSwitch(PageModel& c, const SwitchState& s, bool on) {
    Control& button = c[s.name];
    button.tag = on ? 1 : 0;
    button.hint = on ? s.onHint : s.offHint;
    button.text = button.hint;
    button.image = s.offImage + (on ? 1 : 0);
}

// Zones first..last from their state and bypass bytes; bit 0 is zone `first`.
void ColourZones(PageModel& c, int first, int last, unsigned state, unsigned bypass) {
    for (int zone = first; zone <= last; ++zone) {
        const int bit = zone - first;
        c.At("lblDefence", zone).color = Bit(bypass, bit)  ? kZoneBypassedColor
                                         : Bit(state, bit) ? kZoneActiveColor
                                                           : kZoneQuietColor;
    }
}

void ShowSignalText(PageModel& c, const DeviceParams& params) {
    c["stxtGPRSCSQ"].text = std::string(kSignalCaption) + params.Get("GPRSCSQ");
}

// A lamp's picture; enabled stays what it always meant: lit.
void ShowLamp(Control& lamp, LampPicture picture) {
    lamp.image = picture;
    lamp.enabled = picture == kLampLit;
}

void ShowArmingState(PageModel& c, const std::string& word) {
    c["stxtArmingState"].text = std::string(kArmingStateCaption) + word;
}

// "HH:MM:SS" of a clock text "yyyy-mm-dd hh:nn:ss".
std::string TimeOfDay(const std::string& now) {
    return now.size() >= 19 ? now.substr(11, 8) : now;
}

void ShowSilence(PageModel& c) {
    for (const Lamp& lamp : kLamps) ShowLamp(c[lamp.name], kLampUnknown);
    for (int zone = 1; zone <= kZoneLabelCount; ++zone)
        c.At("lblDefence", zone).color = kZoneUnknownColor;
    ShowArmingState(c, kUnknownStateText);
    c["stxtGPRSCSQ"].text = kSignalCaption;
    c["Img1CSQ"].visible = false;
    Control& note = c["stxtHostAnswer"];
    note.text = HostSilentText(note.hint.substr(std::string(kLastUpdateCaption).size()));
    note.color = kHostSilentColor;
}

}  // namespace

bool ShowsHostSilent(const PageModel& c) {
    return c["stxtHostAnswer"].color.has_value();
}

std::string HostSilentText(const std::string& lastUpdate) {
    return "主机无应答（" + std::string(kLastUpdateCaption) + lastUpdate + "）";
}

std::string ArmingStateWord(const std::string& mode) {
    if (mode.empty()) return {};
    if (mode == "00") return "撤防";
    if (mode == "01") return "离家布防";
    if (mode == "02") return "在家布防";
    return kUnknownStateText;
}

int SignalIcon(const std::string& value) {
    int number = 0;
    const std::string text = Trim(value);
    if (!text.empty() && text.size() <= 9 &&
        text.find_first_not_of("0123456789") == std::string::npos)
        number = std::stoi(text);
    if (number < 6) return 0;
    if (number < 8) return 1;
    if (number < 12) return 2;
    if (number < 16) return 3;
    if (number < 20) return 4;
    return 5;
}

void DeclareHostStatus(PageModel& c) {
    // Nothing is known of the host before its first answer.
    for (const Lamp& lamp : kLamps) ShowLamp(c.Button(lamp.name, lamp.caption), kLampUnknown);
    for (int zone = 1; zone <= kZoneLabelCount; ++zone)
        c.Label(Numbered("lblDefence", zone), "防区" + std::to_string(zone));
    c.Label("stxtGPRSCSQ", kSignalCaption);
    c.Label("Img1CSQ").image = 0;
    c.Label("stxtHostModel", kHostModelCaption);
    c.Label("stxtModuleVer", kModuleVersionCaption).hint = kModuleVersionCaption;
    c.Label("stxtArmingState", kArmingStateCaption);
    c.Label("stxtHostAnswer").hint = std::string(kLastUpdateCaption) + kNeverUpdatedTime;
}

void ClearHostStatus(PageModel& c) {
    for (const char* name : {"bbtnOutArming", "bbtnDisArming", "bbtnInArming", "bbtnOnOffLinkage",
                             "bbtnOnOffAlarmSound"})
        c[name].enabled = true;
    for (int zone = 1; zone <= kZoneLabelCount; ++zone) c.At("lblDefence", zone).color.reset();
    for (const Lamp& lamp : kLamps) ShowLamp(c[lamp.name], kLampLit);
    c["stxtHostModel"].text = kHostModelCaption;
    c["stxtModuleVer"].text = kModuleVersionCaption;
    c["stxtModuleVer"].hint = kModuleVersionCaption;
    c["stxtGPRSCSQ"].text = kSignalCaption;
}

void ShowHostStatus(PageModel& c, const DeviceParams& params) {
    const std::string mode = params.Get("KeepAwayMode");
    ApplyMode(c, mode);
    if (const std::string word = ArmingStateWord(mode); !word.empty()) ShowArmingState(c, word);
    if (const auto status = StatusByte(params, "SystemStatus")) {
        for (const SwitchState& s : kSwitches) ShowSwitch(c, s, Bit(*status, s.bit));
        for (const Lamp& lamp : kLamps)
            ShowLamp(c[lamp.name], Bit(*status, lamp.bit) ? kLampLit : kLampOff);
        const bool locked = Bit(*status, 7);
        for (const char* name : kFiveControlButtons) c[name].enabled = !locked;
        // The mode overrides the blanket enabling.
        if (!locked) ApplyMode(c, mode);
        // A sounding alarm can only be answered by disarming.
        if (Bit(*status, 5)) {
            c["bbtnInArming"].enabled = false;
            c["bbtnOutArming"].enabled = false;
            c["bbtnDisArming"].enabled = true;
        }
    }
    const auto low = StatusByte(params, "Defence1_8");
    const auto lowBypass = StatusByte(params, "ByPass1_8");
    if (low && lowBypass) {
        ColourZones(c, 1, 8, *low, *lowBypass);
        ShowSignalText(c, params);
        c["Img1CSQ"].image = SignalIcon(params.Get("GPRSCSQ"));
        c["Img1CSQ"].visible = true;
    }
    const auto high = StatusByte(params, "Defence9_16");
    const auto highBypass = StatusByte(params, "ByPass9_16");
    if (high && highBypass) {
        ColourZones(c, 9, kZoneLabelCount, *high, *highBypass);
        ShowSignalText(c, params);
    }
}

void ShowStatusOutcome(PageModel& c, const DeviceParams& params, bool answered,
                       const std::string& now) {
    if (!answered) {
        ShowSilence(c);
        return;
    }
    ShowHostStatus(c, params);
    Control& note = c["stxtHostAnswer"];
    note.hint = kLastUpdateCaption + TimeOfDay(now);
    note.text = note.hint;
    note.color.reset();
}

void LoadHostModel(PageModel& c, const DeviceParams& params) {
    c["stxtHostModel"].text = std::string(kHostModelCaption) + params.Get("HostModel");
    const std::string version = params.Get("GprsKERNELVer");
    c["stxtModuleVer"].text = std::string(kModuleVersionCaption) + Trim(version);
    c["stxtModuleVer"].hint = std::string(kModuleVersionCaption) + version;
}

}  // namespace tarnwick

#pragma once
#include <cstdint>
#include <string>

#include "hosts/page_model.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// The live state of the alarm host on the first page: the arming and switch
// buttons, four lamps, twelve zone labels, the GSM signal, the host model
// and the module software version, all taken from the status keys.

inline constexpr int kZoneLabelCount = 12;
// Font colours of a zone label: bypassed, in alarm (zone-state bit set), quiet.
inline constexpr uint32_t kZoneBypassedColor = 0x0000FF;
inline constexpr uint32_t kZoneActiveColor = 0xFF0000;
inline constexpr uint32_t kZoneQuietColor = 0x008000;
// A zone whose state is not known (the host stopped answering).
inline constexpr uint32_t kZoneUnknownColor = 0xA0A0A0;
// The note of the status group while the host does not answer.
inline constexpr uint32_t kHostSilentColor = 0xC00000;

// Pictures of a lamp: off, lit, and unknown while the host does not answer.
enum LampPicture { kLampOff = 0, kLampLit = 1, kLampUnknown = 2 };
inline constexpr int kLampImageCount = 3;

// Pictures of the 24x24 list ImgOnOff: linkage off, on; alarm sound off, on.
inline constexpr int kOnOffImageCount = 4;
// Pictures of the 20x20 list ImgCSQ, from no signal (0) to full (5).
inline constexpr int kCsqImageCount = 6;

inline constexpr const char* kHostModelCaption = "主机型号版本:";
inline constexpr const char* kModuleVersionCaption = "模块软件版本:";
inline constexpr const char* kSignalCaption = "GPRS/GSM信号:";
inline constexpr const char* kArmingStateCaption = "布防状态:";
inline constexpr const char* kUnknownStateText = "未知";
inline constexpr const char* kLastUpdateCaption = "最后更新 ";
// The time of the last answer before the host answered at all.
inline constexpr const char* kNeverUpdatedTime = "--:--:--";

// The four lamps with their captions and the bit of SystemStatus each shows.
struct Lamp {
    const char* name;
    const char* caption;
    int bit;
};
inline constexpr Lamp kLamps[] = {{"sbtnPhoneline", "电话线", 4},
                                  {"sbtnTamper", "防  拆", 2},
                                  {"sbtnButterfly", "电  池", 1},
                                  {"sbtnAC", "交流电", 0}};

// Declares the lamps, zone labels, signal text and icon, model and version
// labels. The arming and switch buttons come with the remote commands.
void DeclareHostStatus(PageModel& c);
// The status part of ClearHostControlPage.
void ClearHostStatus(PageModel& c);
// ShowHostStatus: applies the stored status keys to the page. A key that is
// empty, or not two hex digits, leaves its part of the page as it was.
void ShowHostStatus(PageModel& c, const DeviceParams& params);
// The outcome of one status query at `now` ("yyyy-mm-dd hh:nn:ss"): an
// answer shows the stored keys live and notes its time in stxtHostAnswer;
// silence shows the unknown state instead of the last one (grey lamps and
// zones, no arming state, no signal) and says since when in stxtHostAnswer.
void ShowStatusOutcome(PageModel& c, const DeviceParams& params, bool answered,
                       const std::string& now);
// Whether the status group says the host stopped answering.
bool ShowsHostSilent(const PageModel& c);
// "主机无应答（最后更新 HH:MM:SS）"
std::string HostSilentText(const std::string& lastUpdate);
// The arming state in words for a KeepAwayMode value; empty for none.
std::string ArmingStateWord(const std::string& mode);
// The model and module version labels of LoadHostControlPage.
void LoadHostModel(PageModel& c, const DeviceParams& params);

// The signal icon for a GPRSCSQ value; a value that is not a number is 0.
int SignalIcon(const std::string& value);

}  // namespace tarnwick

#pragma once
#include <functional>
#include <string>

#include "hosts/page_model.h"
#include "programming/field_set.h"
#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

class OperatorPort;

// The two timed arming groups of the first page (programming section 06):
// per group an arming and a disarming time, seven day toggles and twelve
// zone toggles, switched on and off by the group's check box.

inline constexpr int kScheduleGroupCount = 2;
inline constexpr int kScheduleDayCount = 7;
inline constexpr int kScheduleZoneCount = 12;
inline constexpr int kScheduleSection = 6;
// Captions of the day toggles, Monday to Sunday.
inline constexpr const char* kScheduleDayCaptions[kScheduleDayCount] = {"一", "二", "三", "四",
                                                                        "五", "六", "日"};
// The time field of a group that is off: 24:60 for both times.
inline constexpr const char* kNoScheduleTime = "24602460";
inline constexpr int kMaxScheduleHour = 24;
inline constexpr int kMaxScheduleMinute = 60;
// Toggle colours: on is light red with black text, off the button face with grey text.
inline constexpr uint32_t kToggleOnBackground = 0xFFCECE;
inline constexpr uint32_t kToggleOffText = 0x808080;

// Control names of group g (1 or 2).
std::string ScheduleCheckName(int g);         // chkDefenceZone1
std::string ArmHourName(int g);               // edtHour1
std::string ArmMinuteName(int g);             // edtMin1
std::string DisarmHourName(int g);            // edtHour_1
std::string DisarmMinuteName(int g);          // edtMin_1
std::string DayToggleName(int g, int day);    // stxtWeek11 … stxtWeek17
std::string ZoneToggleName(int g, int zone);  // stxtDefence11 … stxtDefence112
// The up-down button bound to a time edit: udHour1 for edtHour1 and so on;
// its two halves are the buttons udHour1Up and udHour1Down.
std::string UpDownName(const std::string& editName);

// The groups' fields: per group the four time edits (an empty one writes the
// 24 or 60 of no time; hours 0-24, minutes 0-60), the day toggles and the
// zone toggles, read strictly (a digit that is not decimal stops the
// loading). The week's eighth digit goes back as read: always "0".
const FieldSet& ScheduleFields();

// Declares the controls of both groups and binds their reactions. `reload`
// runs LoadHostControlPage (a group box becoming checked puts the page back
// as last read); `op` shows the messages of a refused time and of a reload
// that stopped at a digit it could not read (the group stays unticked).
void DeclareScheduleGroups(PageModel& c, OperatorPort& op, std::function<void()> reload);
// The schedule part of ClearHostControlPage: both groups off, their time
// edits blank (a group that is off shows no time), every toggle off.
void ClearScheduleGroups(PageModel& c);
// LoadScheduleGroups: both groups from the Prog06_… keys; a group that is off
// (24602460) shows blank times. A day or zone digit that is not decimal stops
// the loading there (throws UnreadableValue naming the toggle). A group whose
// time field was not read stays as the clearing left it.
void LoadScheduleGroups(PageModel& c, const DeviceParams& params);
// EncodeScheduleGroup: the 28 digits of group g; a blank time edit gives the
// hour 24 or the minute 60 that stand for no time.
std::string EncodeScheduleGroup(const PageModel& c, int g);
// The section 06 write, queued when the two groups differ from what was read;
// never when section 06 was not read. Throws SaveRefused when it was read
// only in part.
void QueueScheduleWrite(CommandList& list, const PageModel& c, const DeviceParams& stored);
// One press of a time edit's up-down button: hours 0-24, minutes 0-60, no
// wrap-around.
void StepScheduleTime(PageModel& c, const std::string& editName, int delta);

}  // namespace tarnwick

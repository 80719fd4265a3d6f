#include "programming/schedule_groups.h"

#include <algorithm>
#include <array>

#include "hosts/unreadable_value.h"
#include "programming/section_write.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"

namespace tarnwick {
namespace {

constexpr const char* kGroupCaptions[kScheduleGroupCount] = {"启动第一组定时布撤防",
                                                             "启动第二组定时布撤防"};
constexpr const char* kGroupShortCaptions[kScheduleGroupCount] = {"第一组", "第二组"};
// The captions of the four time edits, in the order TimeEdits gives them.
constexpr const char* kTimeCaptions[] = {"定时布防 时", "定时布防 分", "定时撤防 时",
                                         "定时撤防 分"};

std::string Key(int g, const char* part) {
    return "Prog06_" + std::to_string(g) + part;
}

// The four time edits of a group in the order of the time field.
std::array<std::string, 4> TimeEdits(int g) {
    return {ArmHourName(g), ArmMinuteName(g), DisarmHourName(g), DisarmMinuteName(g)};
}

bool IsHourEdit(const std::string& name) {
    return name.rfind("edtHour", 0) == 0;
}

// The number a time edit holds, or -1 when it holds no number.
int TimeValue(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(t);
}

// A group that is off shows no time: its edits are blank, which a save
// writes as the 24:60 that stands for none.
void SetGroupOff(PageModel& c, int g) {
    for (const std::string& name : TimeEdits(g)) c[name].text.clear();
    for (int day = 1; day <= kScheduleDayCount; ++day) c[DayToggleName(g, day)].checked = false;
    for (int zone = 1; zone <= kScheduleZoneCount; ++zone)
        c[ZoneToggleName(g, zone)].checked = false;
}

// The group (1 or 2) a time edit belongs to.
int GroupOf(const std::string& editName) {
    return editName.back() - '0';
}

// The check made when the operator leaves a time edit. A blank edit of a
// group that is off is no time, as shown.
void CheckTime(PageModel& c, OperatorPort& op, const std::string& name) {
    const std::string& text = c[name].text;
    const char* refusal = nullptr;
    if (Trim(text).empty()) {
        if (!c[ScheduleCheckName(GroupOf(name))].checked) return;
        refusal = kEmptyValueMessage;
    } else {
        const int value = TimeValue(text);
        const int maximum = IsHourEdit(name) ? kMaxScheduleHour : kMaxScheduleMinute;
        if (value < 0 || value > maximum) refusal = kValueOutOfRangeMessage;
    }
    if (!refusal) return;
    op.ShowMessage(refusal);
    c.RequestFocus(name);
}

std::string ToggleDigits(const PageModel& c, int g, int count, std::string (*name)(int, int)) {
    std::string digits;
    for (int i = 1; i <= count; ++i) digits += c[name(g, i)].checked ? '1' : '0';
    return digits;
}

// A group box becoming checked puts the page back as last read. A day or
// zone digit that stops that loading leaves the group unticked and says
// which field could not be read.
void ReloadForGroup(PageModel& c, OperatorPort& op, int g, const std::function<void()>& reload) {
    try {
        reload();
    } catch (const UnreadableValue& e) {
        c[ScheduleCheckName(g)].checked = false;
        op.Warning("“" + e.Caption() + "”无法读取，" + kGroupShortCaptions[g - 1] +
                   "定时布撤防不能启动。");
    }
}

void LoadGroup(PageModel& c, const DeviceParams& params, int g) {
    const std::string time = params.Get(Key(g, "Time"));
    // Section 06 was not read: the group stays as the clearing left it.
    if (time.empty()) return;
    const auto edits = TimeEdits(g);
    const bool on = time != kNoScheduleTime;
    for (size_t i = 0; i < edits.size(); ++i)
        c[edits[i]].text = on ? Slice(time, 2 * i + 1, 2 * i + 2) : std::string();
    c[ScheduleCheckName(g)].checked = on;

    const std::string week = params.Get(Key(g, "Week"));
    if (!week.empty())
        for (int day = 1; day <= kScheduleDayCount; ++day)
            SetToggleState(c[DayToggleName(g, day)],
                           static_cast<size_t>(day) <= week.size() ? week[day - 1] : '\0');

    const std::string zones = params.Get(Key(g, "Wire")) + params.Get(Key(g, "Wireless"));
    if (!zones.empty())
        for (int zone = 1; zone <= kScheduleZoneCount; ++zone)
            SetToggleState(c[ZoneToggleName(g, zone)],
                           static_cast<size_t>(zone) <= zones.size() ? zones[zone - 1] : '\0');
}

}  // namespace

std::string ScheduleCheckName(int g) {
    return Numbered("chkDefenceZone", g);
}
std::string ArmHourName(int g) {
    return Numbered("edtHour", g);
}
std::string ArmMinuteName(int g) {
    return Numbered("edtMin", g);
}
std::string DisarmHourName(int g) {
    return Numbered("edtHour_", g);
}
std::string DisarmMinuteName(int g) {
    return Numbered("edtMin_", g);
}
std::string DayToggleName(int g, int day) {
    return Numbered("stxtWeek", g) + std::to_string(day);
}
std::string ZoneToggleName(int g, int zone) {
    return Numbered("stxtDefence", g) + std::to_string(zone);
}
std::string UpDownName(const std::string& editName) {
    return "ud" + editName.substr(3);
}

void SetToggleState(Control& toggle, char digit) {
    if (digit < '0' || digit > '9') throw UnreadableValue(toggle);
    if (digit == '0') toggle.checked = false;
    if (digit == '1') toggle.checked = true;
}

void StepScheduleTime(PageModel& c, const std::string& editName, int delta) {
    Control& edit = c[editName];
    const int maximum = IsHourEdit(editName) ? kMaxScheduleHour : kMaxScheduleMinute;
    int value = TimeValue(edit.text);
    if (value < 0) value = 0;
    value = std::min(std::max(value + delta, 0), maximum);
    edit.text = std::to_string(value);
}

void DeclareScheduleGroups(PageModel& c, OperatorPort& op, std::function<void()> reload) {
    for (int g = 1; g <= kScheduleGroupCount; ++g) {
        c.Check(ScheduleCheckName(g), kGroupCaptions[g - 1]).caption = kGroupCaptions[g - 1];
        const std::string group = kGroupShortCaptions[g - 1];
        const auto edits = TimeEdits(g);
        for (size_t i = 0; i < edits.size(); ++i) {
            const std::string& name = edits[i];
            Control& edit = c.Edit(name, 2, KeyFilter::Digits);
            edit.text = "0";
            edit.caption = group + " " + kTimeCaptions[i];
            c.OnExit(name, [&c, &op, name] { CheckTime(c, op, name); });
            for (const int delta : {1, -1}) {
                const std::string button = UpDownName(name) + (delta > 0 ? "Up" : "Down");
                c.Button(button, delta > 0 ? "▲" : "▼").caption =
                    edit.caption + (delta > 0 ? " 增加" : " 减少");
                c.OnClick(button, [&c, name, delta] {
                    StepScheduleTime(c, name, delta);
                    c.Changed();
                });
            }
        }
        for (int day = 1; day <= kScheduleDayCount; ++day) {
            Control& toggle = c.Add(DayToggleName(g, day), ControlKind::Toggle);
            toggle.text = kScheduleDayCaptions[day - 1];
            toggle.caption = group + " 星期 " + toggle.text;
        }
        for (int zone = 1; zone <= kScheduleZoneCount; ++zone) {
            Control& toggle = c.Add(ZoneToggleName(g, zone), ControlKind::Toggle);
            toggle.text = std::to_string(zone);
            toggle.caption = group + " 防区 " + toggle.text;
        }
        c.OnChange(ScheduleCheckName(g), [&c, &op, g, reload] {
            if (c[ScheduleCheckName(g)].checked) {
                if (reload) ReloadForGroup(c, op, g, reload);
            } else {
                SetGroupOff(c, g);
            }
            c.Changed();
        });
    }
    for (const auto& control : c.Controls()) {
        if (control->kind != ControlKind::Toggle) continue;
        Control* toggle = control.get();
        c.OnClick(toggle->name, [&c, toggle] {
            toggle->checked = !toggle->checked;
            c.Changed();
        });
    }
}

void ClearScheduleGroups(PageModel& c) {
    // Both groups off, showing no time until the section is read.
    for (int g = 1; g <= kScheduleGroupCount; ++g) {
        c[ScheduleCheckName(g)].checked = false;
        SetGroupOff(c, g);
    }
}

void LoadScheduleGroups(PageModel& c, const DeviceParams& params) {
    for (int g = 1; g <= kScheduleGroupCount; ++g) LoadGroup(c, params, g);
}

std::string EncodeScheduleGroup(const PageModel& c, int g) {
    std::string digits;
    const auto edits = TimeEdits(g);
    for (size_t i = 0; i < edits.size(); ++i) {
        const std::string text = Trim(c[edits[i]].text);
        // A blank time is none: the hour 24 or the minute 60 of an off group.
        digits +=
            text.empty() ? Slice(kNoScheduleTime, 2 * i + 1, 2 * i + 2) : ZeroPadLeft(text, 2);
    }
    digits += ToggleDigits(c, g, kScheduleDayCount, &DayToggleName) + "0";
    digits += ToggleDigits(c, g, kScheduleZoneCount, &ZoneToggleName);
    return digits;
}

void QueueScheduleWrite(CommandList& list, const PageModel& c, const DeviceParams& stored) {
    // Without the section as read there is nothing to compare with, and a
    // write would put times never shown over the host's own.
    for (int g = 1; g <= kScheduleGroupCount; ++g)
        for (const char* part : {"Time", "Week", "Wire", "Wireless"})
            if (stored.Get(Key(g, part)).empty()) return;
    std::string body;
    for (int g = 1; g <= kScheduleGroupCount; ++g) body += EncodeScheduleGroup(c, g);
    QueueSectionIfChanged(list, stored, kScheduleSection, body);
}

}  // namespace tarnwick

#include "programming/schedule_groups.h"

#include <algorithm>
#include <array>

#include "hosts/unreadable_value.h"
#include "programming/programming_layout.h"
#include "programming/section_writer.h"
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

// The toggles of one field of a group: `count` of them from digit 1 of `part`.
void AddToggles(FieldSet& fields, int g, const char* part, int count, int first,
                std::string (*name)(int, int)) {
    for (int i = 0; i < count; ++i)
        fields.Add(name(g, first + i), {.key = Key(g, part),
                                        .offset = static_cast<size_t>(i + 1),
                                        .width = 1,
                                        .coding = FieldCoding::Flag,
                                        .unreadable = Unreadable::StopLoading});
}

FieldSet DescribeScheduleFields() {
    FieldSet fields;
    for (int g = 1; g <= kScheduleGroupCount; ++g) {
        const auto edits = TimeEdits(g);
        for (size_t i = 0; i < edits.size(); ++i) {
            const bool hour = i % 2 == 0;
            // A time cut short by the reply shows blank, as one never set.
            fields.Add(edits[i],
                       {.key = Key(g, "Time"),
                        .offset = 2 * i + 1,
                        .width = 2,
                        .coding = FieldCoding::Digits,
                        .missing = "",
                        .whenEmpty = Slice(kNoScheduleTime, 2 * i + 1, 2 * i + 2),
                        .range = ValueRange{0, hour ? kMaxScheduleHour : kMaxScheduleMinute}});
        }
        AddToggles(fields, g, "Week", kScheduleDayCount, 1, &DayToggleName);
        AddToggles(fields, g, "Wire", 6, 1, &ZoneToggleName);
        AddToggles(fields, g, "Wireless", kScheduleZoneCount - 6, 7, &ZoneToggleName);
    }
    return fields;
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

// The check made when the operator leaves a time edit, by its field's
// range. A blank edit of a group that is off is no time, as shown.
void CheckTime(PageModel& c, OperatorPort& op, const std::string& name) {
    const std::string& text = c[name].text;
    if (Trim(text).empty() && !c[ScheduleCheckName(GroupOf(name))].checked) return;
    const std::string refusal = CheckRange(*ScheduleFields().Of(name)->range, text);
    if (refusal.empty()) return;
    op.ShowMessage(refusal);
    c.RequestFocus(name);
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
    const bool on = time != kNoScheduleTime;
    c[ScheduleCheckName(g)].checked = on;
    const std::string prefix = Key(g, "");
    for (const ProgrammingField& field : ScheduleFields().Fields()) {
        if (!field.key.starts_with(prefix)) continue;
        if (!on && field.coding == FieldCoding::Digits)
            c[field.control].text.clear();
        else
            LoadField(c, field, params);
    }
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

const FieldSet& ScheduleFields() {
    static const FieldSet fields = DescribeScheduleFields();
    return fields;
}

void StepScheduleTime(PageModel& c, const std::string& editName, int delta) {
    Control& edit = c[editName];
    const ValueRange& range = *ScheduleFields().Of(editName)->range;
    const int value = DecimalValue(Trim(edit.text)).value_or(range.min);
    edit.text = std::to_string(std::clamp(value + delta, range.min, range.max));
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
    // The digits no control writes (the week's last) come from a store
    // holding both groups off.
    DeviceParams off;
    for (int group = 1; group <= kScheduleGroupCount; ++group) {
        off.Set(Key(group, "Time"), kNoScheduleTime);
        off.Set(Key(group, "Week"), std::string(8, '0'));
        off.Set(Key(group, "Wire"), std::string(6, '0'));
        off.Set(Key(group, "Wireless"), std::string(6, '0'));
    }
    SectionWriter writer(c, ScheduleFields(), off);
    const size_t digits = ProgrammingSection(kScheduleSection).bodyDigits / kScheduleGroupCount;
    return writer.Body(kScheduleSection).substr(digits * static_cast<size_t>(g - 1), digits);
}

void QueueScheduleWrite(CommandList& list, const PageModel& c, const DeviceParams& stored) {
    // Without the section as read there is nothing to compare with, and a
    // write would put times never shown over the host's own.
    if (StoredSectionBody(stored, kScheduleSection).empty()) return;
    SectionWriter writer(c, ScheduleFields(), stored);
    writer.QueueIfChanged(list, kScheduleSection, writer.Body(kScheduleSection));
    writer.RefuseIfIncomplete();
}

}  // namespace tarnwick

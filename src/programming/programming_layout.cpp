#include "programming/programming_layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "protocol/conversion_error.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

using K = FieldKind;

constexpr SectionField kSection00[] = {
    {"Prog00", 1, 30, K::Section},
    {"Prog00_Installer", 1, 6, K::Digits, {}, kInstallerCodeSecret},
    {"Prog00_ArmingType1", 7, 2, K::Digits},
    {"Prog00_UserCode1", 9, 4, K::Digits, {}, kUserCodeSecret},
    {"Prog00_ArmingType2", 13, 2, K::Digits},
    {"Prog00_UserCode2", 15, 4, K::Digits, {}, kUserCodeSecret},
    {"Prog00_ArmingType3", 19, 2, K::Digits},
    {"Prog00_UserCode3", 21, 4, K::Digits, {}, kUserCodeSecret},
    {"Prog00_ArmingType4", 25, 2, K::Digits},
    {"Prog00_UserCode4", 27, 4, K::Digits, {}, kUserCodeSecret},
};

constexpr SectionField kSection01[] = {
    {"Prog01", 1, 72, K::Section},
    {"Prog01_AlarmCall1", 1, 18, K::PhoneNumber},
    {"Prog01_AlarmCall2", 19, 18, K::PhoneNumber},
    {"Prog01_AlarmCall3", 37, 18, K::PhoneNumber},
    {"Prog01_AlarmCall4", 55, 18, K::PhoneNumber},
};

constexpr SectionField kSection02[] = {
    {"Prog02", 1, 80, K::Section},
    {"Prog02_AlarmCall5", 1, 18, K::PhoneNumber},
    {"Prog02_AlarmCall6", 19, 18, K::PhoneNumber},
    {"Prog02_AlarmCall7", 37, 18, K::PhoneNumber},
    {"Prog02_AlarmCall8", 55, 18, K::PhoneNumber},
    {"Prog02_AlarmCallType", 73, 8, K::Digits},
};

constexpr SectionField kSection03[] = {
    {"Prog0301", 1, 22, K::Section},
    {"Prog03_UserAccount", 1, 6, K::Digits},
    {"Prog03_DileNum", 7, 2, K::Digits},
    {"Prog03_RingNum", 9, 2, K::Digits},
    {"Prog03_ArmingDelayTime", 11, 2, K::Digits},
    {"Prog03_WarnInDelayTime", 13, 2, K::Digits},
    {"Prog03_WarnOutputTime", 15, 2, K::Digits},
    {"Prog03_WarnBuzzerTime", 17, 2, K::Digits},
    {"Prog03_RelayOutputTime", 19, 2, K::Digits},
    {"Prog03_ProgOutputTime", 21, 2, K::Digits},
    {"Prog0302", 23, 44, K::Section},
    {"Prog03_RelayEvent", 23, 8, K::Digits},
    {"Prog03_SystemControl1", 31, 6, K::Digits},
    {"Prog03_SystemControl2", 37, 6, K::Digits},
    {"Prog03_EventReport1", 43, 6, K::Digits},
    {"Prog03_EventReport2", 49, 10, K::Digits},
    {"Prog03_AlarmEvent", 59, 8, K::Digits},
};

constexpr SectionField kSection04[] = {
    {"Prog04", 1, 48, K::Section},  {"Prog04_1", 1, 8, K::Digits},  {"Prog04_2", 9, 8, K::Digits},
    {"Prog04_3", 17, 8, K::Digits}, {"Prog04_4", 25, 8, K::Digits}, {"Prog04_5", 33, 8, K::Digits},
    {"Prog04_6", 41, 8, K::Digits},
};

constexpr SectionField kSection05[] = {
    {"Prog05", 1, 36, K::Section},  {"Prog05_1", 1, 6, K::Digits},  {"Prog05_2", 7, 6, K::Digits},
    {"Prog05_3", 13, 6, K::Digits}, {"Prog05_4", 19, 6, K::Digits}, {"Prog05_5", 25, 6, K::Digits},
    {"Prog05_6", 31, 6, K::Digits},
};

constexpr SectionField kSection06[] = {
    {"Prog06_1Time", 1, 8, K::Digits},  {"Prog06_1Week", 9, 8, K::LastDigitZero},
    {"Prog06_1Wire", 17, 6, K::Digits}, {"Prog06_1Wireless", 23, 6, K::Digits},
    {"Prog06_2Time", 29, 8, K::Digits}, {"Prog06_2Week", 37, 8, K::LastDigitZero},
    {"Prog06_2Wire", 45, 6, K::Digits}, {"Prog06_2Wireless", 51, 6, K::Digits},
};

constexpr SectionField kSection07[] = {
    {"Prog0701", 1, 44, K::Section},
    {"Prog07_InArmingToWireDefenceZone", 1, 6, K::Digits},
    {"Prog07_InArmingToWirelessDefenceZone", 7, 6, K::Digits},
    {"Prog07_WirelessAlarmAddress", 13, 8, K::Digits},
    {"Prog07_TestReportInterval", 21, 2, K::Digits},
    {"Prog07_WireCrossDefenceZone", 23, 8, K::LastDigitZero, kWireCrossCaption},
    {"Prog07_WirelessCrossDefenceZone", 31, 8, K::LastDigitZero, kWirelessCrossCaption},
    {"Prog07_RepeatInterval", 39, 2, K::Digits},
    {"Prog07_RepeatTimes", 41, 2, K::Digits},
    {"Prog07_SwitchDualNetwork", 43, 2, K::Digits, "双网切换"},
    {"Prog0702", 45, 14, K::Section},
    {"Prog07_NeighborDile", 45, 4, K::Digits},
    {"Prog07_DTMFTime", 49, 1, K::Digits},
    {"Prog07_DTMFInterval", 50, 1, K::Digits},
    {"Prog07_ProgOutputEvent", 51, 8, K::Digits},
};

const std::array<SectionLayout, kProgrammingSectionCount> kLayouts = {{
    {0, 30, kSection00},
    {1, 72, kSection01},
    {2, 80, kSection02},
    {3, 66, kSection03},
    {4, 48, kSection04},
    {5, 36, kSection05},
    {6, 56, kSection06},
    {7, 58, kSection07},
}};

bool IsDecimal(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

const SectionLayout& ProgrammingSection(int section) {
    if (section < 0 || section >= kProgrammingSectionCount)
        throw std::out_of_range("no programming section " + std::to_string(section));
    return kLayouts[static_cast<size_t>(section)];
}

FieldLocation LocateField(std::string_view key) {
    for (const SectionLayout& layout : kLayouts)
        for (const SectionField& f : layout.entries)
            if (f.kind != FieldKind::Section && f.key == key) return {layout.section, &f};
    throw std::invalid_argument("no programming section holds " + std::string(key));
}

std::string SectionCode(int section) {
    return ByteHex(static_cast<unsigned>(section));
}

std::string StoredSectionBody(const DeviceParams& params, int section) {
    const SectionLayout& layout = ProgrammingSection(section);
    bool hasWhole = std::any_of(layout.entries.begin(), layout.entries.end(),
                                [](const SectionField& f) { return f.kind == FieldKind::Section; });
    std::string out;
    for (const SectionField& f : layout.entries)
        if ((f.kind == FieldKind::Section) == hasWhole) out += params.Get(std::string(f.key));
    return out;
}

std::string AssembleSectionBody(int section,
                                const std::function<std::string(const SectionField&)>& digits) {
    std::string body;
    for (const SectionField& f : ProgrammingSection(section).entries) {
        if (f.kind == FieldKind::Section) continue;
        std::string part = digits(f);
        if (part.size() != f.width)
            throw ConversionError(std::string(f.key) + " must be " + std::to_string(f.width) +
                                  " digits, not " + std::to_string(part.size()));
        body += part;
    }
    return body;
}

std::string EncodePhoneNumber(std::string_view number) {
    std::string out(number);
    if (out.size() < kPhoneFieldDigits) out += 'E';
    if (out.size() < kPhoneFieldDigits) out.append(kPhoneFieldDigits - out.size(), '0');
    return out;
}

std::string DecodePhoneNumber(std::string_view field) {
    size_t end = field.find('E');
    if (end != std::string_view::npos) return std::string(field.substr(0, end));
    // Only a complete field of digits is a number; a field cut short by a
    // short reply must not show as a shorter number.
    if (field.size() == kPhoneFieldDigits && std::all_of(field.begin(), field.end(), IsDecimal))
        return std::string(field);
    return {};
}

}  // namespace tarnwick

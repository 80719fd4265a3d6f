#include "modules/gprs_fields.h"

#include <algorithm>
#include <stdexcept>

#include "modules/field_checks.h"
#include "modules/gprs_decoder.h"
#include "modules/module_writes.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr size_t kPhoneFieldDigits = 22;
constexpr size_t kApnBytes = 15;
constexpr size_t kUserNameBytes = 15;
constexpr size_t kPasswordBytes = 18;
constexpr size_t kSmsPasswordBytes = 6;

using L = GprsLoad;
using V = GprsValue;
using S = GprsSend;

// The module's identity, centres and access data, and the passwords.
std::vector<GprsField> DescribeEdits() {
    std::vector<GprsField> f = {
        {.control = "edtGprsDeviceID", .key = "GprsDeviceID", .padTo = kDeviceIdDigits},
        {.control = "edtGprsHeartbeatInterval",
         .key = "GprsHeartbeatInterval",
         .range = kHeartbeatRange},
        {.control = "edtGprsDomainName1", .key = "GprsDomainName1"},
        {.control = "edtGprsIP1", .key = "GprsIP1", .value = V::Address},
        {.control = "edtGprsPort1", .key = "GprsPort1", .value = V::Port},
        {.control = "edtGprsDomainName2", .key = "GprsDomainName2"},
        {.control = "edtGprsIP2", .key = "GprsIP2", .value = V::Address},
        {.control = "edtGprsPort2", .key = "GprsPort2", .value = V::Port},
        // Compared as typed, sent trimmed.
        {.control = "edtManagePhone",
         .key = "GprsManagePhone",
         .value = V::AsTyped,
         .send = S::TrimmedPhone},
        {.control = "edtSMSPhone", .key = "GprsSMSPhone", .send = S::Phone},
        {.control = "edtGprsAPN1",
         .key = "GprsAPN1",
         .value = V::AsTyped,
         .send = S::TextField,
         .bytes = kApnBytes},
        {.control = "edtUserName",
         .load = L::Kept,
         .value = V::AsTyped,
         .send = S::TextField,
         .bytes = kUserNameBytes},
        {.control = "edtPassword",
         .load = L::Kept,
         .value = V::AsTyped,
         .send = S::TextField,
         .bytes = kPasswordBytes,
         .secret = true},
    };
    for (const char* sms : {"edtOldPassword", "edtNewPassword"})
        f.push_back({.control = sms,
                     .load = L::Cleared,
                     .send = S::TextField,
                     .bytes = kSmsPasswordBytes,
                     .secret = true});
    return f;
}

// The server list, the phone numbers and the SMS switches.
void DescribeListsAndPhones(std::vector<GprsField>& f) {
    f.push_back({.control = "memGprsDomainRPIP",
                 .key = "GprsDomainRPIP",
                 .load = L::Lines,
                 .value = V::Lines});
    f.push_back({.control = "cbSMSPhoneStatus",
                 .key = "GprsSMSPhoneStatus",
                 .load = L::Index,
                 .value = V::HexIndex});
    for (int i = 1; i <= kGprsProgPhones; ++i)
        f.push_back({.control = Numbered("edtProgPhone", i),
                     .key = Numbered("GprsProgPhone", i),
                     .send = S::Phone});
    for (int i = 1; i <= kGprsAlarmPhones; ++i) {
        // Sent as they stand, not trimmed.
        f.push_back({.control = Numbered("edtAlarmPhone", i),
                     .key = Numbered("GprsAlarmPhone", i),
                     .load = L::TextIfAny,
                     .value = V::AsTyped,
                     .send = S::Phone});
        f.push_back({.control = Numbered("cbAlarmPhoneStatus", i),
                     .key = "GprsAlarmPhoneStatus",
                     .load = L::StatusDigit,
                     .value = V::PhoneStatus,
                     .digit = i});
    }
    f.push_back(
        {.control = "chkGprsBootSMS", .key = "GprsBootSMS", .load = L::Switch, .value = V::Switch});
    f.push_back(
        {.control = "cbGprsInfoSMS", .key = "GprsInfoSMS", .load = L::Index, .value = V::Index});
    f.push_back({.control = "chkGprsReportSMS",
                 .key = "GprsReportSMS",
                 .load = L::Switch,
                 .value = V::Switch});
}

std::vector<std::string> Names(const char* base, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(Numbered(base, i));
    return names;
}

std::string PhoneGroupPair(std::string_view group) {
    return std::string(kGprsSetPhoneGroupPair) + std::string(group);
}

std::string PhoneGroupLead(std::string_view group) {
    return std::string(kGprsPhoneGroupWriteMark) + std::string(group);
}

using C = GprsCompare;

// The settings, one exchange each (the centres two addresses in one).
std::vector<GprsWrite> DescribeSettingWrites() {
    return {
        {.pair = std::string(kGprsSetDeviceIdPair),
         .fields = {"edtGprsDeviceID"},
         .data = [](const auto& v) { return DeviceIdData(v[0]); }},
        {.pair = std::string(kGprsSetDomainName1Pair),
         .fields = {"edtGprsDomainName1"},
         .data = [](const auto& v) { return DomainNameData(v[0]); }},
        {.pair = std::string(kGprsSetDomainName2Pair),
         .fields = {"edtGprsDomainName2"},
         .data = [](const auto& v) { return DomainNameData(v[0]); }},
        {.pair = std::string(kGprsSetCentreIpPair),
         .fields = {"edtGprsIP1", "edtGprsPort1", "edtGprsIP2", "edtGprsPort2"},
         .needsRead = true,
         .data = [](const auto& v) { return CentreAddressData(v[0], v[1], v[2], v[3]); }},
        {.pair = std::string(kGprsSetHeartbeatPair),
         .fields = {"edtGprsHeartbeatInterval"},
         .data = [](const auto& v) { return HeartbeatData(v[0]); }},
        {.pair = std::string(kGprsSetDnsPair),
         .fields = {"memGprsDomainRPIP"},
         .data = [](const auto& v) { return DnsServerListData(v[0]); }},
        {.pair = std::string(kGprsSetSmsAlarmPair), .fields = {"cbGprsInfoSMS"}, .needsRead = true},
        // The user name and password have no stored value: they go with a
        // changed APN, and a change of them alone sends nothing.
        {.pair = std::string(kGprsSetNetworkPair),
         .fields = {"edtGprsAPN1", "edtUserName", "edtPassword"}},
        {.pair = std::string(kGprsSetSmsPasswordPair),
         .fields = {"edtOldPassword", "edtNewPassword"},
         .compare = C::WhenFilled},
        {.pair = std::string(kGprsSetBootSmsPair),
         .fields = {"chkGprsBootSMS"},
         .compare = C::ValuesIfRead},
        {.pair = std::string(kGprsSetReportSmsPair),
         .fields = {"chkGprsReportSMS"},
         .compare = C::ValuesIfRead},
    };
}

// The four phone number groups, the last three compared as encoded.
std::vector<GprsWrite> DescribePhoneWrites() {
    std::vector<std::string> alarm = Names("edtAlarmPhone", kGprsAlarmPhones);
    for (const std::string& status : Names("cbAlarmPhoneStatus", kGprsAlarmPhones))
        alarm.push_back(status);
    return {
        {.pair = PhoneGroupPair(kGprsManagePhoneGroup),
         .fields = {"edtManagePhone"},
         .lead = PhoneGroupLead(kGprsManagePhoneGroup)},
        {.pair = PhoneGroupPair(kGprsProgPhoneGroup),
         .fields = Names("edtProgPhone", kGprsProgPhones),
         .compare = C::Data,
         .lead = PhoneGroupLead(kGprsProgPhoneGroup),
         .rawKey = "GprsProgPhone",
         .needsRead = true},
        {.pair = PhoneGroupPair(kGprsAlarmPhoneGroup),
         .fields = alarm,
         .compare = C::Data,
         .lead = PhoneGroupLead(kGprsAlarmPhoneGroup),
         .rawKey = "GprsAlarmPhone",
         .needsRead = true},
        {.pair = PhoneGroupPair(kGprsSmsPhoneGroup),
         .fields = {"edtSMSPhone", "cbSMSPhoneStatus"},
         .compare = C::Data,
         .lead = PhoneGroupLead(kGprsSmsPhoneGroup),
         .rawKey = "GprsSMSPhone_",
         .needsRead = true},
    };
}

}  // namespace

const std::vector<GprsField>& GprsFields() {
    static const std::vector<GprsField> fields = [] {
        std::vector<GprsField> f = DescribeEdits();
        DescribeListsAndPhones(f);
        return f;
    }();
    return fields;
}

const GprsField& GprsFieldOf(const std::string& control) {
    const auto& fields = GprsFields();
    const auto found = std::find_if(fields.begin(), fields.end(),
                                    [&](const GprsField& f) { return f.control == control; });
    if (found == fields.end()) throw std::logic_error("no GPRS field " + control);
    return *found;
}

const std::vector<GprsWrite>& GprsWrites() {
    static const std::vector<GprsWrite> writes = [] {
        std::vector<GprsWrite> w = DescribeSettingWrites();
        for (GprsWrite& phone : DescribePhoneWrites()) w.push_back(std::move(phone));
        return w;
    }();
    return writes;
}

std::string EncodeGprsPhoneNumber(std::string_view digits) {
    std::string field(digits);
    if (field.size() <= kGprsPhoneDigits) field += "E";
    if (field.size() < kPhoneFieldDigits) field.append(kPhoneFieldDigits - field.size(), '0');
    return field;
}

std::vector<std::string> ServerListLines(const std::string& joined) {
    std::vector<std::string> lines;
    for (size_t from = 0; from < joined.size();) {
        size_t colon = joined.find(':', from);
        if (colon == std::string::npos) colon = joined.size();
        if (colon > from) lines.push_back(joined.substr(from, colon - from));
        from = colon + 1;
    }
    return lines;
}

std::string DnsServerListData(const std::string& joined) {
    std::string entries;
    const std::vector<std::string> lines = ServerListLines(joined);
    for (const std::string& address : lines)
        entries += "02" + TextToHexField(address, kModuleAddressBytes) +
                   std::string(2 * kModulePortBytes, '0');
    return "00" + ByteHex(static_cast<unsigned>(lines.size())) + entries;
}

}  // namespace tarnwick

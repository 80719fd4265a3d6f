// The save of the GPRS page, built from the field and write descriptions.
#include <algorithm>

#include "hosts/save_refused.h"
#include "modules/field_checks.h"
#include "modules/gprs_decoder.h"
#include "modules/gprs_page.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr std::string_view kBadPhoneText = "：输入的号码有误，请重新输入！";
constexpr const char* kUnreadGroupText =
    "以下各项没有读到模块的设置，只改了其中一部分会把其余的清空。请填写本组全部内容后再保存，"
    "或刷新页面：";

}  // namespace

std::string GprsPage::Value(const GprsField& field) const {
    const Control& c = Controls()[field.control];
    switch (field.value) {
        case GprsValue::AsTyped:
            return c.text;
        case GprsValue::Trimmed:
            return Trim(c.text);
        case GprsValue::Address:
            return AddressAsSent(c.text);
        case GprsValue::Port:
            return PortAsSent(c.text);
        case GprsValue::Lines: {
            std::string joined;
            for (const std::string& line : c.lines)
                if (const std::string address = Trim(line); !address.empty())
                    joined += address + ":";
            return joined;
        }
        case GprsValue::Index:
            return ZeroPadLeft(std::to_string(std::max(c.index, 0)), 2);
        case GprsValue::HexIndex:
            return ByteHex(static_cast<unsigned>(std::max(c.index, 0)));
        case GprsValue::Switch:
            return c.checked ? "01" : "00";
        case GprsValue::PhoneStatus:
            return c.index == kPhoneStatusSms ? "3" : "0";
    }
    return {};
}

std::string GprsPage::Sent(const GprsField& field) const {
    const std::string value = Value(field);
    return field.padTo ? ZeroPadLeft(value, field.padTo) : value;
}

// The text a phone field's number is taken from, as it goes out.
std::string GprsPage::PhoneDigits(const GprsField& field) const {
    const std::string& text = Controls()[field.control].text;
    return field.send == GprsSend::TrimmedPhone ? Trim(text) : Value(field);
}

std::string GprsPage::Encode(const GprsField& field) const {
    switch (field.send) {
        case GprsSend::Value:
            return Sent(field);
        case GprsSend::TextField:
            return TextToHexField(Sent(field), field.bytes);
        case GprsSend::Phone:
        case GprsSend::TrimmedPhone:
            return EncodeGprsPhoneNumber(PhoneDigits(field));
    }
    return {};
}

GprsPage::WriteData GprsPage::Data(const GprsWrite& write) const {
    WriteData out{write.lead, {}};
    if (write.data) {
        std::vector<std::string> values;
        for (const std::string& name : write.fields) values.push_back(Sent(GprsFieldOf(name)));
        out.data += write.data(values);
        return out;
    }
    for (const std::string& name : write.fields) {
        const GprsField& field = GprsFieldOf(name);
        const std::string digits = Encode(field);
        if (field.secret) out.secret.push_back({out.data.size(), digits.size()});
        out.data += digits;
    }
    return out;
}

bool GprsPage::Differs(const GprsWrite& write, const DeviceParams& stored) const {
    switch (write.compare) {
        case GprsCompare::Data:
            return Data(write).data.substr(write.lead.size()) != stored.Get(write.rawKey);
        case GprsCompare::WhenFilled:
            return std::all_of(write.fields.begin(), write.fields.end(),
                               [this](const auto& n) { return !Trim(Controls()[n].text).empty(); });
        case GprsCompare::Values:
        case GprsCompare::ValuesIfRead:
            break;
    }
    return std::any_of(write.fields.begin(), write.fields.end(), [&](const std::string& name) {
        const GprsField& field = GprsFieldOf(name);
        if (field.key.empty()) return false;
        std::string old = stored.Get(field.key);
        if (old.empty() && write.compare == GprsCompare::ValuesIfRead) return false;
        if (field.value == GprsValue::Address) old = AddressAsSent(old);
        if (field.value == GprsValue::Port) old = PortAsSent(old);
        return Value(field) != old;
    });
}

bool GprsPage::Filled(const std::string& control) const {
    const Control& c = Controls()[control];
    switch (c.kind) {
        case ControlKind::ComboBox:
            return c.index >= 0;
        case ControlKind::Edit:
            return !Trim(c.text).empty();
        default:
            return true;
    }
}

// The keys a write's query stores: its raw data, else its fields'.
std::vector<std::string> GprsPage::ReadKeys(const GprsWrite& write) {
    if (!write.rawKey.empty()) return {write.rawKey};
    std::vector<std::string> keys;
    for (const std::string& name : write.fields) keys.push_back(GprsFieldOf(name).key);
    return keys;
}

GprsPage::GroupWrite GprsPage::Judge(const DeviceParams& stored, const GprsWrite& write) const {
    if (!write.needsRead) return GroupWrite::Compare;
    for (const std::string& key : ReadKeys(write))
        if (!stored.Has(key)) {
            // Its query failed: the page holds nothing the module has.
            bool touched = false;
            bool filled = true;
            for (const std::string& name : write.fields) {
                touched = touched || touched_.count(name) != 0;
                filled = filled && Filled(name);
            }
            if (!touched) return GroupWrite::Skip;
            return filled ? GroupWrite::Compare : GroupWrite::Refuse;
        }
    return GroupWrite::Compare;
}

std::string GprsPage::FieldName(const std::string& control) const {
    // A phone's status list belongs to its number's row.
    const std::string status = "PhoneStatus";
    if (const size_t at = control.find(status);
        control.rfind("cb", 0) == 0 && at != std::string::npos)
        return FieldName("edt" + control.substr(2, at - 2) + "Phone" +
                         control.substr(at + status.size()));
    // A port is named by its hint, beside its centre's address.
    const Control& c = Controls()[control];
    return c.hint.empty() ? SpokenCaption(c.caption) : c.hint;
}

std::set<std::string> GprsPage::JudgeGroups(const DeviceParams& stored) const {
    std::set<std::string> skipped;  // by pair
    std::string refused;
    for (const GprsWrite& write : GprsWrites()) {
        const GroupWrite judged = Judge(stored, write);
        if (judged != GroupWrite::Compare) skipped.insert(write.pair);
        if (judged != GroupWrite::Refuse) continue;
        std::vector<std::string> names;
        for (const std::string& control : write.fields) {
            const std::string name = FieldName(control);
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        refused += "\r\n";
        for (size_t i = 0; i < names.size(); ++i) refused += (i ? "、" : "") + names[i];
    }
    if (!refused.empty()) throw SaveRefused(std::string(kUnreadGroupText) + refused);
    return skipped;
}

void GprsPage::RefuseUnsendable(const DeviceParams& stored) const {
    for (const GprsField& field : GprsFields()) {
        // A changed number outside its range cannot be sent.
        if (field.range && Value(field) != stored.Get(field.key))
            if (const std::string problem = CheckRange(*field.range, Value(field));
                !problem.empty())
                throw SaveRefused(problem);
        // Phone digits travel as hex digits: anything else would break the frame.
        const bool phone = field.send == GprsSend::Phone || field.send == GprsSend::TrimmedPhone;
        if (phone && PhoneDigits(field).find_first_not_of("0123456789") != std::string::npos)
            throw SaveRefused(FieldName(field.control) + std::string(kBadPhoneText));
    }
}

CommandList GprsPage::SaveList(const DeviceParams& stored) {
    PageModel& c = Controls();
    RefuseUnsendable(stored);
    // Decided before any control is filled in below.
    const std::set<std::string> skipped = JudgeGroups(stored);
    // Empty centre addresses and ports show as they go out.
    for (const GprsField& field : GprsFields())
        if (field.value == GprsValue::Address || field.value == GprsValue::Port)
            c[field.control].text = Value(field);
    CommandList list;
    for (const GprsWrite& write : GprsWrites()) {
        if (skipped.count(write.pair) || !Differs(write, stored)) continue;
        // The edit shows what is sent (the device ID padded to six digits).
        for (const std::string& name : write.fields)
            if (const GprsField& field = GprsFieldOf(name); field.padTo) c[name].text = Sent(field);
        const WriteData data = Data(write);
        list.push_back(Request(write.pair, data.data, data.secret));
    }
    return list;
}

std::string GprsPage::EncodePhoneGroup(int group) const {
    const std::string pair =
        std::string(kGprsSetPhoneGroupPair) + ByteHex(static_cast<unsigned>(group));
    for (const GprsWrite& write : GprsWrites())
        if (write.pair == pair) return Data(write).data.substr(write.lead.size());
    return {};
}

std::string GprsPage::EncodeDnsServerList() const {
    return DnsServerListData(JoinDnsServerList());
}

std::string GprsPage::JoinDnsServerList() const {
    return Value(GprsFieldOf("memGprsDomainRPIP"));
}

std::string GprsPage::EncodeApnSettings() const {
    for (const GprsWrite& write : GprsWrites())
        if (write.pair == kGprsSetNetworkPair) return Data(write).data;
    return {};
}

}  // namespace tarnwick

#pragma once
#include <optional>
#include <string>
#include <vector>

#include "hosts/page_model.h"
#include "modules/field_checks.h"
#include "programming/programming_field.h"

namespace tarnwick {

// The settings of the GPRS page, each described once: its control, the key
// the module's query stores it under, how a refresh shows it, what a save
// compares and sends, and its checks. Loading, the writes, their comparison
// and the names in a refusal all come from these descriptions.

// How a refresh shows what the module's query stored.
enum class GprsLoad {
    Kept,         // no reply carries it: a refresh leaves it as typed
    Cleared,      // no reply carries it: a refresh clears it
    Text,         // the stored text
    TextIfAny,    // the stored text, unless there is none
    Lines,        // one line per piece ended by ":", empty pieces left out
    Index,        // two decimal digits select that entry; anything else none
    Switch,       // checked exactly when "01"
    StatusDigit,  // digit `digit` of the key: "0" 禁用, "3" 短信, another leaves it
};

// The control's value as a save compares it with what was stored and sends it.
enum class GprsValue {
    AsTyped,      // the text as it stands
    Trimmed,      // the text without blanks around it
    Address,      // trimmed, an empty one "0.0.0.0" (the stored value compared so too)
    Port,         // trimmed, an empty one "0" (likewise)
    Lines,        // the trimmed non-empty lines, each followed by ":"
    Index,        // the entry as two decimal digits; none as "00"
    HexIndex,     // the entry as two hex digits; none as "00"
    Switch,       // "01" checked, "00" not
    PhoneStatus,  // "3" for 短信, "0" otherwise
};

// How the value goes into the data of a write made of several fields.
enum class GprsSend {
    Value,         // as it is
    TextField,     // a text field of `bytes` bytes
    Phone,         // a 22-digit phone number field; only digits can be sent
    TrimmedPhone,  // the same of the trimmed text (the value compares the text as typed)
};

struct GprsField {
    std::string control;
    std::string key{};  // empty: no reply carries it
    GprsLoad load = GprsLoad::Text;
    GprsValue value = GprsValue::Trimmed;
    GprsSend send = GprsSend::Value;
    size_t bytes = 0;
    // The value is sent left-filled with "0" to this many digits, which the
    // edit then shows (the device ID); 0 for none.
    size_t padTo = 0;
    // The numbers the edit takes: checked when the operator leaves it, and a
    // changed value outside them refuses the save.
    std::optional<ValueRange> range{};
    int digit = 0;  // StatusDigit: which digit of the key, from 1
    // A password: typed for a write, never loaded, never shown in a
    // comparison, never kept in clear in a log row.
    bool secret = false;
};

// How a write decides that it must go.
enum class GprsCompare {
    Values,        // a field's value differs from what its key stored
    ValuesIfRead,  // the same, but only against a stored value (the SMS switches)
    Data,          // the data after the lead differs from the raw hex of `rawKey`
    WhenFilled,    // every field holds text (the SMS programming password)
};

// One exchange of the page's save, in the order the save sends them.
struct GprsWrite {
    std::string pair;                 // the command pair label
    std::vector<std::string> fields;  // the controls whose values it sends, in data order
    GprsCompare compare = GprsCompare::Values;
    std::string lead{};    // the data before the fields
    std::string rawKey{};  // Data: the raw hex the query stored
    // A setting whose query got no valid reply holds nothing the module has:
    // untouched it is not written; touched, only when every field is filled.
    bool needsRead = false;
    // The data from the values sent, where it is no plain run of the
    // fields' encodings after the lead.
    std::string (*data)(const std::vector<std::string>& values) = nullptr;
};

inline constexpr int kGprsProgPhones = 3;
inline constexpr int kGprsAlarmPhones = 8;
inline constexpr size_t kGprsPhoneDigits = 20;
inline constexpr int kPhoneStatusSms = 1;

const std::vector<GprsField>& GprsFields();
const GprsField& GprsFieldOf(const std::string& control);
const std::vector<GprsWrite>& GprsWrites();

// A 22-digit phone number field: the digits, "E" when they leave room for it,
// then "0" fill.
std::string EncodeGprsPhoneNumber(std::string_view digits);
// The pieces of a stored server list ("a:b:"), empty pieces left out.
std::vector<std::string> ServerListLines(const std::string& joined);
// The name server list data of the addresses in `joined` ("a:b:").
std::string DnsServerListData(const std::string& joined);

}  // namespace tarnwick

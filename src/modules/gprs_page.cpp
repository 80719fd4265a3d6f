#include "modules/gprs_page.h"

#include <algorithm>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "hosts/save_refused.h"
#include "modules/field_checks.h"
#include "modules/gprs_decoder.h"
#include "modules/module_writes.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {
namespace {

constexpr int kProgPhones = 3;
constexpr int kAlarmPhones = 8;
constexpr size_t kPhoneDigits = 20;
constexpr size_t kPhoneFieldDigits = 22;
constexpr size_t kAddressBytes = 15;
constexpr size_t kPortBytes = 5;
constexpr size_t kApnBytes = 15;
constexpr size_t kUserNameBytes = 15;
constexpr size_t kPasswordBytes = 18;
constexpr size_t kSmsPasswordBytes = 6;

const std::vector<std::string> kPhoneStatusItems = {"禁用", "短信"};
constexpr int kPhoneStatusSms = 1;
const std::vector<std::string> kInfoSmsItems = {"关闭短信报警",
                                                "开启短信报警，仅当GPRS不在线时，进行短信报警",
                                                "开启短信提示，GPRS和短信同时进行报警"};
constexpr int kInfoSmsDesignIndex = 1;

constexpr std::string_view kBadPhoneText = "：输入的号码有误，请重新输入！";
constexpr const char* kUnreadGroupText =
    "以下各项没有读到模块的设置，只改了其中一部分会把其余的清空。请填写本组全部内容后再保存，"
    "或刷新页面：";

constexpr const char* kFactoryResetQuestion =
    "该操作会将当前的GPRS信息恢复出厂默认值，请确认是否继续。";
constexpr const char* kRestartQuestion = "该操作会重新启动GPRS模块，请确认是否继续。";

// Captioned edits: name, caption, limit, key filter.
struct EditSpec {
    const char* name;
    const char* caption;
    size_t limit;
    KeyFilter filter;
};
constexpr EditSpec kEdits[] = {
    {"edtGprsDeviceID", "设备ID号：", 6, KeyFilter::Digits},
    {"edtGprsHeartbeatInterval", "心跳间隔时间：", 5, KeyFilter::Digits},
    {"edtGprsDomainName1", "第一中心域名：", 50, KeyFilter::None},
    {"edtGprsIP1", "第一中心IP：", 15, KeyFilter::Address},
    {"edtGprsPort1", "", 5, KeyFilter::Digits},
    {"edtGprsDomainName2", "第二中心域名：", 50, KeyFilter::None},
    {"edtGprsIP2", "第二中心IP：", 15, KeyFilter::Address},
    {"edtGprsPort2", "", 5, KeyFilter::Digits},
    {"edtManagePhone", "监管电话号码：", kPhoneDigits, KeyFilter::Digits},
    {"edtSMSPhone", "短信中心号码：", kPhoneDigits, KeyFilter::Digits},
    {"edtGprsAPN1", "APN无线接入点名称：", 15, KeyFilter::None},
    {"edtUserName", "用户名：", 15, KeyFilter::None},
    {"edtPassword", "密码：", 18, KeyFilter::None},
    {"edtOldPassword", "旧编程密码：", 6, KeyFilter::None},
    {"edtNewPassword", "新编程密码：", 6, KeyFilter::None},
};

// base1 … baseN of every base.
std::vector<std::string> IndexedNames(std::initializer_list<const char*> bases, int count) {
    std::vector<std::string> names;
    for (const char* base : bases)
        for (int i = 1; i <= count; ++i) names.push_back(Numbered(base, i));
    return names;
}

// Two decimal digits as a list index; -1 for anything else.
int DecimalIndex(const std::string& digits, size_t count) {
    if (digits.empty() || digits.size() > 2) return -1;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return static_cast<size_t>(value) < count ? value : -1;
}

}  // namespace

std::string EncodeGprsPhoneNumber(std::string_view digits) {
    std::string field(digits);
    if (field.size() <= kPhoneDigits) field += "E";
    if (field.size() < kPhoneFieldDigits) field.append(kPhoneFieldDigits - field.size(), '0');
    return field;
}

GprsPage::GprsPage(HostWindow& window) : window_(window) {
    Declare();
    BindChecks();
}

const std::vector<GprsGroup>& GprsPage::Groups() {
    static const std::vector<GprsGroup> groups = {{"gbGprsModuleInfo", "模块信息"},
                                                  {"gbGprsPhones", "电话号码组"},
                                                  {"gbGprsSms", "短信设置"},
                                                  {"gbGprsAPN", "APN"},
                                                  {"gbGprsProgPassword", "编程密码"}};
    return groups;
}

void GprsPage::Declare() {
    PageModel& c = Controls();
    for (const EditSpec& e : kEdits) {
        c.Edit(e.name, e.limit, e.filter);
        c[e.name].caption = e.caption;
    }
    // A port has no label of its own: its hint names it beside its centre.
    for (const char* centre : {"1", "2"}) {
        Control& port = c[std::string("edtGprsPort") + centre];
        port.hint = std::string("端口号") + centre;
        port.caption =
            SpokenCaption(c[std::string("edtGprsIP") + centre].caption) + " " + port.hint;
    }
    for (const char* secret : {"edtPassword", "edtOldPassword", "edtNewPassword"})
        c[secret].password = true;
    // No reply carries them: a refresh leaves them as typed.
    for (const char* kept : {"edtUserName", "edtPassword"}) c[kept].survivesRefresh = true;
    Control& servers = c.Add("memGprsDomainRPIP", ControlKind::Memo);
    servers.filter = KeyFilter::Address;
    c["memGprsDomainRPIP"].caption = "域名解析服务器IP地址：";

    c.Combo("cbSMSPhoneStatus", kPhoneStatusItems).index = 0;
    c["cbSMSPhoneStatus"].caption = "短信中心号码 状态";
    for (int i = 1; i <= kProgPhones; ++i) {
        const std::string edit = Numbered("edtProgPhone", i);
        c.Edit(edit, kPhoneDigits, KeyFilter::Digits);
        c[edit].caption = "编程电话号码" + std::to_string(i) + "：";
    }
    for (int i = 1; i <= kAlarmPhones; ++i) {
        const std::string caption = "报警电话号码" + std::to_string(i) + "：";
        c.Edit(Numbered("edtAlarmPhone", i), kPhoneDigits, KeyFilter::Digits);
        c.Combo(Numbered("cbAlarmPhoneStatus", i), kPhoneStatusItems).index =
            i == 1 ? kPhoneStatusSms : 0;
        c[Numbered("edtAlarmPhone", i)].caption = caption;
        c[Numbered("cbAlarmPhoneStatus", i)].caption = SpokenCaption(caption) + " 状态";
    }
    c.Check("chkGprsBootSMS", "开机短信开关");
    c.Combo("cbGprsInfoSMS", kInfoSmsItems).index = kInfoSmsDesignIndex;
    c["cbGprsInfoSMS"].caption = "短 信 开 关：";
    c.Check("chkGprsReportSMS", "短信报告开关");
    c.Button("bbtnRebootGPRS", "重新启动", "GPRS模块重新启动");
    c.Button("bbtnDefaultSetGPRS", "恢复出厂默认", "GPRS模块恢复出厂默认");

    // Every operator change counts until the next load.
    for (const auto& control : c.Controls())
        if (control->kind != ControlKind::Button)
            c.OnChange(control->name, [this, name = control->name] { touched_.insert(name); });
    c.OnClick("bbtnRebootGPRS", [this] { DefaultSetClick("bbtnRebootGPRS"); });
    c.OnClick("bbtnDefaultSetGPRS", [this] { DefaultSetClick("bbtnDefaultSetGPRS"); });
}

void GprsPage::BindChecks() {
    PageModel& c = Controls();
    OperatorPort& op = window_.tdm.op;
    c.OnExit("edtGprsHeartbeatInterval", [&c, &op] {
        const std::string problem = CheckHeartbeat(c["edtGprsHeartbeatInterval"].text);
        if (problem.empty()) return;
        op.Warning(problem);
        c.RequestFocus("edtGprsHeartbeatInterval");
    });
    for (const char* ip : {"edtGprsIP1", "edtGprsIP2"})
        c.OnExit(ip, [&c, &op, ip] {
            const std::string problem = CheckAddress(c[ip].text);
            if (!problem.empty()) op.Warning(problem);
        });
    for (const char* port : {"edtGprsPort1", "edtGprsPort2"})
        c.OnExit(port, [&c, port] { EmptyPortToZero(c[port].text); });
    c.OnExit("memGprsDomainRPIP", [&c, &op] {
        const std::string problem = CheckServerList(c["memGprsDomainRPIP"].lines);
        if (!problem.empty()) op.Warning(problem);
    });
}

const std::string& GprsPage::CaptionOf(const std::string& control) const {
    return Controls()[control].caption;
}

void GprsPage::Prepare() {
    PageModel& c = Controls();
    for (const EditSpec& e : kEdits) {
        const std::string name = e.name;
        if (name != "edtUserName" && name != "edtPassword") c[name].text.clear();
    }
    c["memGprsDomainRPIP"].lines.clear();
    for (int i = 1; i <= kProgPhones; ++i) c.At("edtProgPhone", i).text.clear();
    for (int i = 1; i <= kAlarmPhones; ++i) {
        c.At("edtAlarmPhone", i).text.clear();
        c.At("cbAlarmPhoneStatus", i).index = -1;
    }
    c["chkGprsBootSMS"].checked = false;
    c["chkGprsReportSMS"].checked = false;
    c["cbGprsInfoSMS"].index = -1;
    c["cbSMSPhoneStatus"].index = -1;
    touched_.clear();
}

CommandList GprsPage::ReadList() {
    struct Read {
        std::string_view pair;
        std::string_view data;
    };
    const Read reads[] = {
        {kGprsQueryParams1Pair, ""},
        {kGprsQueryParams2Pair, ""},
        {kGprsQueryHeartbeatPair, ""},
        {kGprsQueryManagePhonePair, kGprsManagePhoneGroup},
        {kGprsQueryProgPhonePair, kGprsProgPhoneGroup},
        {kGprsQueryAlarmPhonePair, kGprsAlarmPhoneGroup},
        {kGprsQuerySmsPhonePair, kGprsSmsPhoneGroup},
        {kGprsQueryDnsPair, ""},
        {kGprsQueryInfoSmsPair, ""},
        {kGprsQueryBootSmsPair, ""},
        {kGprsQueryReportSmsPair, ""},
    };
    CommandList list;
    for (const Read& r : reads) list.push_back(Request(r.pair, r.data));
    return list;
}

void GprsPage::Load(const DeviceParams& stored) {
    PageModel& c = Controls();
    struct Shown {
        const char* control;
        const char* key;
    };
    constexpr Shown kTexts[] = {{"edtGprsDeviceID", "GprsDeviceID"},
                                {"edtGprsDomainName1", "GprsDomainName1"},
                                {"edtGprsIP1", "GprsIP1"},
                                {"edtGprsPort1", "GprsPort1"},
                                {"edtGprsDomainName2", "GprsDomainName2"},
                                {"edtGprsIP2", "GprsIP2"},
                                {"edtGprsPort2", "GprsPort2"},
                                {"edtGprsHeartbeatInterval", "GprsHeartbeatInterval"},
                                {"edtGprsAPN1", "GprsAPN1"},
                                {"edtManagePhone", "GprsManagePhone"},
                                {"edtSMSPhone", "GprsSMSPhone"}};
    for (const Shown& s : kTexts) c[s.control].text = stored.Get(s.key);

    std::vector<std::string>& lines = c["memGprsDomainRPIP"].lines;
    lines.clear();
    const std::string servers = stored.Get("GprsDomainRPIP");
    for (size_t from = 0; from < servers.size();) {
        size_t colon = servers.find(':', from);
        if (colon == std::string::npos) colon = servers.size();
        if (colon > from) lines.push_back(servers.substr(from, colon - from));
        from = colon + 1;
    }

    auto select = [&](const char* control, const char* key) {
        const std::string value = stored.Get(key);
        if (value.empty()) return;
        Control& box = c[control];
        box.index = DecimalIndex(value, box.items.size());
    };
    select("cbGprsInfoSMS", "GprsInfoSMS");
    select("cbSMSPhoneStatus", "GprsSMSPhoneStatus");
    c["chkGprsBootSMS"].checked = stored.Get("GprsBootSMS") == "01";
    c["chkGprsReportSMS"].checked = stored.Get("GprsReportSMS") == "01";

    for (int i = 1; i <= kProgPhones; ++i)
        c.At("edtProgPhone", i).text = stored.Get(Numbered("GprsProgPhone", i));
    const std::string status = stored.Get("GprsAlarmPhoneStatus");
    for (int i = 1; i <= kAlarmPhones; ++i) {
        const std::string phone = stored.Get(Numbered("GprsAlarmPhone", i));
        if (!phone.empty()) c.At("edtAlarmPhone", i).text = phone;
        const size_t at = static_cast<size_t>(i - 1);
        if (at >= status.size()) continue;
        if (status[at] == '0') c.At("cbAlarmPhoneStatus", i).index = 0;
        if (status[at] == '3') c.At("cbAlarmPhoneStatus", i).index = kPhoneStatusSms;
    }
    touched_.clear();
}

// The settings written as one group, the keys their query stores and the
// controls that show them.
struct GprsPage::WriteGroup {
    std::vector<std::string> keys;
    std::vector<std::string> controls;
};

const std::vector<GprsPage::WriteGroup>& GprsPage::WriteGroups() {
    static const std::vector<WriteGroup> groups = {
        {{"GprsIP1", "GprsIP2", "GprsPort1", "GprsPort2"},
         {"edtGprsIP1", "edtGprsPort1", "edtGprsIP2", "edtGprsPort2"}},
        {{"GprsInfoSMS"}, {"cbGprsInfoSMS"}},
        {{"GprsProgPhone"}, IndexedNames({"edtProgPhone"}, kProgPhones)},
        {{"GprsAlarmPhone"},
         [] {
             std::vector<std::string> names;
             for (int i = 1; i <= kAlarmPhones; ++i) {
                 names.push_back(Numbered("edtAlarmPhone", i));
                 names.push_back(Numbered("cbAlarmPhoneStatus", i));
             }
             return names;
         }()},
        {{"GprsSMSPhone_"}, {"edtSMSPhone", "cbSMSPhoneStatus"}},
    };
    return groups;
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

GprsPage::GroupWrite GprsPage::Judge(const DeviceParams& stored, const WriteGroup& group) const {
    for (const std::string& key : group.keys)
        if (!stored.Has(key)) {
            // Its query failed: the page holds nothing the module has.
            bool touched = false;
            bool filled = true;
            for (const std::string& name : group.controls) {
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

std::map<std::string, bool> GprsPage::JudgeGroups(const DeviceParams& stored) const {
    std::map<std::string, bool> writes;  // by the group's first key
    std::string refused;
    for (const WriteGroup& group : WriteGroups()) {
        const GroupWrite judged = Judge(stored, group);
        writes[group.keys.front()] = judged == GroupWrite::Compare;
        if (judged != GroupWrite::Refuse) continue;
        std::vector<std::string> names;
        for (const std::string& control : group.controls) {
            const std::string name = FieldName(control);
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        refused += "\r\n";
        for (size_t i = 0; i < names.size(); ++i) refused += (i ? "、" : "") + names[i];
    }
    if (!refused.empty()) throw SaveRefused(std::string(kUnreadGroupText) + refused);
    return writes;
}

std::string GprsPage::EncodePhoneGroup(int group) const {
    const PageModel& c = Controls();
    switch (group) {
        case 0:
            return EncodeGprsPhoneNumber(Trim(c["edtManagePhone"].text));
        case 1: {
            std::string data;
            for (int i = 1; i <= kProgPhones; ++i)
                data += EncodeGprsPhoneNumber(Trim(c[Numbered("edtProgPhone", i)].text));
            return data;
        }
        case 2: {
            std::string data;
            std::string status;
            for (int i = 1; i <= kAlarmPhones; ++i) {
                data += EncodeGprsPhoneNumber(c[Numbered("edtAlarmPhone", i)].text);
                status += c[Numbered("cbAlarmPhoneStatus", i)].index == kPhoneStatusSms ? "3" : "0";
            }
            return data + status;
        }
        case 3: {
            const int index = c["cbSMSPhoneStatus"].index;
            return EncodeGprsPhoneNumber(Trim(c["edtSMSPhone"].text)) +
                   (index < 0 ? std::string("00") : ByteHex(static_cast<unsigned>(index)));
        }
        default:
            return {};
    }
}

std::string GprsPage::EncodeDnsServerList() const {
    std::string entries;
    unsigned count = 0;
    for (const std::string& line : Controls()["memGprsDomainRPIP"].lines) {
        const std::string address = Trim(line);
        if (address.empty()) continue;
        ++count;
        entries += "02" + TextToHexField(address, kAddressBytes) + std::string(2 * kPortBytes, '0');
    }
    return "00" + ByteHex(count) + entries;
}

std::string GprsPage::JoinDnsServerList() const {
    std::string joined;
    for (const std::string& line : Controls()["memGprsDomainRPIP"].lines) {
        const std::string address = Trim(line);
        if (!address.empty()) joined += address + ":";
    }
    return joined;
}

std::string GprsPage::EncodeApnSettings() const {
    const PageModel& c = Controls();
    return TextToHexField(c["edtGprsAPN1"].text, kApnBytes) +
           TextToHexField(c["edtUserName"].text, kUserNameBytes) +
           TextToHexField(c["edtPassword"].text, kPasswordBytes);
}

void GprsPage::RefuseUnsendable(const DeviceParams& stored) const {
    const PageModel& c = Controls();
    const std::string heartbeat = Trim(c["edtGprsHeartbeatInterval"].text);
    if (heartbeat != stored.Get("GprsHeartbeatInterval")) HeartbeatData(heartbeat);
    // Phone digits travel as hex digits: anything else would break the frame.
    std::vector<std::string> phones = {"edtManagePhone", "edtSMSPhone"};
    for (const std::string& name : IndexedNames({"edtProgPhone"}, kProgPhones))
        phones.push_back(name);
    for (const std::string& name : IndexedNames({"edtAlarmPhone"}, kAlarmPhones))
        phones.push_back(name);
    for (const std::string& name : phones) {
        // The alarm phones are sent as they stand, the others trimmed.
        const bool asTyped = name.rfind("edtAlarmPhone", 0) == 0;
        const std::string digits = asTyped ? c[name].text : Trim(c[name].text);
        if (digits.find_first_not_of("0123456789") == std::string::npos) continue;
        throw SaveRefused(FieldName(name) + std::string(kBadPhoneText));
    }
}

CommandList GprsPage::SaveList(const DeviceParams& stored) {
    PageModel& c = Controls();
    CommandList list;
    auto add = [&list](std::string_view pair, const std::string& data) {
        list.push_back(Request(pair, data));
    };
    auto text = [&c](const char* name) { return Trim(c[name].text); };
    RefuseUnsendable(stored);
    // Decided before any control is filled in below.
    const std::map<std::string, bool> groupWrites = JudgeGroups(stored);
    auto writes = [&groupWrites](const char* firstKey) { return groupWrites.at(firstKey); };

    // Device ID, padded to six digits in the edit as it is sent.
    if (text("edtGprsDeviceID") != stored.Get("GprsDeviceID")) {
        Control& id = c["edtGprsDeviceID"];
        id.text = ZeroPadLeft(Trim(id.text), kDeviceIdDigits);
        add(kGprsSetDeviceIdPair, DeviceIdData(id.text));
    }
    if (text("edtGprsDomainName1") != stored.Get("GprsDomainName1"))
        add(kGprsSetDomainName1Pair, DomainNameData(text("edtGprsDomainName1")));
    if (text("edtGprsDomainName2") != stored.Get("GprsDomainName2"))
        add(kGprsSetDomainName2Pair, DomainNameData(text("edtGprsDomainName2")));

    for (const char* ip : {"edtGprsIP1", "edtGprsIP2"})
        if (text(ip).empty()) c[ip].text = "0.0.0.0";
    for (const char* port : {"edtGprsPort1", "edtGprsPort2"})
        if (text(port).empty()) c[port].text = "0";
    const bool centresDiffer = text("edtGprsIP1") != AddressAsSent(stored.Get("GprsIP1")) ||
                               text("edtGprsIP2") != AddressAsSent(stored.Get("GprsIP2")) ||
                               text("edtGprsPort1") != PortAsSent(stored.Get("GprsPort1")) ||
                               text("edtGprsPort2") != PortAsSent(stored.Get("GprsPort2"));
    if (centresDiffer && writes("GprsIP1"))
        add(kGprsSetCentreIpPair, CentreAddressData(text("edtGprsIP1"), text("edtGprsPort1"),
                                                    text("edtGprsIP2"), text("edtGprsPort2")));

    // Heartbeat interval in seconds.
    if (text("edtGprsHeartbeatInterval") != stored.Get("GprsHeartbeatInterval"))
        add(kGprsSetHeartbeatPair, HeartbeatData(text("edtGprsHeartbeatInterval")));

    if (JoinDnsServerList() != stored.Get("GprsDomainRPIP"))
        add(kGprsSetDnsPair, EncodeDnsServerList());

    const int infoSms = c["cbGprsInfoSMS"].index;
    const std::string infoValue = ZeroPadLeft(std::to_string(infoSms < 0 ? 0 : infoSms), 2);
    if (infoValue != stored.Get("GprsInfoSMS") && writes("GprsInfoSMS"))
        add(kGprsSetSmsAlarmPair, infoValue);

    // The user name and password have no stored value: they go with a changed APN.
    if (c["edtGprsAPN1"].text != stored.Get("GprsAPN1"))
        add(kGprsSetNetworkPair, EncodeApnSettings());

    if (!text("edtOldPassword").empty() && !text("edtNewPassword").empty())
        add(kGprsSetSmsPasswordPair, TextToHexField(text("edtOldPassword"), kSmsPasswordBytes) +
                                         TextToHexField(text("edtNewPassword"), kSmsPasswordBytes));

    auto smsSwitch = [&](const char* check, const char* key, std::string_view pair) {
        const std::string value = c[check].checked ? "01" : "00";
        const std::string old = stored.Get(key);
        if (!old.empty() && value != old) add(pair, value);
    };
    smsSwitch("chkGprsBootSMS", "GprsBootSMS", kGprsSetBootSmsPair);
    smsSwitch("chkGprsReportSMS", "GprsReportSMS", kGprsSetReportSmsPair);

    auto phoneGroup = [&](int group, std::string_view groupHex) {
        add(std::string(kGprsSetPhoneGroupPair) + std::string(groupHex),
            std::string(kGprsPhoneGroupWriteMark) + std::string(groupHex) +
                EncodePhoneGroup(group));
    };
    if (c["edtManagePhone"].text != stored.Get("GprsManagePhone"))
        phoneGroup(0, kGprsManagePhoneGroup);
    if (EncodePhoneGroup(1) != Trim(stored.Get("GprsProgPhone")) && writes("GprsProgPhone"))
        phoneGroup(1, kGprsProgPhoneGroup);
    if (EncodePhoneGroup(2) != stored.Get("GprsAlarmPhone") && writes("GprsAlarmPhone"))
        phoneGroup(2, kGprsAlarmPhoneGroup);
    if (EncodePhoneGroup(3) != stored.Get("GprsSMSPhone_") && writes("GprsSMSPhone_"))
        phoneGroup(3, kGprsSmsPhoneGroup);
    return list;
}

void GprsPage::DefaultSetClick(const std::string& clicked) {
    if (clicked == "bbtnDefaultSetGPRS")
        FactoryReset();
    else
        Restart();
}

std::string GprsPage::RunModuleAction(std::string_view pair) {
    DataModule& tdm = window_.tdm;
    const CommandEntry entry = Request(pair);
    const std::string result = tdm.exchanger.ExchangeCommand(entry.frame, entry.pair);
    tdm.trace.Add(entry.pair + "(" + entry.frame + "): " + result);
    return result;
}

void GprsPage::FactoryReset() {
    if (!window_.tdm.op.Ask(kFactoryResetQuestion)) return;
    const std::string result = RunModuleAction(kGprsFactoryResetPair);
    window_.tdm.op.Information(result);
    if (result.find("成功") != std::string::npos) Restart();
}

void GprsPage::Restart() {
    if (!window_.tdm.op.Ask(kRestartQuestion)) return;
    const std::string result = RunModuleAction(kGprsRestartPair);
    if (result.find("成功") != std::string::npos)
        window_.TimedWait(kModuleRestartSteps, WaitKind::Restart);
    window_.tdm.op.Information(result);
}

}  // namespace tarnwick

#include "modules/gprs_page.h"

#include <algorithm>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "hosts/save_refused.h"
#include "modules/field_checks.h"
#include "modules/gprs_decoder.h"
#include "modules/gprs_fields.h"
#include "modules/module_writes.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {
namespace {

constexpr int kProgPhones = kGprsProgPhones;
constexpr int kAlarmPhones = kGprsAlarmPhones;
constexpr size_t kPhoneDigits = kGprsPhoneDigits;

const std::vector<std::string> kPhoneStatusItems = {"禁用", "短信"};
const std::vector<std::string> kInfoSmsItems = {"关闭短信报警",
                                                "开启短信报警，仅当GPRS不在线时，进行短信报警",
                                                "开启短信提示，GPRS和短信同时进行报警"};
constexpr int kInfoSmsDesignIndex = 1;

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

// Two decimal digits as a list index; -1 for anything else.
int DecimalIndex(const std::string& digits, size_t count) {
    if (digits.empty() || digits.size() > 2) return -1;
    const std::optional<int> value = DecimalValue(digits);
    return value && static_cast<size_t>(*value) < count ? *value : -1;
}

}  // namespace

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
    for (const GprsField& field : GprsFields()) {
        Control& control = c[field.control];
        // Typed for a write, never read back: shown masked, never compared.
        control.password = control.secret = field.secret;
        // No reply carries them: a refresh leaves them as typed.
        control.survivesRefresh = field.load == GprsLoad::Kept;
    }

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
    for (const GprsField& field : GprsFields()) {
        if (!field.range) continue;
        c.OnExit(field.control, [&c, &op, &field] {
            const std::string problem = CheckRange(*field.range, c[field.control].text);
            if (problem.empty()) return;
            op.Warning(problem);
            c.RequestFocus(field.control);
        });
    }
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
    for (const GprsField& field : GprsFields()) {
        Control& control = c[field.control];
        if (field.load == GprsLoad::Kept) continue;
        control.text.clear();
        control.lines.clear();
        control.index = -1;
        control.checked = false;
    }
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

namespace {

void LoadGprsField(Control& c, const GprsField& field, const std::string& value) {
    switch (field.load) {
        case GprsLoad::Kept:
        case GprsLoad::Cleared:
            return;
        case GprsLoad::Text:
            c.text = value;
            return;
        case GprsLoad::TextIfAny:
            if (!value.empty()) c.text = value;
            return;
        case GprsLoad::Lines:
            c.lines = ServerListLines(value);
            return;
        case GprsLoad::Index:
            if (!value.empty()) c.index = DecimalIndex(value, c.items.size());
            return;
        case GprsLoad::Switch:
            c.checked = value == "01";
            return;
        case GprsLoad::StatusDigit: {
            const char digit = Slice(value, field.digit, field.digit).c_str()[0];
            if (digit == '0') c.index = 0;
            if (digit == '3') c.index = kPhoneStatusSms;
            return;
        }
    }
}

}  // namespace

void GprsPage::Load(const DeviceParams& stored) {
    for (const GprsField& field : GprsFields())
        LoadGprsField(Controls()[field.control], field, stored.Get(field.key));
    touched_.clear();
}

void GprsPage::DefaultSetClick(const std::string& clicked) {
    if (clicked == "bbtnDefaultSetGPRS")
        FactoryReset();
    else
        Restart();
}

ReplyResult GprsPage::RunModuleAction(std::string_view pair) {
    DataModule& tdm = window_.tdm;
    const CommandEntry entry = Request(pair);
    ReplyResult result = tdm.exchanger.Exchange(entry);
    tdm.trace.Add(entry.pair + "(" + entry.frame + "): " + result.text);
    return result;
}

void GprsPage::FactoryReset() {
    if (!window_.tdm.op.Ask(kFactoryResetQuestion)) return;
    const ReplyResult result = RunModuleAction(kGprsFactoryResetPair);
    window_.tdm.op.Information(result.text);
    if (result.Succeeded()) Restart();
}

void GprsPage::Restart() {
    if (!window_.tdm.op.Ask(kRestartQuestion)) return;
    const ReplyResult result = RunModuleAction(kGprsRestartPair);
    if (result.Succeeded()) window_.TimedWait(kModuleRestartSteps, WaitKind::Restart);
    window_.tdm.op.Information(result.text);
}

}  // namespace tarnwick

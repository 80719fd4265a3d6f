#include "modules/nm_settings.h"

#include <utility>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/field_checks.h"
#include "modules/module_writes.h"
#include "modules/nm_decoder.h"
#include "modules/nm_restart.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"

namespace tarnwick {
namespace {

// An edit of the groups and the key it is loaded from and compared with.
struct NmEdit {
    const char* name;
    const char* key;
    size_t maxLength;
    KeyFilter filter;
    const char* hint;
    const char* caption;
};

constexpr NmEdit kNmEdits[] = {
    {"edtNMDeviceID", "NMDeviceID", kDeviceIdDigits, KeyFilter::Digits, "为定长6位十进制数",
     "设备ID号"},
    {"edtNMDomainName1", "NMDomainName1", 50, KeyFilter::None, "", "第一中心域名"},
    {"edtNMIP1", "NMIP1", kModuleAddressBytes, KeyFilter::Address, "", "第一中心IP"},
    {"edtNMPort1", "NMPort1", kModulePortBytes, KeyFilter::Digits, "端口号1", "第一中心IP 端口号1"},
    {"edtNMDomainName2", "NMDomainName2", 50, KeyFilter::None, "", "第二中心域名"},
    {"edtNMIP2", "NMIP2", kModuleAddressBytes, KeyFilter::Address, "", "第二中心IP"},
    {"edtNMPort2", "NMPort2", kModulePortBytes, KeyFilter::Digits, "端口号2", "第二中心IP 端口号2"},
    {"edtNMHeartbeatInterval", "NMHeartbeatInterval", 5, KeyFilter::Digits,
     "为10-65535之间的十进制整数", "心跳间隔时间"},
    {"edtLocalIP", "NMLocalIP", kModuleAddressBytes, KeyFilter::Address, "", "本地IP地址"},
    {"edtLocalMask", "NMLocalMask", kModuleAddressBytes, KeyFilter::Address, "", "子网掩码"},
    {"edtLocalGateway", "NMLocalGateway", kModuleAddressBytes, KeyFilter::Address, "", "默认网关"},
};

constexpr const char* kNetManagementCaption = "网络管理";

constexpr const char* kAddressEdits[] = {"edtNMIP1", "edtNMIP2", "edtLocalIP", "edtLocalMask",
                                         "edtLocalGateway"};
constexpr const char* kLocalEdits[] = {"edtLocalIP", "edtLocalMask", "edtLocalGateway"};

std::string Text(const PageModel& c, const char* name) {
    return Trim(c[name].text);
}

// The radio rule: the local edits take input only for a static address.
void ApplyRadioRule(PageModel& c) {
    const bool dhcp = c["rbtnDHCP"].checked;
    const bool fixed = c["rbtnStaticIP"].checked;
    if (!dhcp && !fixed) return;
    for (const char* name : kLocalEdits) c[name].enabled = fixed;
}

// rbtnStaticIPClick: the clicked button is checked, its neighbour not.
void ChooseAddressKind(PageModel& c, bool dhcp) {
    c["rbtnDHCP"].checked = dhcp;
    c["rbtnStaticIP"].checked = !dhcp;
    ApplyRadioRule(c);
    c.Changed();
}

// Mode and switch byte as sent; empty when no mode is chosen.
std::string NetManagementValue(const PageModel& c) {
    const Control& mode = c["cbNMInfo"];
    if (mode.index < 0) return {};
    const auto& items = c["chklbNMInfo"].itemChecked;
    auto item = [&items](size_t i) { return i < items.size() && items[i]; };
    return ByteHex(static_cast<unsigned>(mode.index)) +
           BitTextToHex("00000" + FlagDigit(item(2)) + FlagDigit(item(1)) + FlagDigit(item(0)), 2);
}

}  // namespace

void DeclareNmSettings(PageModel& c, HostWindow& window) {
    for (const NmEdit& e : kNmEdits) {
        Control& edit = c.Edit(e.name, e.maxLength, e.filter);
        edit.hint = e.hint;
        edit.caption = e.caption;
    }
    c.Combo("cbNMInfo", {kNetModeItems[0], kNetModeItems[1]}).caption =
        std::string(kNetManagementCaption) + " 方式";
    Control& list = c.Add("chklbNMInfo", ControlKind::CheckList);
    list.caption = kNetManagementCaption;
    list.items.assign(std::begin(kNetSwitchItems), std::end(kNetSwitchItems));
    list.itemChecked.assign(list.items.size(), false);
    for (auto [name, text] :
         {std::pair{"rbtnDHCP", "自动获取IP地址"}, std::pair{"rbtnStaticIP", "使用下面的IP地址"}}) {
        Control& radio = c.Add(name, ControlKind::RadioButton);
        radio.text = radio.caption = text;
    }
    c.OnClick("rbtnDHCP", [&c] { ChooseAddressKind(c, true); });
    c.OnClick("rbtnStaticIP", [&c] { ChooseAddressKind(c, false); });
    c.Button("bbtnDefaultSetNM", "恢复出厂默认", "网管模块恢复出厂默认");
    c.Button("bbtnRebootNM", "重新启动", "重新启动网管模块");
    c.OnClick("bbtnDefaultSetNM", [&window] { RunNetworkModuleCommand(window, true); });
    c.OnClick("bbtnRebootNM", [&window] { RunNetworkModuleCommand(window, false); });
    DeclareNmExitChecks(c, window.tdm.op);
}

void DeclareNmExitChecks(PageModel& c, OperatorPort& op) {
    c.OnExit("edtNMHeartbeatInterval", [&c, &op] {
        const std::string problem = CheckHeartbeat(c["edtNMHeartbeatInterval"].text);
        if (problem.empty()) return;
        op.Warning(problem);
        c.RequestFocus("edtNMHeartbeatInterval");
    });
    for (const char* name : kAddressEdits)
        c.OnExit(name, [&c, &op, name] {
            const std::string problem = CheckAddress(c[name].text);
            c.Changed();
            if (!problem.empty()) op.Warning(problem);
        });
    for (const char* name : {"edtNMPort1", "edtNMPort2"})
        c.OnExit(name, [&c, name] {
            EmptyPortToZero(c[name].text);
            c.Changed();
        });
}

void ClearNmSettings(PageModel& c) {
    for (const NmEdit& e : kNmEdits) c[e.name].text.clear();
    c["cbNMInfo"].index = -1;
    auto& items = c["chklbNMInfo"].itemChecked;
    items.assign(items.size(), false);
    c["rbtnDHCP"].checked = false;
}

void LoadNmSettings(PageModel& c, const DeviceParams& stored) {
    for (const NmEdit& e : kNmEdits) c[e.name].text = stored.Get(e.key);
    const std::string mode = stored.Get("NMNetMode");
    if (mode == "00") c["cbNMInfo"].index = 0;
    if (mode == "01") c["cbNMInfo"].index = 1;
    const std::string netSwitch = stored.Get("NMNetSwitch");
    if (!netSwitch.empty()) {
        const std::string bits = IntToBitText(HexToInt(netSwitch), 8);
        auto& items = c["chklbNMInfo"].itemChecked;
        for (size_t i = 0; i < items.size(); ++i) items[i] = bits[7 - i] == '1';
    }
    const std::string dhcp = stored.Get("NMLocalDHCP");
    c["rbtnDHCP"].checked = dhcp == "00";
    c["rbtnStaticIP"].checked = dhcp == "01";
    ApplyRadioRule(c);
}

std::string EncodeLocalNetwork(const PageModel& c, const DeviceParams& stored) {
    std::string flag;
    if (c["rbtnDHCP"].checked)
        flag = "00";
    else if (c["rbtnStaticIP"].checked)
        flag = "01";
    else
        return {};
    std::string data = flag;
    for (const char* name : kLocalEdits) data += TextToHexField(Text(c, name), kModuleAddressBytes);
    return data + stored.Get("NMLocalDNS1") + stored.Get("NMLocalDNS2");
}

void QueueNmWrites(CommandList& list, PageModel& c, const DeviceParams& stored) {
    auto differs = [&c, &stored](const char* name, const char* key) {
        return Text(c, name) != stored.Get(key);
    };
    // 1. Device ID, padded to six digits in the edit as it is sent.
    if (differs("edtNMDeviceID", "NMDeviceID")) {
        Control& id = c["edtNMDeviceID"];
        id.text = ZeroPadLeft(Trim(id.text), kDeviceIdDigits);
        list.push_back(Request(kNmSetDeviceIdPair, DeviceIdData(id.text)));
    }
    // 2, 3. Centre domain names.
    if (differs("edtNMDomainName1", "NMDomainName1"))
        list.push_back(Request(kNmSetDomainName1Pair, DomainNameData(Text(c, "edtNMDomainName1"))));
    if (differs("edtNMDomainName2", "NMDomainName2"))
        list.push_back(Request(kNmSetDomainName2Pair, DomainNameData(Text(c, "edtNMDomainName2"))));
    // 4, 5. Centre addresses, empty ones sent as 0.0.0.0 and port 0.
    for (const char* ip : {"edtNMIP1", "edtNMIP2"})
        if (Text(c, ip).empty()) c[ip].text = "0.0.0.0";
    for (const char* port : {"edtNMPort1", "edtNMPort2"}) EmptyPortToZero(c[port].text);
    auto centreDiffers = [&c, &stored](const char* name, const char* key, bool address) {
        const std::string held = stored.Get(key);
        return Text(c, name) != (address ? AddressAsSent(held) : PortAsSent(held));
    };
    if (centreDiffers("edtNMIP1", "NMIP1", true) || centreDiffers("edtNMIP2", "NMIP2", true) ||
        centreDiffers("edtNMPort1", "NMPort1", false) ||
        centreDiffers("edtNMPort2", "NMPort2", false))
        list.push_back(Request(kNmSetCentreIpPair,
                               CentreAddressData(Text(c, "edtNMIP1"), Text(c, "edtNMPort1"),
                                                 Text(c, "edtNMIP2"), Text(c, "edtNMPort2"))));
    // 6. Heartbeat; a value the module cannot take refuses the whole save.
    if (differs("edtNMHeartbeatInterval", "NMHeartbeatInterval"))
        list.push_back(
            Request(kNmSetHeartbeatPair, HeartbeatData(Text(c, "edtNMHeartbeatInterval"))));
    // 7. Network management, when a mode is chosen.
    const std::string management = NetManagementValue(c);
    if (!management.empty() && management != stored.Get("NMNetMode") + stored.Get("NMNetSwitch"))
        list.push_back(Request(kNmSetNetSwitchPair, management));
    // 8. Local network, when an address kind is chosen: 01 00 after the flag.
    const std::string local = EncodeLocalNetwork(c, stored);
    if (!local.empty() && local != stored.Get("NMLocal"))
        list.push_back(Request(kNmSetLocalPair, local.substr(0, 2) + "0100" + local.substr(2)));
}

}  // namespace tarnwick

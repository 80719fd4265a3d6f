#include "hosts/modify_ip.h"

#include "hosts/data_module.h"
#include "hosts/host_search.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"
#include "protocol/unicast_address.h"

namespace tarnwick {
namespace {

constexpr size_t kAddressWidth = kIPv4TextLength;

std::string WithoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

}  // namespace

ModifyIpDialog::ModifyIpDialog(OperatorPort& op) : op_(op) {
    AddCaptionedEdits(controls, kFields);
    for (const CaptionedEdit& field : kFields) {
        const std::string name = field.edit;
        controls.OnExit(name, [this, name] {
            if (!IsValidIPv4(controls[name].text)) op_.Warning(kIpValueWrongText);
        });
    }
    controls["edtOldIP"].readOnly = true;
    controls.Button("bbtnModify", "确定");
    controls.Button("bbtnCancel", "取消");
}

std::string AbsentSiteText(const std::string& site) {
    return "站点“" + site + "”没有应答本次搜索，无法用广播修改它的网络配置。";
}

std::string ModifyIpFrame(const std::string& oldIp, const std::string& newIp,
                          const std::string& newMask, const std::string& newGateway) {
    return BuildFrame("02", "DB",
                      TextToHexField(oldIp, kAddressWidth) + TextToHexField(newIp, kAddressWidth) +
                          TextToHexField(newMask, kAddressWidth) +
                          TextToHexField(newGateway, kAddressWidth));
}

void ModifyHostAddress(DataModule& tdm, HostListWindowModel& window, int row,
                       ModifyIpDialog& dialog) {
    if (tdm.flowRunning || window.searching) return;
    const std::string oldIp = WithoutBlanks(window.list.Field(row, 1));
    if (oldIp.empty()) return;
    if (window.list.IsAbsent(row)) {
        // The change travels by broadcast, which this host did not answer.
        tdm.op.Information(AbsentSiteText(window.list.Field(row, HostListModel::kSiteColumn)));
        return;
    }
    PageModel& c = dialog.controls;
    c["edtOldIP"].text = oldIp;
    c["edtNewMask"].text = WithoutBlanks(window.list.Field(row, 6));
    c["edtNewGateway"].text = WithoutBlanks(window.list.Field(row, 7));
    c.Changed();
    if (!dialog.show || !dialog.show(dialog)) return;
    const std::string typedIp = c["edtNewIP"].text;
    const std::string newIp = WithoutBlanks(typedIp);
    const std::string newMask = WithoutBlanks(c["edtNewMask"].text);
    const std::string newGateway = WithoutBlanks(c["edtNewGateway"].text);
    if (!IsValidIPv4(newIp) || !IsValidIPv4(newMask) || !IsValidIPv4(newGateway)) {
        tdm.op.Information(kInvalidIpText);
        return;
    }
    FlowScope flow(tdm);
    try {
        tdm.session.SetPendingNewAddress(newIp);
        tdm.listener.Restart();
        window.listEnabled = false;
        window.bottomEnabled = false;
        window.keysAttached = false;
        if (window.onListChanged) window.onListChanged();
        tdm.params.Set("ModifyIPInfo", "");
        const std::string frame = ModifyIpFrame(oldIp, newIp, newMask, newGateway);
        tdm.client.SendTo(std::string(kBroadcastAddress), kHostPort, frame);
        tdm.trace.Add(kBroadcastTracePrefix + frame);
        // The host answers within the wait; the panel shows it running.
        window.waiting.Reset(kModifyIpWaitMs / kModifyIpStepMs, 1);
        window.waiting.Show(kModifyIpWaitingTitle);
        for (int waited = 0; waited < kModifyIpWaitMs; waited += kModifyIpStepMs) {
            window.waiting.StepIt();
            tdm.op.Pause(kModifyIpStepMs);
        }
        window.waiting.Hide();
        const std::string answer = tdm.params.Get("ModifyIPInfo");
        const std::string result = Slice(answer, 13, 14);
        if (result == "01") {
            tdm.op.Information(answer + ": IP地址修改成功！\r新IP地址为：" + typedIp +
                               "\r网络主机正在重新启动中，请稍候刷新...");
            tdm.operationLog.WriteFor(oldIp, frame, answer);
        } else if (result == "02") {
            tdm.op.Information(answer + ": IP地址修改失败！");
        }
    } catch (...) {
        // The operation ends quietly; the clean-up below runs in every case.
    }
    window.waiting.Hide();
    window.listEnabled = true;
    if (window.focusList) window.focusList();
    tdm.listener.Close();
    window.bottomEnabled = true;
    window.keysAttached = true;
    tdm.session.SetPendingNewAddress("");
    if (window.onListChanged) window.onListChanged();
}

}  // namespace tarnwick

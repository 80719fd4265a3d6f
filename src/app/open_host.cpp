#include "app/page_table.h"
#include "hosts/data_module.h"
#include "hosts/host_list_model.h"
#include "hosts/host_window.h"
#include "hosts/login.h"
#include "programming/programming_requests.h"
#include "protocol/operator_port.h"

// The host list's open of a host: it reads the installer code of section 00,
// so it lives above the page framework, beside the page assembly.
namespace tarnwick {

void OpenHost(DataModule& tdm, const HostListModel& list, int row, HostWindow& window,
              LoginDialog& dialog, const std::function<void()>& showHostWindow) {
    if (tdm.flowRunning) return;
    // The open host window's unsaved changes are the old host's.
    if (window.visible && !window.MayLeavePage()) return;
    FlowScope flow(tdm);
    const std::string host = list.Field(row, 1);
    PageModel& debug = StandardPage(window, PageId::Debug).Controls();
    Control& edtIP = debug["edtIP"];
    if (host.empty()) {
        tdm.session.SetCurrentHost(edtIP.text);
        return;
    }
    tdm.session.SetCurrentHost(host);
    edtIP.text = host;
    debug.Changed();
    tdm.params.Set(std::string(kInstallerCodeKey), "");
    try {
        const CommandEntry read = InstallerCodeRequest();
        tdm.exchanger.Exchange(read);
    } catch (...) {
        // Whatever went wrong, the missing installer code says it below.
    }
    if (!tdm.params.Has(std::string(kInstallerCodeKey))) {
        tdm.op.Information("无法管理到" + host + "设备，请检查网络配置!");
        return;
    }
    if (!dialog.show || !dialog.show(dialog)) return;
    if (tdm.params.Get(std::string(kInstallerCodeKey)) != dialog.password) {
        tdm.op.Error(kWrongPasswordText);
        return;
    }
    window.ShowHost(host);
    if (showHostWindow) showHostWindow();
}

}  // namespace tarnwick

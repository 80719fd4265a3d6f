#include "app/page_table.h"
#include "hosts/data_module.h"
#include "hosts/host_list_model.h"
#include "hosts/host_search.h"
#include "hosts/host_window.h"
#include "hosts/login.h"
#include "programming/programming_requests.h"
#include "protocol/operator_port.h"
#include "storage/site_book.h"

// The host list's open of a host: it reads the installer code of section 00,
// so it lives above the page framework, beside the page assembly.
namespace tarnwick {

std::string UnreachedText(const std::string& address) {
    return "无法管理到" + address + "设备，请检查网络配置!";
}

std::string LoginHostText(const HostTarget& target) {
    std::string text = "登录主机 " + target.address;
    if (target.port != kHostPort) text += ":" + std::to_string(target.port);
    return text;
}

void OpenHost(DataModule& tdm, const HostListModel& list, int row, HostWindow& window,
              LoginDialog& dialog, const std::function<void()>& showHostWindow) {
    if (tdm.flowRunning) return;
    // The open host window's unsaved changes are the old host's.
    if (window.visible && !window.MayLeavePage()) return;
    FlowScope flow(tdm);
    const HostTarget target = list.Target(row);
    if (target.address.empty()) {
        tdm.session.SetCurrentHost(StandardPage(window, PageId::Debug).Controls()["edtIP"].text);
        return;
    }
    LogIn(tdm, target, window, dialog, showHostWindow);
}

void OpenHostAt(DataModule& tdm, const HostTarget& target, HostWindow& window, LoginDialog& dialog,
                const std::function<void()>& showHostWindow) {
    if (tdm.flowRunning || target.address.empty()) return;
    if (window.visible && !window.MayLeavePage()) return;
    FlowScope flow(tdm);
    LogIn(tdm, target, window, dialog, showHostWindow);
}

LoginResult LogIn(DataModule& tdm, const HostTarget& target, HostWindow& window,
                  LoginDialog& dialog, const std::function<void()>& showHostWindow) {
    const std::string& host = target.address;
    tdm.session.SetCurrentHost(host, target.port);
    PageModel& debug = StandardPage(window, PageId::Debug).Controls();
    debug["edtIP"].text = host;
    debug.Changed();
    tdm.params.Set(std::string(kInstallerCodeKey), "");
    try {
        const CommandEntry read = InstallerCodeRequest();
        tdm.exchanger.Exchange(read);
    } catch (...) {
        // Whatever went wrong, the missing installer code says it below.
    }
    if (!tdm.params.Has(std::string(kInstallerCodeKey))) {
        tdm.op.Information(UnreachedText(host));
        return LoginResult::Unreached;
    }
    try {
        SiteBook(tdm.db).RecordSeen({{host, {}, {}, {}}}, tdm.clock.NowText());
    } catch (const std::exception& e) {
        tdm.trace.Add(std::string(kSiteBookUnwritableText) + e.what());
    }
    dialog.hostText = LoginHostText(target);
    if (!dialog.show || !dialog.show(dialog)) return LoginResult::Cancelled;
    if (tdm.params.Get(std::string(kInstallerCodeKey)) != dialog.password) {
        tdm.op.Error(kWrongPasswordText);
        return LoginResult::WrongPassword;
    }
    window.ShowHost(host, target.port);
    if (showHostWindow) showHostWindow();
    return LoginResult::Opened;
}

}  // namespace tarnwick

#include "hosts/connect_address.h"

#include "hosts/captioned_edits.h"
#include "hosts/data_module.h"
#include "hosts/host_search.h"
#include "hosts/login.h"
#include "protocol/frame_codec.h"
#include "protocol/operator_port.h"
#include "protocol/text_helpers.h"
#include "protocol/timing.h"
#include "protocol/unicast_address.h"
#include "storage/site_book.h"

namespace tarnwick {
namespace {

// The typed fields: what is wrong with them, or the host to reach and
// whether it is to be booked.
struct Typed {
    std::string problem;
    HostTarget target;
    bool book = false;
};

Typed Check(DataModule& tdm, const PageModel& c) {
    Typed typed;
    const std::string address = Trim(c["edtConnectIP"].text);
    const std::string port = Trim(c["edtConnectPort"].text);
    const std::string name = Trim(c["edtConnectSite"].text);
    // The broadcast address of this computer's network would reach every host on it.
    for (const std::string& problem :
         {CheckSiteAddress(address, LocalIPv4Networks()), CheckSitePort(port),
          name.empty() ? "" : CheckSiteName(name)})
        if (!problem.empty()) {
            typed.problem = problem;
            return typed;
        }
    typed.target.address = PlainDottedIPv4(address);
    typed.target.port = port.empty() ? kHostPort : static_cast<uint16_t>(*DecimalValue(port));
    try {
        SiteBook book(tdm.db);
        const std::vector<Site> sites = book.List();
        if (name.empty()) {
            for (const Site& s : sites)
                if (s.address == typed.target.address) typed.target.site = s.name;
            return typed;
        }
        Site site;
        site.name = name;
        site.address = typed.target.address;
        site.port = typed.target.port;
        // The name of the site already booked at this address is no clash.
        const std::optional<Site> same = book.Find(name);
        if (same && same->address == site.address) {
            typed.target.site = same->name;
            return typed;
        }
        typed.problem = CheckSiteUnique(site, sites);
        typed.target.site = name;
        typed.book = true;
    } catch (const std::exception& e) {
        if (!name.empty()) typed.problem = kSiteBookUnreadableText + std::string(e.what());
    }
    return typed;
}

// The search frame to the address alone; its answer, if one comes, is listed.
void SearchAt(DataModule& tdm, HostListWindowModel& window, const HostTarget& target) {
    window.listEnabled = false;
    window.bottomEnabled = false;
    window.keysAttached = false;
    window.waiting.Reset(kConnectAnswerWaitMs / kConnectAnswerStepMs, 1);
    window.waiting.Show("正在连接" + target.address + "，请稍候...");
    bool listening = false;
    try {
        tdm.listener.Restart();
        listening = true;
    } catch (const std::exception& e) {
        tdm.trace.Add("连接指定地址时无法监听本机端口" + std::to_string(kHostPort) + "：" +
                      e.what());
    }
    try {
        const std::string frame = BuildFrame("02", "D7");
        tdm.client.Close();
        tdm.client.Open();
        tdm.client.SendTo(target.address, target.port, frame);
        tdm.trace.Add(kUnicastSearchTracePrefix + frame + " → " + target.address + ":" +
                      std::to_string(target.port));
        for (int waited = 0; listening && waited < kConnectAnswerWaitMs;
             waited += kConnectAnswerStepMs) {
            tdm.op.Pause(kConnectAnswerStepMs);
            window.waiting.StepIt();
            DrainSearchAnswers(tdm, window);
            const int row = window.list.RowOf(target.address);
            if (row > 0 && !window.list.IsAbsent(row)) break;
        }
    } catch (const std::exception& e) {
        // The login below says whether the host can be reached.
        tdm.trace.Add(kUnicastSearchTracePrefix + std::string(e.what()));
    }
    if (listening) tdm.listener.Close();
    window.waiting.Hide();
    window.listEnabled = true;
    window.bottomEnabled = true;
    window.keysAttached = true;
    if (window.focusList) window.focusList();
}

// The host reached is booked with what its answer told.
void Book(DataModule& tdm, HostListWindowModel& window, const HostTarget& target) {
    Site site;
    site.name = target.site;
    site.address = target.address;
    site.port = target.port;
    if (const int row = window.list.RowOf(target.address); row > 0 && !window.list.IsAbsent(row)) {
        site.deviceId = window.list.Field(row, 3);
        site.moduleType = window.list.Field(row, 4);
        site.hostType = window.list.Field(row, 5);
    }
    site.lastSeen = tdm.clock.NowText();
    std::string problem;
    try {
        // Another writer may have booked the name or the address meanwhile.
        problem = SiteBook(tdm.db).Insert(site);
    } catch (const std::exception& e) {
        problem = e.what();
    }
    if (!problem.empty()) {
        tdm.op.Warning("站点“" + site.name + "”未能记入站点簿：" + problem);
        return;
    }
    ApplySiteBook(tdm, window);
}

}  // namespace

ConnectAddressDialog::ConnectAddressDialog() {
    AddCaptionedEdits(controls, kFields);
    controls["edtConnectPort"].text = std::to_string(kHostPort);
    controls.Label("lblConnectSiteHint", "（可选）填写后，连接到的主机记入站点簿");
    controls.Button("bbtnConnect", "连接");
    controls.Button("bbtnCancel", "取消");
}

void ConnectToAddress(DataModule& tdm, HostListWindowModel& window, ConnectAddressDialog& dialog,
                      HostWindow& hostWindow, LoginDialog& login,
                      const std::function<void()>& showHostWindow) {
    if (tdm.flowRunning || window.searching) return;
    Typed typed;
    while (true) {
        dialog.controls.Changed();
        if (!dialog.show || !dialog.show(dialog)) return;
        typed = Check(tdm, dialog.controls);
        if (typed.problem.empty()) break;
        tdm.op.Warning(typed.problem);
    }
    FlowScope flow(tdm);
    SearchAt(tdm, window, typed.target);
    if (window.onListChanged) window.onListChanged();
    const LoginResult result = LogIn(tdm, typed.target, hostWindow, login, showHostWindow);
    if (typed.book && result != LoginResult::Unreached) Book(tdm, window, typed.target);
}

}  // namespace tarnwick

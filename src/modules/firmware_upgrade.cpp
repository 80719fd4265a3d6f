#include "modules/firmware_upgrade.h"

#include <stdexcept>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/ftp_port.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {

std::string UpgradeImageProblem(FtpPort& ftp, const std::string& address, std::string* detail) {
    try {
        for (const std::string& name : ftp.ListNames(address))
            if (ToUpper(name) == kUpgradeImageName) return {};
        return kNoUpgradeImageText;
    } catch (const FtpError& e) {
        if (detail) *detail = e.what();
        switch (e.Step()) {
            case FtpStep::Connect:
                return kFtpConnectFailedText;
            case FtpStep::Login:
                return kFtpLoginFailedText;
            case FtpStep::List:
                return kFtpListFailedText;
        }
    } catch (const std::exception& e) {
        if (detail) *detail = e.what();
    }
    return kFtpConnectFailedText;
}

bool CheckUpgradeImage(FtpPort& ftp, const std::string& address) {
    return UpgradeImageProblem(ftp, address, nullptr).empty();
}

std::string UpgradeServerWrongText(const std::string& address, const std::string& problem) {
    return std::string(kUpgradeAddressWrongText) + "\r\n" + problem + "（FTP服务器 " + address +
           "）";
}

namespace {

constexpr unsigned kUpgradeOrderTaken = 0x00;

// Waits for the module's report in periods, reading it only at the end of
// each; Stop ends the wait.
std::string AwaitReport(HostWindow& window) {
    DataModule& tdm = window.tdm;
    window.stopRequest = false;
    std::string report;
    while (true) {
        window.TimedWait(kUpgradeWaitSteps, WaitKind::Upgrade);
        report = tdm.params.Get("UpdateInfo");
        if (window.stopRequest) break;
        if (Slice(report, 9, 12) == "5001") break;
    }
    return report;
}

void OrderUpgrade(HostWindow& window, const std::string& address) {
    DataModule& tdm = window.tdm;
    tdm.listener.Restart();
    tdm.params.Set("UpdateInfo", "");
    const CommandEntry order = Request(kUpgradePair, TextToHexField(address, kUpgradeAddressWidth));
    const ReplyResult reply = tdm.exchanger.Exchange(order);
    tdm.trace.Add(kUpgradeStartedTrace + tdm.clock.NowText());
    // The module takes the order with result byte 00.
    if (reply.resultByte != kUpgradeOrderTaken) {
        tdm.op.Information(reply.text + kUpgradeFailedText);
        return;
    }
    tdm.operationLog.Write(order.frame, reply.text);
    const std::string report = AwaitReport(window);
    if (Slice(report, 9, 12) != "5001") return;
    const std::string outcome = Slice(report, 13, 14);
    if (outcome == "01") tdm.op.Information(report + kUpgradeSucceededText);
    if (outcome == "02") tdm.op.Information(report + kUpgradeFailedText);
}

}  // namespace

void DeclareFirmwareUpgrade(PageModel& c, HostWindow& window) {
    Control& address = c.Edit("edtUpdateAddr", kUpgradeAddressWidth);
    address.text = kDefaultUpgradeAddress;
    address.caption = "升级文件地址：";
    // Typed for an upgrade, not a setting a save writes.
    address.survivesRefresh = true;
    c.Button("bbtnUpdate", "升级", "网管模块软件升级");
    c.OnClick("bbtnUpdate", [&c, &window] {
        if (!window.tdm.ftp) throw std::logic_error("no FTP client is attached");
        RunFirmwareUpgrade(window, *window.tdm.ftp, c["edtUpdateAddr"].text);
    });
}

void RunFirmwareUpgrade(HostWindow& window, FtpPort& ftp, const std::string& address) {
    DataModule& tdm = window.tdm;
    if (tdm.flowRunning) return;
    const std::string trimmed = Trim(address);
    if (trimmed.empty()) return;
    if (!tdm.op.Ask(kUpgradeQuestion)) return;
    FlowScope flow(tdm);
    std::string detail;
    if (const std::string problem = UpgradeImageProblem(ftp, trimmed, &detail); !problem.empty()) {
        tdm.trace.Add("[升级检查]: " + UpgradeServerWrongText(trimmed, problem) +
                      (detail.empty() ? "" : "：" + detail));
        tdm.op.AskToCheck(UpgradeServerWrongText(trimmed, problem));
        return;
    }
    window.BusyStep();
    try {
        OrderUpgrade(window, trimmed);
    } catch (...) {
        // The upgrade ends quietly; the busy state and the listener end below.
    }
    window.IdleStep();
    tdm.listener.Close();
}

}  // namespace tarnwick

#include "modules/nm_restart.h"

#include <string>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/nm_decoder.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {

void RunNetworkModuleCommand(HostWindow& window, bool factoryReset) {
    DataModule& tdm = window.tdm;
    const std::string question = factoryReset
                                     ? "该操作会将当前的网管信息恢复出厂默认值，请确认是否继续。"
                                     : "该操作会重新启动报警主机网管模块，请确认是否继续。";
    if (!tdm.op.Ask(question)) return;
    const CommandEntry entry = Request(factoryReset ? kNmFactoryResetPair : kNmRestartPair);
    const std::string result = tdm.exchanger.ExchangeCommand(entry.frame, entry.pair);
    tdm.trace.Add(entry.pair + "(" + entry.frame + "): " + result);
    tdm.operationLog.Write(entry.frame, result);
    const bool succeeded = result.find("成功") != std::string::npos;
    if (factoryReset) {
        tdm.op.Information(result);
        if (succeeded && window.closeWindow) window.closeWindow();
        return;
    }
    if (succeeded) window.TimedWait(kModuleRestartSteps, WaitKind::Restart);
    tdm.op.Information(result);
}

}  // namespace tarnwick

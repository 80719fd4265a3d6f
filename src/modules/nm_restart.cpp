#include "modules/nm_restart.h"

#include <string>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/nm_decoder.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"
#include "storage/code_tables.h"

namespace tarnwick {

void RunNetworkModuleCommand(HostWindow& window, bool factoryReset) {
    DataModule& tdm = window.tdm;
    const std::string question = factoryReset
                                     ? "该操作会将当前的网管信息恢复出厂默认值，请确认是否继续。"
                                     : "该操作会重新启动报警主机网管模块，请确认是否继续。";
    // The button is ignored while another flow runs; a save that ends on a
    // setting needing the restart runs it inside its own flow.
    FlowScope flow(tdm);
    if (!tdm.op.Ask(question)) return;
    const CommandEntry entry = Request(factoryReset ? kNmFactoryResetPair : kNmRestartPair);
    const std::string& frame = entry.frame;
    const ReplyResult reply = tdm.exchanger.Exchange(entry);
    const std::string& result = reply.text;
    tdm.trace.Add(entry.pair + "(" + frame + "): " + result);
    // A log that cannot be written changes nothing of what follows; it is said
    // once, beside the result.
    const std::string logProblem = tdm.operationLog.Write(frame, result);
    std::string shown = result;
    if (!logProblem.empty()) {
        shown += "\r" + OperationLogProblemText(logProblem);
        tdm.trace.Add(OperationLogProblemText(logProblem));
    }
    const bool succeeded = reply.Succeeded();
    if (factoryReset) {
        tdm.op.Information(shown);
        if (succeeded && window.closeWindow) window.closeWindow();
        return;
    }
    if (succeeded) window.TimedWait(kModuleRestartSteps, WaitKind::Restart);
    tdm.op.Information(shown);
}

}  // namespace tarnwick

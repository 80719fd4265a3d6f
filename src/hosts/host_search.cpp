#include "hosts/host_search.h"

#include "hosts/data_module.h"
#include "protocol/frame_codec.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"

namespace tarnwick {

void DrainSearchAnswers(DataModule& tdm, HostListWindowModel& window) {
    bool changed = false;
    for (const std::string& frame : tdm.listener.TakeSearchAnswers())
        changed = window.list.AddSearchAnswer(frame) || changed;
    if (changed && window.onListChanged) window.onListChanged();
}

void RunHostSearch(DataModule& tdm, HostListWindowModel& window) {
    if (window.searching || tdm.flowRunning) return;
    FlowScope flow(tdm);
    window.searching = true;
    auto pause = [&](int ms) {
        tdm.op.Pause(ms);
        DrainSearchAnswers(tdm, window);
    };
    std::string listenProblem;
    try {
        window.list.ClearForSearch();
        if (window.onListChanged) window.onListChanged();
        try {
            tdm.listener.Restart();
        } catch (const std::exception& e) {
            // Without the listener no answer could be seen: no broadcast.
            listenProblem = e.what();
            throw;
        }
        window.listEnabled = false;
        window.bottomEnabled = false;
        window.keysAttached = false;
        if (window.setHostWindowEnabled) window.setHostWindowEnabled(false);
        window.waiting.Reset(100, 1);
        window.waiting.Show(kSearchingTitle);
        pause(kSearchSettleMs);
        tdm.client.Close();
        tdm.client.Open();
        tdm.client.SendTo(std::string(kBroadcastAddress), kHostPort, BuildFrame("02", "D7"));
        for (int i = 0; i < kSearchSteps; ++i) {
            window.waiting.StepIt();
            pause(kSearchStepPauseMs);
        }
    } catch (...) {
        // The search ends quietly; the clean-up below runs in every case.
    }
    DrainSearchAnswers(tdm, window);
    window.listEnabled = true;
    if (window.focusList) window.focusList();
    tdm.listener.Close();
    window.bottomEnabled = true;
    window.keysAttached = true;
    if (window.setHostWindowEnabled) window.setHostWindowEnabled(true);
    window.waiting.Hide();
    window.searching = false;
    if (!listenProblem.empty()) {
        tdm.trace.Add("搜索主机时无法监听本机端口" + std::to_string(kHostPort) + "：" +
                      listenProblem);
        tdm.op.Warning(PortInUseText());
    }
}

std::string PortInUseText() {
    return "本机端口" + std::to_string(kHostPort) + "已被其他程序占用，无法搜索主机！";
}

}  // namespace tarnwick

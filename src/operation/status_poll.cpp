#include "operation/status_poll.h"

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "operation/alarm_host_decoder.h"
#include "operation/host_status.h"
#include "protocol/frame_codec.h"

namespace tarnwick {
namespace {

void CountPoll(Control& counter) {
    const std::string& text = counter.text;
    long count = 0;
    if (!text.empty() && text.size() < 12 &&
        text.find_first_not_of("0123456789") == std::string::npos)
        count = std::stol(text);
    counter.text = std::to_string(count + 1);
}

}  // namespace

bool PollHostStatus(HostWindow& window, PageModel& page, bool windowActive) {
    if (!windowActive || !window.Page(window.ActivePage()).PollsStatus() || window.waitingFlag ||
        window.pollWaiting)
        return false;
    DataModule& tdm = window.tdm;
    window.BeginPollWait();
    try {
        const CommandEntry query = Request(kStatusQueryPair, kStatusQueryData);
        const std::string result = tdm.exchanger.ExchangeStatusQuery(query);
        tdm.trace.Add("0. " + query.pair + "(" + query.frame + "): " + result);
        CountPoll(window.frame["Label101"]);
        window.frame.Changed();
        const bool wasSilent = ShowsHostSilent(page);
        ShowStatusOutcome(page, tdm.params, !result.empty(), tdm.clock.NowText());
        // The trace says when the host fell silent and when it came back.
        if (ShowsHostSilent(page) != wasSilent)
            tdm.trace.Add("[状态]: " + page["stxtHostAnswer"].text);
        page.Changed();
    } catch (...) {
        // A poll never reaches the operator; the next tick tries again.
    }
    window.EndPollWait();
    return true;
}

}  // namespace tarnwick

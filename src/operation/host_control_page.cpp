#include "operation/host_control_page.h"

#include <stdexcept>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/firmware_upgrade.h"
#include "modules/gprs_decoder.h"
#include "modules/nm_decoder.h"
#include "modules/nm_settings.h"
#include "operation/alarm_host_decoder.h"
#include "operation/host_status.h"
#include "operation/remote_commands.h"
#include "operation/status_poll.h"
#include "programming/programming_requests.h"
#include "programming/schedule_groups.h"

namespace tarnwick {

HostControlPage::HostControlPage(HostWindow& window) : window_(window) {
    PageModel& c = Controls();
    c.Button("btnExit", "退出");
    c.OnClick("btnExit", [this] { window_.Close(); });
    DeclareHostStatus(c);
    DeclareRemoteCommands(c, window_);
    // A group box becoming checked puts the page back as last read.
    DeclareScheduleGroups(c, window_.tdm.op, [this] { Load(window_.tdm.params); });
    DeclareNmSettings(c, window_);
    DeclareFirmwareUpgrade(c, window_);
    window_.statusTick = [this](bool windowActive) {
        PollHostStatus(window_, Controls(), windowActive);
    };
}

HostControlPage& HostControlPageOf(HostWindow& window) {
    for (int i = 0; i < window.PageCount(); ++i)
        if (auto* page = dynamic_cast<HostControlPage*>(&window.Page(i))) return *page;
    throw std::logic_error("the window holds no host control page");
}

// ClearHostControlPage.
void HostControlPage::Prepare() {
    PageModel& c = Controls();
    ClearHostStatus(c);
    ClearNmSettings(c);
    ClearScheduleGroups(c);
}

CommandList HostControlPage::ReadList() {
    return {
        Request(kStatusQueryPair, kStatusQueryData),
        Request(kModelQueryPair, kModelQueryData),
        ReadSectionRequest(6),
        Request(kNmQueryParams1Pair),
        Request(kNmQueryParams2Pair),
        Request(kNmQueryHeartbeatPair),
        Request(kNmQueryNetSwitchPair),
        Request(kNmQueryLocalPair, kNmQueryLocalData),
        Request(kGprsQueryVersionPair, kGprsVersionQueryData),
    };
}

// LoadHostControlPage: the status display, the model and version labels, the
// network module groups, then the schedule groups.
void HostControlPage::Load(const DeviceParams& stored) {
    PageModel& c = Controls();
    // A reload keeps saying the host is silent: the stored keys are old.
    const bool silent = ShowsHostSilent(c);
    ShowHostStatus(c, stored);
    if (silent) ShowStatusOutcome(c, stored, false, {});
    LoadHostModel(c, stored);
    LoadNmSettings(c, stored);
    LoadScheduleGroups(c, stored);
}

// The refresh read the status first: whether it answered decides whether the
// status group is live. The store was emptied before the reads.
void HostControlPage::AfterRefresh(bool silent) {
    const DeviceParams& stored = window_.tdm.params;
    ShowStatusOutcome(Controls(), stored, !silent && stored.Has("SystemStatus"),
                      window_.tdm.clock.NowText());
}

// The network module's writes in their order, then section 06.
CommandList HostControlPage::SaveList(const DeviceParams& stored) {
    CommandList list;
    QueueNmWrites(list, Controls(), stored);
    QueueScheduleWrite(list, Controls(), stored);
    return list;
}

}  // namespace tarnwick

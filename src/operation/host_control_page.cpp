#include "operation/host_control_page.h"

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "operation/alarm_host_decoder.h"
#include "operation/host_status.h"
#include "operation/remote_commands.h"
#include "operation/status_poll.h"
#include "programming/programming_requests.h"
#include "programming/schedule_groups.h"
#include "protocol/frame_codec.h"

namespace tarnwick {

HostControlPage::HostControlPage(HostWindow& window)
    : PageBranch("tsHostControl", "主机控制"), window_(window) {
    PageModel& c = Controls();
    c.Button("btnExit", "退出");
    c.Button("bbtnDefaultSetNM", "恢复出厂默认", "网管模块恢复出厂默认");
    c.Button("bbtnRebootNM", "重新启动", "重新启动网管模块");
    c.Edit("edtLocalIP", 15, KeyFilter::Address);
    c.Edit("edtLocalMask", 15, KeyFilter::Address);
    c.Edit("edtLocalGateway", 15, KeyFilter::Address);
    DeclareHostStatus(c);
    DeclareRemoteCommands(c, window, window.tdm.clock);
    DeclareScheduleGroups(c, window.tdm.op, [this] {
        Load();
        Controls().Changed();
    });
    window.statusTick = [this](bool windowActive) {
        PollHostStatus(window_, Controls(), windowActive);
    };
}

void HostControlPage::Prepare() {
    PageModel& c = Controls();
    ClearHostStatus(c);
    ClearScheduleGroups(c);
}

CommandList HostControlPage::ReadList() {
    return {
        {std::string(kStatusQueryPair), BuildFrame("12", "82", kStatusQueryData)},
        {std::string(kModelQueryPair), BuildFrame("12", "83", kModelQueryData)},
        ReadSectionRequest(6),
        {"028C:020C NM终端参数查询1", BuildFrame("02", "8C")},
        {"02CD:023D NM终端参数查询2", BuildFrame("02", "CD")},
        {"02CE:023E NM心跳间隔时间查询", BuildFrame("02", "CE")},
        {"02D5:0245 NM查询网络管理开关", BuildFrame("02", "D5")},
        {"02D9:0249 NM读取设备本地网络参数", BuildFrame("02", "D9", "00")},
        {"0186:0106 GPRS软件版本查询", BuildFrame("01", "86", "0F")},
    };
}

void HostControlPage::Load() {
    PageModel& c = Controls();
    const DeviceParams& params = window_.tdm.params;
    ShowHostStatus(c, params);
    LoadHostModel(c, params);
    LoadScheduleGroups(c, params);
}

CommandList HostControlPage::SaveList() {
    CommandList list;
    SaveScheduleGroups(list, Controls(), window_.tdm.params);
    return list;
}

}  // namespace tarnwick

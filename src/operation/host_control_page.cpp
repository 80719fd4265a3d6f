#include "operation/host_control_page.h"

#include "programming/programming_requests.h"
#include "protocol/frame_codec.h"

namespace tarnwick {

HostControlPage::HostControlPage() : PageBranch("tsHostControl", "主机控制") {
    PageModel& c = Controls();
    c.Button("btnExit", "退出");
    c.Button("bbtnDefaultSetNM", "恢复出厂默认", "网管模块恢复出厂默认");
    c.Button("bbtnRebootNM", "重新启动", "重新启动网管模块");
    c.Edit("edtLocalIP", 15, KeyFilter::Address);
    c.Edit("edtLocalMask", 15, KeyFilter::Address);
    c.Edit("edtLocalGateway", 15, KeyFilter::Address);
}

CommandList HostControlPage::ReadList() {
    return {
        {"1282:1202 报警器工作状态查询", BuildFrame("12", "82", "06F2")},
        {"1283:1203 查询报警器型号", BuildFrame("12", "83", "0B00")},
        ReadSectionRequest(6),
        {"028C:020C NM终端参数查询1", BuildFrame("02", "8C")},
        {"02CD:023D NM终端参数查询2", BuildFrame("02", "CD")},
        {"02CE:023E NM心跳间隔时间查询", BuildFrame("02", "CE")},
        {"02D5:0245 NM查询网络管理开关", BuildFrame("02", "D5")},
        {"02D9:0249 NM读取设备本地网络参数", BuildFrame("02", "D9", "00")},
        {"0186:0106 GPRS软件版本查询", BuildFrame("01", "86", "0F")},
    };
}

}  // namespace tarnwick

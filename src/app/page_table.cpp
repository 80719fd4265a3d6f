#include "app/page_table.h"

#include "diagnostics/debug_page.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/gprs_page.h"
#include "operation/alarm_info_page.h"
#include "operation/host_control_page.h"
#include "programming/communication_page.h"
#include "programming/system_program_page.h"
#include "programming/wired_zone_page.h"
#include "programming/wireless_zone_page.h"
#include "storage/xlsx_spreadsheet.h"

namespace tarnwick {
namespace {

template <typename Page>
std::unique_ptr<PageBranch> Make(HostWindow&) {
    return std::make_unique<Page>();
}

template <typename Page>
std::unique_ptr<PageBranch> MakeWithWindow(HostWindow& window) {
    return std::make_unique<Page>(window);
}

std::unique_ptr<PageBranch> MakeAlarmInfoPage(HostWindow& window) {
    return std::make_unique<AlarmInfoPage>(window, std::make_unique<XlsxSpreadsheet>());
}

std::unique_ptr<PageBranch> MakeDebugPage(HostWindow& window) {
    return std::make_unique<DebugPage>(window.tdm);
}

constexpr PageEntry kPages[] = {
    {"tsHostControl", "主机控制", true, MakeWithWindow<HostControlPage>},
    {"tsWireDefenceZone", "有线防区", true, Make<WiredZonePage>},
    {"tsWirelessDefenceZone", "无线防区", true, Make<WirelessZonePage>},
    {"tsCommuncaiotnSetting", "通讯参数", true, Make<CommunicationPage>},
    {"tsSystemProgram", "系统编程", true, Make<SystemProgramPage>},
    {"tsGPRS", "GPRS模块", true, MakeWithWindow<GprsPage>},
    {"tsAlarmInfo", "警情信息", false, MakeAlarmInfoPage},
    {"TabSheet4", "调试", false, MakeDebugPage},
};
static_assert(std::size(kPages) == kPageCount);

}  // namespace

std::span<const PageEntry> PageTable() {
    return kPages;
}

}  // namespace tarnwick

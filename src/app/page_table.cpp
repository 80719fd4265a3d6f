#include "app/page_table.h"

#include "diagnostics/debug_page.h"
#include "hosts/host_window.h"
#include "modules/gprs_page.h"
#include "operation/alarm_info_page.h"
#include "operation/host_control_page.h"
#include "programming/communication_page.h"
#include "programming/system_program_page.h"
#include "programming/wired_zone_page.h"
#include "programming/wireless_zone_page.h"

namespace tarnwick {
namespace {

template <typename Page>
std::unique_ptr<PageBranch> Make(HostWindow& window) {
    return std::make_unique<Page>(window);
}

constexpr PageEntry kPages[] = {
    {PageId::HostControl, "tsHostControl", "主机控制", true, Make<HostControlPage>},
    {PageId::WiredZones, "tsWireDefenceZone", "有线防区", true, Make<WiredZonePage>},
    {PageId::WirelessZones, "tsWirelessDefenceZone", "无线防区", true, Make<WirelessZonePage>},
    {PageId::Communication, "tsCommuncaiotnSetting", "通讯参数", true, Make<CommunicationPage>},
    {PageId::SystemProgram, "tsSystemProgram", "系统编程", true, Make<SystemProgramPage>},
    {PageId::Gprs, "tsGPRS", "GPRS模块", true, Make<GprsPage>},
    {PageId::AlarmInfo, "tsAlarmInfo", "警情信息", false, Make<AlarmInfoPage>},
    {PageId::Debug, "TabSheet4", "调试", false, Make<DebugPage>},
};

constexpr bool InIdOrder() {
    for (size_t i = 0; i < std::size(kPages); ++i)
        if (PageIndex(kPages[i].id) != static_cast<int>(i)) return false;
    return std::size(kPages) == kStandardPageCount;
}
static_assert(InIdOrder(), "one page entry per id, in the ids' order");

}  // namespace

std::span<const PageEntry> PageTable() {
    return kPages;
}

PageBranch& StandardPage(HostWindow& window, PageId id) {
    return window.Page(PageIndex(id));
}

}  // namespace tarnwick

#include "ui/pages/page_widgets.h"

#include <QWidget>
#include <stdexcept>
#include <string>

#include "app/page_table.h"
#include "diagnostics/debug_page.h"
#include "modules/gprs_page.h"
#include "operation/alarm_info_page.h"
#include "operation/host_control_page.h"
#include "programming/communication_page.h"
#include "programming/system_program_page.h"
#include "programming/wired_zone_page.h"
#include "programming/wireless_zone_page.h"
#include "ui/pages/alarm_info_page_widget.h"
#include "ui/pages/communication_page_widget.h"
#include "ui/pages/debug_page_widget.h"
#include "ui/pages/gprs_page_widget.h"
#include "ui/pages/host_control_page_widget.h"
#include "ui/pages/system_program_page_widget.h"
#include "ui/pages/wired_zone_page_widget.h"
#include "ui/pages/wireless_zone_page_widget.h"

namespace tarnwick::ui {
namespace {

using Builder = QWidget* (*)(PageBranch& page, QWidget* parent);

// The widget of a page of type Page; a page of another type in its place is
// a programming error (std::bad_cast).
template <typename Page, QWidget* (*build)(Page&, QWidget*)>
QWidget* Build(PageBranch& page, QWidget* parent) {
    return build(dynamic_cast<Page&>(page), parent);
}

template <typename Page, typename Widget>
QWidget* New(Page& page, QWidget* parent) {
    return new Widget(page, parent);
}

struct WidgetEntry {
    PageId id;
    Builder build;
};

// The Qt half of the page table: one entry per page id, in the same order.
constexpr WidgetEntry kWidgets[] = {
    {PageId::HostControl, Build<HostControlPage, BuildHostControlPageWidget>},
    {PageId::WiredZones, Build<WiredZonePage, BuildWiredZonePageWidget>},
    {PageId::WirelessZones, Build<WirelessZonePage, BuildWirelessZonePageWidget>},
    {PageId::Communication, Build<CommunicationPage, BuildCommunicationPageWidget>},
    {PageId::SystemProgram, Build<SystemProgramPage, BuildSystemProgramPageWidget>},
    {PageId::Gprs, Build<GprsPage, BuildGprsPageWidget>},
    {PageId::AlarmInfo, Build<AlarmInfoPage, New<AlarmInfoPage, AlarmInfoPageWidget>>},
    {PageId::Debug, Build<DebugPage, New<DebugPage, DebugPageWidget>>},
};

constexpr bool InIdOrder() {
    for (size_t i = 0; i < std::size(kWidgets); ++i)
        if (PageIndex(kWidgets[i].id) != static_cast<int>(i)) return false;
    return std::size(kWidgets) == kStandardPageCount;
}
static_assert(InIdOrder(), "one widget entry per page id, in the ids' order");

}  // namespace

QWidget* BuildPageWidget(PageBranch& page, int index, QWidget* parent) {
    if (index < 0 || index >= static_cast<int>(std::size(kWidgets)))
        throw std::logic_error("no widget is built for page " + std::to_string(index));
    return kWidgets[index].build(page, parent);
}

}  // namespace tarnwick::ui

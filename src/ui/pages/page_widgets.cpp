#include "ui/pages/page_widgets.h"

#include <QWidget>
#include <map>
#include <stdexcept>
#include <string>

#include "diagnostics/debug_page.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/gprs_page.h"
#include "operation/alarm_info_page.h"
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

using Builder = QWidget* (*)(PageBranch& page, HostWindow& window, QWidget* parent);

QWidget* BuildDebugPage(PageBranch& page, HostWindow& window, QWidget* parent) {
    return new DebugPageWidget(dynamic_cast<DebugPage&>(page), window.tdm.trace, parent);
}

QWidget* BuildAlarmInfoPage(PageBranch& page, HostWindow&, QWidget* parent) {
    return new AlarmInfoPageWidget(dynamic_cast<AlarmInfoPage&>(page), parent);
}

// A page whose widget needs only its own model.
template <typename Page, QWidget* (*build)(Page&, QWidget*)>
QWidget* BuildOwn(PageBranch& page, HostWindow&, QWidget* parent) {
    return build(dynamic_cast<Page&>(page), parent);
}

// Page name to the function that builds its widget.
const std::map<std::string, Builder>& Builders() {
    static const std::map<std::string, Builder> builders = {
        {"tsHostControl", BuildHostControlPage},
        {"TabSheet4", BuildDebugPage},
        {"tsAlarmInfo", BuildAlarmInfoPage},
        {"tsGPRS", BuildOwn<GprsPage, BuildGprsPageWidget>},
        {"tsWireDefenceZone", BuildOwn<WiredZonePage, BuildWiredZonePageWidget>},
        {"tsWirelessDefenceZone", BuildOwn<WirelessZonePage, BuildWirelessZonePageWidget>},
        {"tsCommuncaiotnSetting", BuildOwn<CommunicationPage, BuildCommunicationPageWidget>},
        {"tsSystemProgram", BuildOwn<SystemProgramPage, BuildSystemProgramPageWidget>},
    };
    return builders;
}

}  // namespace

QWidget* BuildPageWidget(PageBranch& page, HostWindow& window, QWidget* parent) {
    const auto found = Builders().find(page.PageName());
    if (found == Builders().end())
        throw std::logic_error("no widget is built for page " + page.PageName());
    return found->second(page, window, parent);
}

}  // namespace tarnwick::ui

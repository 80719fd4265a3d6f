#include "ui/pages/page_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>
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
#include "ui/control_binder.h"
#include "ui/pages/alarm_info_page_widget.h"
#include "ui/pages/communication_page_widget.h"
#include "ui/pages/debug_page_widget.h"
#include "ui/pages/gprs_page_widget.h"
#include "ui/pages/host_control_page_widget.h"
#include "ui/pages/system_program_page_widget.h"
#include "ui/pages/unplaced_controls.h"
#include "ui/pages/wired_zone_page_widget.h"
#include "ui/pages/wireless_zone_page_widget.h"
#include "ui/widget_factory.h"

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

// A page whose own widget is not built yet: its caption, then a widget for
// every control in declaration order (buttons in one row at the foot), so
// its controls and handlers can be tried before the page is laid out.
QWidget* BuildPlaceholder(PageBranch& page, QWidget* parent) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(QString::fromStdString(page.PageName()));
    auto* layout = new QVBoxLayout(widget);
    auto* caption = new QLabel(QString::fromStdString(page.Caption()), widget);
    caption->setStyleSheet("color: #1d3f66; font-size: 16pt; font-weight: bold;");
    layout->addWidget(caption);
    auto* fields = new QGridLayout;
    constexpr int kColumns = 4;
    int placed = 0;
    auto* row = new QHBoxLayout;
    for (const auto& control : page.Controls().Controls()) {
        QWidget* w = MakeWidgetOfKind(widget, *control);
        if (control->kind == ControlKind::Button) {
            row->addWidget(w);
        } else {
            fields->addWidget(w, placed / kColumns, placed % kColumns);
            ++placed;
        }
    }
    layout->addLayout(fields);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    auto* binder = new ControlBinder(page.Controls(), widget);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    return widget;
}

}  // namespace

QWidget* BuildPageWidget(PageBranch& page, HostWindow& window, QWidget* parent) {
    const auto found = Builders().find(page.PageName());
    if (found == Builders().end()) return BuildPlaceholder(page, parent);
    return found->second(page, window, parent);
}

}  // namespace tarnwick::ui

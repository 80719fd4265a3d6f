#include "ui/pages/remote_commands_widget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

#include "operation/host_status.h"
#include "ui/pictures.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kSwitchIconSize = 24;
constexpr int kGridColumns = 6;

// Where each button sits in a grid of six equal columns, in reading order.
struct Place {
    const char* name;
    int row, column, span;
};
constexpr Place kPlaces[] = {{"bbtnOutArming", 0, 0, 2},    {"bbtnInArming", 0, 2, 2},
                             {"bbtnDisArming", 0, 4, 2},    {"bbtnHostReset", 1, 0, 2},
                             {"bbtnDisAlarm", 1, 2, 2},     {"bbtnPowerReset", 1, 4, 2},
                             {"bbtnOnOffLinkage", 2, 0, 3}, {"bbtnOnOffAlarmSound", 2, 3, 3},
                             {"bbtnTimeSync", 3, 0, 2},     {"bbtnCodeMatching", 3, 2, 4}};

}  // namespace

QGroupBox* BuildRemoteCommandsGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("报警主机控制"), parent);
    group->setObjectName("gbAlarmHost");
    auto* grid = new QGridLayout(group);
    for (const Place& place : kPlaces) {
        QPushButton* button = MakeButton(group, place.name);
        button->setMinimumHeight(32);
        grid->addWidget(button, place.row, place.column, 1, place.span);
    }
    for (int column = 0; column < kGridColumns; ++column) grid->setColumnStretch(column, 1);
    for (const char* name : {"bbtnOnOffLinkage", "bbtnOnOffAlarmSound"}) {
        auto* button = group->findChild<QPushButton*>(name);
        button->setProperty("imageList", PicturePath("onoff%1.png"));
        button->setIconSize({kSwitchIconSize, kSwitchIconSize});
    }
    return group;
}

}  // namespace tarnwick::ui

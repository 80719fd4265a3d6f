#include "ui/pages/remote_commands_widget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

#include "operation/host_status.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kSwitchIconSize = 24;
constexpr int kButtonsPerRow = 3;

}  // namespace

QGroupBox* BuildRemoteCommandsGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("报警主机控制"), parent);
    group->setObjectName("gbAlarmHost");
    auto* grid = new QGridLayout(group);
    const char* buttons[] = {"bbtnOutArming",   "bbtnInArming",     "bbtnDisArming",
                             "bbtnHostReset",   "bbtnOnOffLinkage", "bbtnOnOffAlarmSound",
                             "bbtnDisAlarm",    "bbtnPowerReset",   "bbtnTimeSync",
                             "bbtnCodeMatching"};
    int index = 0;
    for (const char* name : buttons) {
        QPushButton* button = MakeButton(group, name);
        button->setMinimumHeight(32);
        grid->addWidget(button, index / kButtonsPerRow, index % kButtonsPerRow);
        ++index;
    }
    for (const char* name : {"bbtnOnOffLinkage", "bbtnOnOffAlarmSound"}) {
        auto* button = group->findChild<QPushButton*>(name);
        button->setProperty("imageList", QStringLiteral(":/images/onoff%1.png"));
        button->setIconSize({kSwitchIconSize, kSwitchIconSize});
    }
    for (int column = 0; column < kButtonsPerRow; ++column) grid->setColumnStretch(column, 1);
    // The pairing button spans the rest of its row.
    auto* pairing = group->findChild<QPushButton*>("bbtnCodeMatching");
    grid->addWidget(pairing, (index - 1) / kButtonsPerRow, (index - 1) % kButtonsPerRow, 1,
                    kButtonsPerRow);
    return group;
}

}  // namespace tarnwick::ui

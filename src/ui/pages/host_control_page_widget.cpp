#include "ui/pages/host_control_page_widget.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "operation/host_control_page.h"
#include "programming/schedule_groups.h"
#include "ui/control_binder.h"
#include "ui/pages/host_status_group_widget.h"
#include "ui/pages/nm_groups_widget.h"
#include "ui/pages/remote_commands_widget.h"
#include "ui/pages/schedule_groups_widget.h"
#include "ui/pages/unplaced_controls.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

QWidget* BuildHostControlPageWidget(HostControlPage& page, QWidget* parent) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(QString::fromStdString(page.PageName()));
    auto* columns = new QHBoxLayout(widget);

    auto* left = new QVBoxLayout;
    left->addWidget(BuildHostStatusGroup(widget));
    left->addWidget(BuildRemoteCommandsGroup(widget));
    left->addStretch(1);
    columns->addLayout(left, 4);

    auto* middle = new QVBoxLayout;
    for (int g = 1; g <= kScheduleGroupCount; ++g) middle->addWidget(BuildScheduleGroup(widget, g));
    middle->addStretch(1);
    columns->addLayout(middle, 4);

    auto* right = new QVBoxLayout;
    right->addWidget(BuildNmGroups(widget));
    right->addStretch(1);
    // btnExit, the page's own quit button, at the foot of the last column.
    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    QPushButton* exit = MakeButton(widget, "btnExit");
    exit->setMinimumWidth(90);
    exitRow->addWidget(exit);
    right->addLayout(exitRow);
    right->addWidget(BuildUnplacedControls(page.Controls(), widget));
    columns->addLayout(right, 5);

    auto* binder = new ControlBinder(page.Controls(), widget);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    return widget;
}

}  // namespace tarnwick::ui

#include "ui/pages/host_control_page_widget.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "hosts/page_branch.h"
#include "programming/schedule_groups.h"
#include "ui/control_binder.h"
#include "ui/pages/host_status_group_widget.h"
#include "ui/pages/nm_groups_widget.h"
#include "ui/pages/remote_commands_widget.h"
#include "ui/pages/schedule_groups_widget.h"
#include "ui/pages/unplaced_controls.h"

namespace tarnwick::ui {

QWidget* BuildHostControlPage(PageBranch& page, HostWindow&, QWidget* parent) {
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
    right->addWidget(BuildUnplacedControls(page.Controls(), widget));
    right->addStretch(1);
    columns->addLayout(right, 5);

    auto* binder = new ControlBinder(page.Controls(), widget);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    return widget;
}

}  // namespace tarnwick::ui

#include "ui/pages/host_control_page_widget.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include "hosts/page_branch.h"
#include "ui/control_binder.h"
#include "ui/pages/nm_groups_widget.h"

namespace tarnwick::ui {

QWidget* BuildHostControlPage(PageBranch& page, QWidget* parent) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(QString::fromStdString(page.PageName()));
    auto* columns = new QHBoxLayout(widget);

    // The status display and the remote commands go in this column.
    auto* left = new QVBoxLayout;
    left->addStretch(1);
    columns->addLayout(left, 1);

    // The two timed arming groups go in this column.
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    columns->addLayout(middle, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(BuildNmGroups(widget));
    right->addStretch(1);
    columns->addLayout(right, 1);

    auto* binder = new ControlBinder(page.Controls(), widget);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    return widget;
}

}  // namespace tarnwick::ui

#include "ui/pages/nm_groups_widget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "protocol/text_helpers.h"
#include "ui/qt_text.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

// A caption in column 0 of a grid row, `input` beside it as its buddy.
template <typename W>
W* Captioned(QGridLayout* grid, int row, const char* caption, W* input, int span = 2) {
    auto* label = new QLabel(Q(caption), input->parentWidget());
    label->setBuddy(input);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, row, 0);
    grid->addWidget(input, row, 1, 1, span);
    return input;
}

// A centre's address with its port edit beside it.
void CentreRow(QGridLayout* grid, int row, const char* caption, const char* ip, const char* port,
               const char* portHint) {
    QWidget* parent = grid->parentWidget();
    Captioned(grid, row, caption, MakeEdit(parent, ip), 1);
    QLineEdit* portEdit = MakeEdit(parent, port);
    portEdit->setPlaceholderText(Q(portHint));
    portEdit->setMaximumWidth(72);
    grid->addWidget(portEdit, row, 2);
}

QGroupBox* BuildNmInfo(QWidget* parent) {
    auto* box = new QGroupBox(Q("网管模块信息"), parent);
    box->setObjectName("gbNMInfo");
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    int row = 0;
    Captioned(grid, row++, "设备ID号：", MakeEdit(box, "edtNMDeviceID"));
    Captioned(grid, row++, "心跳间隔时间：", MakeEdit(box, "edtNMHeartbeatInterval"));
    Captioned(grid, row++, "第一中心域名：", MakeEdit(box, "edtNMDomainName1"));
    CentreRow(grid, row++, "第一中心IP：", "edtNMIP1", "edtNMPort1", "端口号1");
    Captioned(grid, row++, "第二中心域名：", MakeEdit(box, "edtNMDomainName2"));
    CentreRow(grid, row++, "第二中心IP：", "edtNMIP2", "edtNMPort2", "端口号2");
    Captioned(grid, row++, "网络管理：", MakeCombo(box, "cbNMInfo"));
    auto* switches = new QListWidget(box);
    switches->setObjectName("chklbNMInfo");
    switches->setFixedHeight(switches->fontMetrics().height() * 3 + 16);
    grid->addWidget(switches, row++, 1, 1, 2);
    Captioned(grid, row, "升级文件地址：", MakeEdit(box, "edtUpdateAddr"), 1);
    grid->addWidget(MakeButton(box, "bbtnUpdate"), row++, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(MakeButton(box, "bbtnRebootNM"));
    buttons->addWidget(MakeButton(box, "bbtnDefaultSetNM"));
    grid->addLayout(buttons, row++, 0, 1, 3);
    return box;
}

QGroupBox* BuildLocalNetwork(QWidget* parent) {
    auto* box = new QGroupBox(Q("本地网络参数"), parent);
    box->setObjectName("GroupBox5");
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    for (const char* name : {"rbtnDHCP", "rbtnStaticIP"})
        grid->addWidget(MakeRadio(box, name), grid->rowCount(), 0, 1, 2);
    Captioned(grid, grid->rowCount(), "本地IP地址：", MakeEdit(box, "edtLocalIP"), 1);
    Captioned(grid, grid->rowCount(), "子网掩码：", MakeEdit(box, "edtLocalMask"), 1);
    Captioned(grid, grid->rowCount(), "默认网关：", MakeEdit(box, "edtLocalGateway"), 1);
    return box;
}

}  // namespace

QWidget* BuildNmGroups(QWidget* parent) {
    auto* widget = new QWidget(parent);
    widget->setObjectName("NmGroups");
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildNmInfo(widget));
    layout->addWidget(BuildLocalNetwork(widget));
    return widget;
}

}  // namespace tarnwick::ui

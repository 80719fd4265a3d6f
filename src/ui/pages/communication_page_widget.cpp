#include "ui/pages/communication_page_widget.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "programming/communication_page.h"
#include "ui/pages/programming_widgets.h"

namespace tarnwick::ui {
namespace {

// One caption and its input as a row of a form.
void AddRow(QFormLayout* form, const ProgrammingWidgets& widgets, QWidget* parent,
            const std::string& caption, QWidget* input) {
    form->addRow(widgets.Caption(parent, caption, input), input);
}

QWidget* UsersAndNumbers(QWidget* parent, const ProgrammingWidgets& widgets) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    std::vector<std::string> users;
    for (int user = 1; user <= CommunicationPage::kUsers; ++user)
        users.push_back(CommunicationPage::UserCaption(user));
    layout->addWidget(ControlGrid(column, widgets, "用户设置", users,
                                  {{"cbArmingType", "布防类型", GridColumn::List},
                                   {"edtUserCode", "用户码", GridColumn::Edit, 4}}));
    std::vector<std::string> numbers;
    for (int number = 1; number <= CommunicationPage::kNumbers; ++number)
        numbers.push_back(CommunicationPage::NumberCaption(number));
    layout->addWidget(ControlGrid(column, widgets, "接警电话", numbers,
                                  {{"cbAlarmCallType", "报警电话类型", GridColumn::List},
                                   {"edtAlarmCall", "接警电话号码", GridColumn::Edit, 18}}));
    layout->addStretch(1);
    return column;
}

QWidget* CodesAndTiming(QWidget* parent, const ProgrammingWidgets& widgets) {
    auto* box = new QGroupBox(QStringLiteral("通讯与时间设置"), parent);
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setVerticalSpacing(4);
    AddRow(form, widgets, box, "安装员码", widgets.Edit(box, "edtSetterCode", 6));
    AddRow(form, widgets, box, "用户账号", widgets.Edit(box, "edtUserAccount", 6));
    for (const CommunicationPage::ValueList& list : CommunicationPage::kValueLists) {
        AddRow(form, widgets, box, std::string(list.caption),
               widgets.Combo(box, std::string(list.control)));
        if (list.control == "cbRepeatInterval")
            AddRow(form, widgets, box, "通讯失败重播轮数", widgets.Combo(box, "cbRepeatTimes"));
    }
    // The eight digits of the siren address side by side.
    auto* address = new QWidget(box);
    auto* digits = new QHBoxLayout(address);
    digits->setContentsMargins(0, 0, 0, 0);
    digits->setSpacing(2);
    QWidget* first = nullptr;
    for (int digit = 1; digit <= CommunicationPage::kSirenAddressDigits; ++digit) {
        QComboBox* combo = widgets.Combo(address, Numbered("cbWirelessAlarmAddress", digit));
        if (!first) first = combo;
        digits->addWidget(combo);
    }
    form->addRow(widgets.Caption(box, "无线警号地址码", first), address);
    AddRow(form, widgets, box, "转发邻居最短间隔", widgets.Combo(box, "cbNeighborDileInterval"));
    AddRow(form, widgets, box, "DTMF的持续时间", widgets.Combo(box, "cbDTMFTime"));
    AddRow(form, widgets, box, "DTMF的间隔时间", widgets.Combo(box, "cbDTMFInterval"));
    return box;
}

}  // namespace

QWidget* BuildCommunicationPageWidget(CommunicationPage& page, QWidget* parent) {
    ProgrammingWidgets widgets;
    auto* content = new QWidget;
    auto* layout = new QHBoxLayout(content);
    layout->addWidget(UsersAndNumbers(content, widgets));
    auto* right = new QVBoxLayout;
    right->addWidget(CodesAndTiming(content, widgets));
    right->addStretch(1);
    layout->addLayout(right);
    layout->addStretch(1);
    return PageWidget(page, parent, content);
}

}  // namespace tarnwick::ui

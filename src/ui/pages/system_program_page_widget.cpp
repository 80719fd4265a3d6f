#include "ui/pages/system_program_page_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "programming/system_program_page.h"
#include "ui/pages/programming_widgets.h"
#include "ui/qt_text.h"

namespace tarnwick::ui {
namespace {

// Groups sit close together so the whole page fits the window.
void Compact(QLayout* layout) {
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
}

// A group of the boxes base + from .. base + to, in `columns` columns filled
// row by row, so that Tab goes along the lines as they are read.
QGroupBox* Boxes(QWidget* parent, const ProgrammingWidgets& widgets, std::string_view title,
                 std::string_view base, int from, int to, int columns = 1) {
    auto* group = new QGroupBox(Q(title), parent);
    auto* grid = new QGridLayout(group);
    Compact(grid);
    for (int n = from; n <= to; ++n) {
        const int i = n - from;
        grid->addWidget(widgets.Check(group, Numbered(base, n)), i / columns, i % columns);
    }
    return group;
}

// Two radio buttons that exclude each other, in a group of their own.
QGroupBox* RadioPair(QWidget* parent, const ProgrammingWidgets& widgets, const char* title,
                     const std::string& first, const std::string& second) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    auto* layout = new QVBoxLayout(group);
    Compact(layout);
    layout->addWidget(widgets.Radio(group, first));
    layout->addWidget(widgets.Radio(group, second));
    return group;
}

// A column of groups, top-aligned.
QVBoxLayout* Column(std::initializer_list<QWidget*> groups) {
    auto* column = new QVBoxLayout;
    for (QWidget* group : groups) column->addWidget(group);
    column->addStretch(1);
    return column;
}

}  // namespace

QWidget* BuildSystemProgramPageWidget(SystemProgramPage& page, QWidget* parent) {
    ProgrammingWidgets widgets;
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->setVerticalSpacing(4);
    const auto& relay = SystemProgramPage::kFlagGroups[0];
    const auto& output = SystemProgramPage::kFlagGroups[1];
    const auto& siren = SystemProgramPage::kFlagGroups[2];
    const auto& control1 = SystemProgramPage::kFlagGroups[3];
    const auto& report1 = SystemProgramPage::kFlagGroups[4];
    const auto& report2 = SystemProgramPage::kFlagGroups[5];
    const auto& control2 = SystemProgramPage::kSystemControl2;
    const auto& neighbour = SystemProgramPage::kNeighborDile;

    // Three columns: the relay with system control one, the output with
    // event report one, the siren (its spare eighth digit has no box) with
    // system control two and the two output modes. Widgets are made in
    // reading order, column by column, which is the Tab order.
    grid->addLayout(
        Column({Boxes(content, widgets, relay.caption, relay.base, 1, relay.count),
                Boxes(content, widgets, control1.caption, control1.base, 1, control1.count)}),
        0, 0);
    grid->addLayout(
        Column({Boxes(content, widgets, output.caption, output.base, 1, output.count),
                Boxes(content, widgets, report1.caption, report1.base, 1, report1.count)}),
        0, 1);
    QGroupBox* sirenGroup = Boxes(content, widgets, siren.caption, siren.base, 1, siren.count - 1);
    QGroupBox* second = Boxes(content, widgets, control2.caption, control2.base, 1, control2.count);
    auto* modes = new QHBoxLayout;
    modes->addWidget(RadioPair(second, widgets, "可编程继电器输出方式", "rbtnSystemControl25",
                               "rbtnSystemControl25_"));
    modes->addWidget(RadioPair(second, widgets, "可编程输出方式", "rbtnSystemControl26",
                               "rbtnSystemControl26_"));
    static_cast<QGridLayout*>(second->layout())->addLayout(modes, control2.count, 0);
    grid->addLayout(Column({sirenGroup, second}), 0, 2);

    // Below: event report two with the numbers that receive reports, then
    // neighbour dialling and the dual network switch.
    QGroupBox* reports = Boxes(content, widgets, report2.caption, report2.base, 1, 2, 2);
    static_cast<QGridLayout*>(reports->layout())
        ->addWidget(
            Boxes(reports, widgets, "事件上报对应号码组", report2.base, 3, report2.count, 4), 1, 0,
            1, 2);
    grid->addWidget(reports, 1, 0, 1, 2, Qt::AlignTop);
    grid->addLayout(
        Column({Boxes(content, widgets, neighbour.caption, neighbour.base, 1, neighbour.count),
                RadioPair(content, widgets, "双网切换", "rbDualNetwork1", "rbDualNetwork2")}),
        1, 2);
    grid->setRowStretch(2, 1);
    for (int col = 0; col < 3; ++col) grid->setColumnStretch(col, 1);
    return PageWidget(page, parent, content);
}

}  // namespace tarnwick::ui

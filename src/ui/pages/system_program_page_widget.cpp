#include "ui/pages/system_program_page_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "programming/system_program_page.h"
#include "ui/pages/programming_widgets.h"

namespace tarnwick::ui {
namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

std::string Name(std::string_view base, int n) {
    return std::string(base) + std::to_string(n);
}

// A group of the boxes base + from .. base + to, in `columns` columns filled
// row by row, so that Tab goes along the lines as they are read.
QGroupBox* Boxes(QWidget* parent, const ProgrammingWidgets& widgets, std::string_view title,
                 std::string_view base, int from, int to, int columns = 1) {
    auto* group = new QGroupBox(Q(title), parent);
    auto* grid = new QGridLayout(group);
    for (int n = from; n <= to; ++n) {
        const int i = n - from;
        grid->addWidget(widgets.Check(group, Name(base, n)), i / columns, i % columns);
    }
    return group;
}

// Two radio buttons that exclude each other, in a group of their own.
QGroupBox* RadioPair(QWidget* parent, const ProgrammingWidgets& widgets, const char* title,
                     const std::string& first, const std::string& second) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(widgets.Radio(group, first));
    layout->addWidget(widgets.Radio(group, second));
    return group;
}

}  // namespace

QWidget* BuildSystemProgramPageWidget(SystemProgramPage& page, QWidget* parent) {
    ProgrammingWidgets widgets(page);
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    const auto& relay = SystemProgramPage::kFlagGroups[0];
    const auto& output = SystemProgramPage::kFlagGroups[1];
    const auto& siren = SystemProgramPage::kFlagGroups[2];
    const auto& control1 = SystemProgramPage::kFlagGroups[3];
    const auto& report1 = SystemProgramPage::kFlagGroups[4];
    const auto& report2 = SystemProgramPage::kFlagGroups[5];
    const auto& control2 = SystemProgramPage::kSystemControl2;
    const auto& neighbour = SystemProgramPage::kNeighborDile;

    // Row one: what switches the relay, the output and the siren. The
    // eighth siren digit is spare and has no box.
    grid->addWidget(Boxes(content, widgets, relay.caption, relay.base, 1, relay.count), 0, 0);
    grid->addWidget(Boxes(content, widgets, output.caption, output.base, 1, output.count), 0, 1);
    grid->addWidget(Boxes(content, widgets, siren.caption, siren.base, 1, siren.count - 1), 0, 2);

    // Row two: system control one and two with the two output modes.
    grid->addWidget(Boxes(content, widgets, control1.caption, control1.base, 1, control1.count), 1,
                    0);
    QGroupBox* second = Boxes(content, widgets, control2.caption, control2.base, 1, control2.count);
    auto* modes = new QGridLayout;
    modes->addWidget(RadioPair(second, widgets, "可编程继电器输出方式", "rbtnSystemControl25",
                               "rbtnSystemControl25_"),
                     0, 0);
    modes->addWidget(
        RadioPair(second, widgets, "可编程输出方式", "rbtnSystemControl26", "rbtnSystemControl26_"),
        0, 1);
    static_cast<QGridLayout*>(second->layout())->addLayout(modes, control2.count, 0);
    grid->addWidget(second, 1, 1, 1, 2);

    // Row three: the event report switches; the numbers that receive
    // reports in a group of their own, two columns of four.
    grid->addWidget(Boxes(content, widgets, report1.caption, report1.base, 1, report1.count), 2, 0);
    QGroupBox* reports = Boxes(content, widgets, report2.caption, report2.base, 1, 2);
    reports->layout()->addWidget(
        Boxes(reports, widgets, "事件上报对应号码组", report2.base, 3, report2.count, 2));
    grid->addWidget(reports, 2, 1);

    // Row four beside it: neighbour dialling and the dual network switch.
    auto* last = new QVBoxLayout;
    last->addWidget(Boxes(content, widgets, neighbour.caption, neighbour.base, 1, neighbour.count));
    last->addWidget(RadioPair(content, widgets, "双网切换", "rbDualNetwork1", "rbDualNetwork2"));
    last->addStretch(1);
    grid->addLayout(last, 2, 2);
    grid->setRowStretch(3, 1);
    for (int col = 0; col < 3; ++col) grid->setColumnStretch(col, 1);

    return PageWidget(page, parent, content);
}

}  // namespace tarnwick::ui

#include "ui/pages/unplaced_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "hosts/page_model.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

QWidget* MakePlain(QWidget* parent, const Control& control) {
    const char* name = control.name.c_str();
    switch (control.kind) {
        case ControlKind::Edit:
            return MakeEdit(parent, name);
        case ControlKind::ComboBox:
            return MakeCombo(parent, name);
        case ControlKind::CheckBox:
        case ControlKind::Toggle:
            return MakeCheck(parent, name);
        case ControlKind::RadioButton:
            return MakeRadio(parent, name);
        case ControlKind::Label:
            return MakeLabel(parent, name);
        case ControlKind::Button:
            return MakeButton(parent, name);
        case ControlKind::CheckList:
            return MakeCheckList(parent, name);
        case ControlKind::Grid:
            return MakeGrid(parent, name);
        case ControlKind::Memo:
            return MakeMemo(parent, name);
    }
    return MakeLabel(parent, name);
}

}  // namespace

QWidget* MakeWidgetOfKind(QWidget* parent, const Control& control) {
    return MakePlain(parent, control);
}

QWidget* BuildUnplacedControls(const PageModel& model, QWidget* page) {
    auto* box = new QWidget(page);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    constexpr int kColumns = 2;
    int placed = 0;
    for (const auto& control : model.Controls()) {
        if (!control->visible || page->findChild<QWidget*>(QString::fromStdString(control->name)))
            continue;
        grid->addWidget(MakeWidgetOfKind(box, *control), placed / kColumns, placed % kColumns);
        ++placed;
    }
    box->setVisible(placed > 0);
    return box;
}

}  // namespace tarnwick::ui

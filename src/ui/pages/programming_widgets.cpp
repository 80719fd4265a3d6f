#include "ui/pages/programming_widgets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "programming/programming_page.h"
#include "ui/control_binder.h"
#include "ui/fit_to_screen.h"
#include "ui/qt_text.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

QComboBox* ProgrammingWidgets::Combo(QWidget* parent, const std::string& name) const {
    QComboBox* combo = MakeCombo(parent, name.c_str());
    // As wide as its longest entry: no entry is cut.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QLineEdit* ProgrammingWidgets::Edit(QWidget* parent, const std::string& name,
                                    int minimumChars) const {
    QLineEdit* edit = MakeEdit(parent, name.c_str());
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * (minimumChars + 2));
    return edit;
}

QCheckBox* ProgrammingWidgets::Check(QWidget* parent, const std::string& name) const {
    return MakeCheck(parent, name.c_str());
}

QRadioButton* ProgrammingWidgets::Radio(QWidget* parent, const std::string& name) const {
    return MakeRadio(parent, name.c_str());
}

QLabel* ProgrammingWidgets::Caption(QWidget* parent, const std::string& text,
                                    QWidget* buddy) const {
    auto* label = new QLabel(Q(text), parent);
    label->setBuddy(buddy);
    return label;
}

QWidget* ControlGrid(QWidget* parent, const ProgrammingWidgets& widgets, const std::string& title,
                     const std::vector<std::string>& rowCaptions,
                     const std::vector<GridColumn>& columns) {
    auto* box = new QGroupBox(Q(title), parent);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    for (size_t col = 0; col < columns.size(); ++col) {
        auto* header = new QLabel(Q(columns[col].caption), box);
        header->setAlignment(Qt::AlignCenter);
        grid->addWidget(header, 0, static_cast<int>(col) + 1);
    }
    for (size_t row = 0; row < rowCaptions.size(); ++row) {
        const int r = static_cast<int>(row) + 1;
        QWidget* first = nullptr;
        auto* rowLabel = new QLabel(Q(rowCaptions[row]), box);
        grid->addWidget(rowLabel, r, 0);
        for (size_t col = 0; col < columns.size(); ++col) {
            const std::string name = Numbered(columns[col].base, r);
            const GridColumn& column = columns[col];
            QWidget* cell;
            if (column.kind == GridColumn::Check) {
                cell = widgets.Check(box, name);
                grid->addWidget(cell, r, static_cast<int>(col) + 1, Qt::AlignCenter);
            } else {
                cell = column.kind == GridColumn::List
                           ? static_cast<QWidget*>(widgets.Combo(box, name))
                           : widgets.Edit(box, name, column.chars);
                grid->addWidget(cell, r, static_cast<int>(col) + 1);
            }
            if (!first) first = cell;
        }
        rowLabel->setBuddy(first);
    }
    grid->setColumnStretch(static_cast<int>(columns.size()) + 1, 1);
    return box;
}

QWidget* ZonePageWidget(ProgrammingPage& page, QWidget* parent,
                        const std::vector<std::string>& rowCaptions,
                        const std::vector<GridColumn>& columns, const std::string& crossGroup,
                        const std::vector<std::string>& crossLists) {
    ProgrammingWidgets widgets;
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(ControlGrid(content, widgets, page.Caption(), rowCaptions, columns));

    auto* cross = new QGroupBox(Q(crossGroup), content);
    auto* row = new QHBoxLayout(cross);
    const char* captions[] = {"防区1", "防区2", "交叉时间", "触发次数"};
    for (size_t i = 0; i < std::size(captions) && i < crossLists.size(); ++i) {
        QComboBox* combo = widgets.Combo(cross, crossLists[i]);
        row->addWidget(widgets.Caption(cross, captions[i], combo));
        row->addWidget(combo);
        row->addSpacing(16);
    }
    row->addStretch(1);
    layout->addWidget(cross);
    layout->addStretch(1);

    return PageWidget(page, parent, content);
}

QWidget* PageWidget(ProgrammingPage& page, QWidget* parent, QWidget* content) {
    QScrollArea* scroll = Scrolled(content, parent);
    scroll->setObjectName(Q(page.PageName()));
    auto* binder = new ControlBinder(page.Controls(), content);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    // Filled now: no list is squeezed below its longest entry; a narrow
    // window scrolls the page instead.
    for (QComboBox* combo : content->findChildren<QComboBox*>())
        combo->setMinimumWidth(combo->sizeHint().width());
    return scroll;
}

}  // namespace tarnwick::ui

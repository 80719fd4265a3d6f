#pragma once
#include <string>
#include <vector>

class QWidget;
class QComboBox;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QLabel;

namespace tarnwick {
class ProgrammingPage;
}

namespace tarnwick::ui {

// Named widgets of a programming page (the binder names each by its
// control's caption). Create them in reading order: that is the Tab order.
class ProgrammingWidgets {
  public:
    // A list as wide as its longest entry.
    QComboBox* Combo(QWidget* parent, const std::string& name) const;
    QLineEdit* Edit(QWidget* parent, const std::string& name, int minimumChars = 8) const;
    // A box; it shows the text its control holds (none in a grid).
    QCheckBox* Check(QWidget* parent, const std::string& name) const;
    QRadioButton* Radio(QWidget* parent, const std::string& name) const;
    // A caption label that is the buddy of an input.
    QLabel* Caption(QWidget* parent, const std::string& text, QWidget* buddy) const;
};

// One column of a grid: the controls' base name, the caption on top, the
// kind of control, and for an edit the width it needs in characters (a
// list takes its longest entry's).
struct GridColumn {
    enum Kind { List, Check, Edit };
    std::string base;
    std::string caption;
    Kind kind = Check;
    int chars = 0;
};

// A group box holding a grid: column captions along the top, one row
// per zone with its caption on the left; row r holds the controls base + r.
QWidget* ControlGrid(QWidget* parent, const ProgrammingWidgets& widgets, const std::string& title,
                     const std::vector<std::string>& rowCaptions,
                     const std::vector<GridColumn>& columns);

// A zone page: the zone grid over the cross-zone group, whose four lists
// are the pair, the cross time and the trigger count.
QWidget* ZonePageWidget(ProgrammingPage& page, QWidget* parent,
                        const std::vector<std::string>& rowCaptions,
                        const std::vector<GridColumn>& columns, const std::string& crossGroup,
                        const std::vector<std::string>& crossLists);

// The page's widget: its content in a scroll area named after the page, so
// nothing is clipped on a small screen, bound to the page's model with the
// one binder.
QWidget* PageWidget(ProgrammingPage& page, QWidget* parent, QWidget* content);

}  // namespace tarnwick::ui

#pragma once

class QGridLayout;
class QLineEdit;
class QWidget;

namespace tarnwick {
class PageModel;
}

namespace tarnwick::ui {

// The edit `edit` of `model` in row `row` of `grid`, its label `label` in
// front as its buddy, and the control's caption as its accessible name.
QLineEdit* AddCaptionedEdit(QGridLayout* grid, int row, QWidget* parent, const PageModel& model,
                            const char* edit, const char* label);

}  // namespace tarnwick::ui

#pragma once

class QGridLayout;
class QLineEdit;
class QWidget;

namespace tarnwick {
class PageModel;
struct CaptionedEdit;
}  // namespace tarnwick

namespace tarnwick::ui {

// The edit of `field` in row `row` of `grid`, its label in front as its
// buddy, and its caption as its accessible name.
QLineEdit* AddCaptionedEdit(QGridLayout* grid, int row, QWidget* parent, const PageModel& model,
                            const CaptionedEdit& field);

}  // namespace tarnwick::ui

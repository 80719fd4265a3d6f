#pragma once

class QBoxLayout;
class QDialog;
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

// The dialog's foot: the room its fixed size leaves (so the banner stays at
// the very top), then the default button `okName` and `cancelName`, which
// accept and reject it.
void AddAcceptCancelRow(QBoxLayout* layout, QDialog* dialog, const char* okName,
                        const char* cancelName);

}  // namespace tarnwick::ui

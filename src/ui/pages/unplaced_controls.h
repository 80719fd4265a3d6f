#pragma once

class QWidget;

namespace tarnwick {
struct Control;
class PageModel;
}  // namespace tarnwick

namespace tarnwick::ui {

// A plain widget of the control's kind, named after it.
QWidget* MakeWidgetOfKind(QWidget* parent, const Control& control);

// For a page laid out only in part: a box under `page` holding a plain widget
// for every visible control of `model` that has no widget under `page` yet,
// so the binder finds each control while its group is still to be laid out.
// Build it last, just before the binder.
QWidget* BuildUnplacedControls(const PageModel& model, QWidget* page);

}  // namespace tarnwick::ui

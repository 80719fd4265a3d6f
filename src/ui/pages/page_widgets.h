#pragma once

class QWidget;

namespace tarnwick {
class PageBranch;
}  // namespace tarnwick

namespace tarnwick::ui {

// The widget of a page of the host window, built by the widget table's
// entry for the page table's place the page stands in (`index`). Every
// page's widget is made from its model and the parent.
QWidget* BuildPageWidget(PageBranch& page, int index, QWidget* parent);

}  // namespace tarnwick::ui

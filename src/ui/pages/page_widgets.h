#pragma once

class QWidget;

namespace tarnwick {
class HostWindow;
class PageBranch;
}  // namespace tarnwick

namespace tarnwick::ui {

// The widget of a host window page, found by the page's name. A page whose
// widget is not built yet shows its caption and its own buttons.
QWidget* BuildPageWidget(PageBranch& page, HostWindow& window, QWidget* parent);

}  // namespace tarnwick::ui

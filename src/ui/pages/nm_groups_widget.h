#pragma once

class QWidget;

namespace tarnwick::ui {

// gbNMInfo and GroupBox5 of the first page, one above the other: the network
// module's settings with its restart, factory reset and upgrade, and its
// local network settings. Widgets only; the page's one binder binds them.
QWidget* BuildNmGroups(QWidget* parent);

}  // namespace tarnwick::ui

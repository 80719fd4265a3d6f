#pragma once

class QMainWindow;
class QMenu;

namespace tarnwick {
class ConfigActions;
class HostWindow;
}  // namespace tarnwick

namespace tarnwick::ui {

// The host window's "配置" menu: backup, compare and restore of the host's
// configuration, with the file dialogs and the comparison table they show.
QMenu* AddConfigMenu(QMainWindow* form, HostWindow& window, ConfigActions& actions);

}  // namespace tarnwick::ui

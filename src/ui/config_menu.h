#pragma once

namespace tarnwick {
class ConfigActions;
class HostWindow;
}  // namespace tarnwick

namespace tarnwick::ui {

class TFormMain;

// Fills the host window's configuration menu: backup, compare and restore of
// the host's configuration, with the file dialogs and the comparison table
// they show.
void AddConfigMenu(TFormMain& form, HostWindow& window, ConfigActions& actions);

}  // namespace tarnwick::ui

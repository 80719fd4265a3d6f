#pragma once
#include <string>

class QWidget;

namespace tarnwick::ui {

// Lists read out as a screen reader expects them on the accessibility bus:
// the caption is the name and the chosen entry the value (as text), where
// Qt itself names a list by its entry. Installed once, before any window.
void InstallAccessibility();

// An input's accessible name: its caption as it is read out. An editable
// list's own edit is read out alike.
void NameInput(QWidget* input, const std::string& caption);

// A group box inside another is read out by its own title, not by the
// group around it.
void NameGroups(QWidget* root);

}  // namespace tarnwick::ui

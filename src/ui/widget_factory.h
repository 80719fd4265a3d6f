#pragma once
#include <QString>

class QWidget;
class QLineEdit;
class QComboBox;
class QPushButton;
class QCheckBox;
class QLabel;
class QRadioButton;
class QListWidget;
class QTableWidget;
class QPlainTextEdit;

namespace tarnwick::ui {

// Widgets named after the model's controls; the binder fills in the rest.
QLineEdit* MakeEdit(QWidget* parent, const char* name);
QComboBox* MakeCombo(QWidget* parent, const char* name);
QPushButton* MakeButton(QWidget* parent, const char* name);
QCheckBox* MakeCheck(QWidget* parent, const char* name);
QRadioButton* MakeRadio(QWidget* parent, const char* name);
QLabel* MakeLabel(QWidget* parent, const char* name, const char* text = "");
QListWidget* MakeCheckList(QWidget* parent, const char* name);
QTableWidget* MakeGrid(QWidget* parent, const char* name);
// A memo the operator reads: read-only.
QPlainTextEdit* MakeMemo(QWidget* parent, const char* name);

}  // namespace tarnwick::ui

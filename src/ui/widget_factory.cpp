#include "ui/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace tarnwick::ui {
namespace {

template <typename W>
W* Named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

}  // namespace

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    return Named<QLineEdit>(parent, name);
}
QComboBox* MakeCombo(QWidget* parent, const char* name) {
    return Named<QComboBox>(parent, name);
}
QPushButton* MakeButton(QWidget* parent, const char* name) {
    return Named<QPushButton>(parent, name);
}
QCheckBox* MakeCheck(QWidget* parent, const char* name) {
    return Named<QCheckBox>(parent, name);
}
QRadioButton* MakeRadio(QWidget* parent, const char* name) {
    return Named<QRadioButton>(parent, name);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
    auto* label = Named<QLabel>(parent, name);
    label->setText(QString::fromUtf8(text));
    return label;
}

QListWidget* MakeCheckList(QWidget* parent, const char* name) {
    return Named<QListWidget>(parent, name);
}
QTableWidget* MakeGrid(QWidget* parent, const char* name) {
    return Named<QTableWidget>(parent, name);
}
QPlainTextEdit* MakeMemo(QWidget* parent, const char* name) {
    auto* memo = Named<QPlainTextEdit>(parent, name);
    memo->setReadOnly(true);
    return memo;
}

}  // namespace tarnwick::ui

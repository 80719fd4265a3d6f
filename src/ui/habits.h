#pragma once
#include <QString>
#include <QStringList>

class QHeaderView;
class QWidget;

namespace tarnwick::ui {

// The operator's habits, kept between runs in one file under the user's
// configuration folder (tarnwick/habits.conf): where and how large each
// window was, the last folder of each file dialog, the host list's column
// widths. None of it is a setting of a host.

// Restores the window's size and position from the last run, if kept, and
// keeps them whenever it is hidden or closed. Keyed by its objectName.
void RememberGeometry(QWidget* window);

// Restores the header's column widths from the last run, if kept, and
// keeps each width the operator sets. Keyed by `key`.
void RememberColumnWidths(QHeaderView* header, const QString& key);

// File dialogs that open in the folder their last choice was made in (the
// user's home the first time) and keep the new one. `dialog` names the
// dialog; a suggested name goes into that folder.
QString ChooseSaveFile(QWidget* parent, const QString& dialog, const QString& title,
                       const QString& suggestedName, const QString& filter);
QString ChooseOpenFile(QWidget* parent, const QString& dialog, const QString& title,
                       const QString& filter);
QStringList ChooseOpenFiles(QWidget* parent, const QString& dialog, const QString& title,
                            const QString& filter);

}  // namespace tarnwick::ui

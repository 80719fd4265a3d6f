#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tarnwick::ui {

bool SaveWindow(QWidget* window, const QString& dir, const QString& name) {
    QDir().mkpath(dir);
    return window->grab().save(dir + "/" + name + ".png");
}

void SaveScreenshots(const QString& dir) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !window->objectName().isEmpty())
            SaveWindow(window, dir, window->objectName());
}

}  // namespace tarnwick::ui

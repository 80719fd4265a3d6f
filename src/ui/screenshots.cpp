#include "ui/screenshots.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tarnwick::ui {

bool SaveWindow(QWidget* window, const QString& dir, const QString& name) {
    QDir().mkpath(dir);
    return window->grab().save(dir + "/" + name + ".png");
}

}  // namespace tarnwick::ui

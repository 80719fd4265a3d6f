#include "ui/habits.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QSettings>
#include <QWidget>

namespace tarnwick::ui {
namespace {

QSettings Habits() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tarnwick"),
                     QStringLiteral("habits"));
}

QString GeometryKey(const QWidget* window) {
    return QStringLiteral("geometry/") + window->objectName();
}

QString FolderKey(const QString& dialog) {
    return QStringLiteral("folders/") + dialog;
}

// Keeps a window's geometry each time it is hidden or closed.
class GeometryKeeper : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Close) {
            auto* window = static_cast<QWidget*>(watched);
            Habits().setValue(GeometryKey(window), window->saveGeometry());
        }
        return QObject::eventFilter(watched, e);
    }
};

QString LastFolder(const QString& dialog) {
    return Habits().value(FolderKey(dialog), QDir::homePath()).toString();
}

void KeepFolder(const QString& dialog, const QString& path) {
    if (!path.isEmpty()) Habits().setValue(FolderKey(dialog), QFileInfo(path).absolutePath());
}

}  // namespace

void RememberGeometry(QWidget* window) {
    const QByteArray kept = Habits().value(GeometryKey(window)).toByteArray();
    if (!kept.isEmpty()) window->restoreGeometry(kept);
    window->installEventFilter(new GeometryKeeper(window));
}

void RememberColumnWidths(QHeaderView* header, const QString& key) {
    const QString prefix = QStringLiteral("columns/") + key + QStringLiteral("/");
    QSettings habits = Habits();
    for (int column = 0; column < header->count(); ++column) {
        const int width = habits.value(prefix + QString::number(column), 0).toInt();
        if (width > 0) header->resizeSection(column, width);
    }
    QObject::connect(header, &QHeaderView::sectionResized, header,
                     [prefix](int column, int, int width) {
                         Habits().setValue(prefix + QString::number(column), width);
                     });
}

QString ChooseSaveFile(QWidget* parent, const QString& dialog, const QString& title,
                       const QString& suggestedName, const QString& filter) {
    const QString start = QDir(LastFolder(dialog)).filePath(suggestedName);
    const QString path = QFileDialog::getSaveFileName(parent, title, start, filter);
    KeepFolder(dialog, path);
    return path;
}

QString ChooseOpenFile(QWidget* parent, const QString& dialog, const QString& title,
                       const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, title, LastFolder(dialog), filter);
    KeepFolder(dialog, path);
    return path;
}

QStringList ChooseOpenFiles(QWidget* parent, const QString& dialog, const QString& title,
                            const QString& filter) {
    const QStringList paths =
        QFileDialog::getOpenFileNames(parent, title, LastFolder(dialog), filter);
    if (!paths.isEmpty()) KeepFolder(dialog, paths.first());
    return paths;
}

}  // namespace tarnwick::ui

#include "ui/config_menu.h"

#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "backup/config_actions.h"
#include "hosts/host_window.h"
#include "ui/comparison_dialog.h"

namespace tarnwick::ui {
namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

QMenu* AddConfigMenu(QMainWindow* form, HostWindow& window, ConfigActions& actions) {
    QMenu* menu = form->menuBar()->addMenu(Utf8(kConfigMenuText) + QStringLiteral("(&C)"));
    menu->setObjectName("mnuConfig");
    struct Item {
        const char* name;
        const char* text;
        void (ConfigActions::*run)();
    };
    const Item items[] = {
        {"actBackupConfig", kBackupActionText, &ConfigActions::Backup},
        {"actCompareConfig", kCompareActionText, &ConfigActions::Compare},
    };
    for (const Item& item : items) {
        QAction* action = menu->addAction(Utf8(item.text));
        action->setObjectName(item.name);
        const auto run = item.run;
        QObject::connect(action, &QAction::triggered, form, [&window, &actions, run] {
            window.RunWhenFree([&actions, run] { (actions.*run)(); });
        });
    }

    const QString filter = Utf8(kSnapshotFilter);
    actions.chooseBackupPath = [form, filter](const std::string& suggested) {
        return QFileDialog::getSaveFileName(form, Utf8(kBackupDialogTitle),
                                            QString::fromStdString(suggested), filter)
            .toStdString();
    };
    actions.chooseComparePaths = [form, filter] {
        std::vector<std::string> paths;
        for (const QString& path :
             QFileDialog::getOpenFileNames(form, Utf8(kCompareDialogTitle), QString(), filter))
            paths.push_back(path.toStdString());
        return paths;
    };
    actions.showComparison = [form](const ComparisonTable& table) {
        ComparisonDialog dialog(table, form);
        dialog.exec();
    };
    return menu;
}

}  // namespace tarnwick::ui

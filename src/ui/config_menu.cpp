#include "ui/config_menu.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>

#include "backup/config_actions.h"
#include "hosts/host_window.h"
#include "ui/comparison_dialog.h"
#include "ui/form_main.h"

namespace tarnwick::ui {
namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

void AddConfigMenu(TFormMain& mainForm, HostWindow& window, ConfigActions& actions) {
    QWidget* form = &mainForm;
    QMenu* menu = mainForm.ConfigMenu();
    struct Item {
        const char* name;
        const char* text;
        void (ConfigActions::*run)();
    };
    const Item items[] = {
        {"actBackupConfig", kBackupActionText, &ConfigActions::Backup},
        {"actCompareConfig", kCompareActionText, &ConfigActions::Compare},
        {"actRestoreConfig", kRestoreActionText, &ConfigActions::Restore},
    };
    for (const Item& item : items) {
        QAction* action = menu->addAction(Utf8(item.text));
        action->setObjectName(item.name);
        const auto run = item.run;
        // Queued: the flow and its dialogs run once the menu's popup has ended.
        QObject::connect(
            action, &QAction::triggered, form,
            [&window, &actions, run] { window.RunWhenFree([&actions, run] { (actions.*run)(); }); },
            Qt::QueuedConnection);
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
    actions.chooseRestorePath = [form, filter] {
        return QFileDialog::getOpenFileName(form, Utf8(kRestoreDialogTitle), QString(), filter)
            .toStdString();
    };
    actions.showComparison = [form](const ComparisonTable& table) {
        ComparisonDialog dialog(table, form);
        dialog.exec();
    };
}

}  // namespace tarnwick::ui

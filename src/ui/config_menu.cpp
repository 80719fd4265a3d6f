#include "ui/config_menu.h"

#include <QAction>
#include <QMenu>
#include <memory>

#include "backup/config_actions.h"
#include "backup/passphrase_dialog.h"
#include "hosts/host_window.h"
#include "ui/comparison_dialog.h"
#include "ui/form_main.h"
#include "ui/form_passphrase.h"
#include "ui/habits.h"

namespace tarnwick::ui {
namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

// The passphrase dialog the configuration actions ask with, living as long
// as the host window. The dialog is its own, not the window's child, so
// that only one of them deletes it.
class PassphraseAsker : public QObject {
  public:
    explicit PassphraseAsker(QWidget* window)
        : QObject(window), form_(std::make_unique<TFormPassphrase>(dialog_)) {
        form_->setWindowModality(Qt::ApplicationModal);
        dialog_.show = [this](PassphraseDialog&) { return form_->Run(); };
    }
    std::optional<PassphraseAnswer> Ask(bool sealedFile) { return dialog_.Ask(sealedFile); }

  private:
    PassphraseDialog dialog_;
    std::unique_ptr<TFormPassphrase> form_;
};

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
        return ChooseSaveFile(form, QStringLiteral("backup"), Utf8(kBackupDialogTitle),
                              QString::fromStdString(suggested), filter)
            .toStdString();
    };
    actions.chooseComparePaths = [form, filter] {
        std::vector<std::string> paths;
        for (const QString& path :
             ChooseOpenFiles(form, QStringLiteral("compare"), Utf8(kCompareDialogTitle), filter))
            paths.push_back(path.toStdString());
        return paths;
    };
    actions.chooseRestorePath = [form, filter] {
        return ChooseOpenFile(form, QStringLiteral("restore"), Utf8(kRestoreDialogTitle), filter)
            .toStdString();
    };
    auto* asker = new PassphraseAsker(form);
    actions.Codes().askPassphrase = [asker](bool sealedFile) { return asker->Ask(sealedFile); };
    actions.showComparison = [form](const ComparisonTable& table) {
        ComparisonDialog dialog(table, form);
        dialog.exec();
    };
}

}  // namespace tarnwick::ui

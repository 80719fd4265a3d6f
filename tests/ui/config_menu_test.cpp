#include "ui/config_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "backup/config_actions.h"
#include "backup/passphrase_dialog.h"
#include "hosts/login.h"
#include "support/host_window_fixture.h"
#include "ui/comparison_dialog.h"
#include "ui/control_binder.h"
#include "ui/form_main.h"
#include "ui/form_passphrase.h"

namespace tarnwick {
namespace {

// Renders `widget` to DIR/name.png when TARNWICK_SHOT_DIR names a folder.
void SaveShot(QWidget& widget, const char* name) {
    const QString dir = qEnvironmentVariable("TARNWICK_SHOT_DIR");
    if (!dir.isEmpty()) widget.grab().save(dir + "/" + name + ".png");
}

struct MenuFixture : testing::HostWindowFixture {
    MenuFixture() { ui::AddConfigMenu(form, window, actions); }
    HostWindow scratch{*f.tdm};
    LoginDialog login;
    ConfigActions actions{window, scratch, login};
    ui::TFormMain form{window};
    QMenu* menu = form.ConfigMenu();
};

TEST(ConfigMenu, HostWindowOffersTheMenuWithItsNamedItemsExceptWhileBusy) {
    MenuFixture m;
    auto* button = m.form.findChild<QPushButton*>("bbtnConfig");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("配置(&C)"));  // Alt+C opens the menu
    EXPECT_EQ(button->menu(), m.menu);
    ASSERT_EQ(m.menu->objectName(), QStringLiteral("mnuConfig"));
    const std::pair<const char*, const char*> items[] = {
        {"actBackupConfig", "备份配置…"},
        {"actCompareConfig", "比较配置…"},
        {"actRestoreConfig", "恢复配置…"},
    };
    for (const auto& [name, text] : items) {
        auto* action = m.form.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(text));
        EXPECT_TRUE(m.menu->actions().contains(action)) << name;
    }
    // Every dialog the actions need is provided by the window.
    EXPECT_TRUE(m.actions.chooseBackupPath && m.actions.chooseComparePaths &&
                m.actions.chooseRestorePath && m.actions.showComparison);

    // A triggered item runs its action: here a compare whose dialog was cancelled.
    int asked = 0;
    m.actions.chooseComparePaths = [&] {
        ++asked;
        return std::vector<std::string>{};
    };
    m.form.findChild<QAction*>("actCompareConfig")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);

    // A window busy with a flow offers no menu.
    m.window.BusyStep();
    EXPECT_FALSE(button->isEnabled());
    m.window.IdleStep();
    EXPECT_TRUE(button->isEnabled());
}

// The passphrase is typed masked under its caption; the answer says whether
// the run may keep it, and nothing typed stays in the dialog.
TEST(PassphraseDialog, AsksMaskedUnderItsCaptionAndKeepsNothing) {
    std::vector<std::string> reports;
    ui::ControlBinder::SetReport([&](const std::string& text) { reports.push_back(text); });
    PassphraseDialog dialog;
    ui::TFormPassphrase form(dialog);
    auto* edit = form.findChild<QLineEdit*>("edtPassphrase");
    auto* forget = form.findChild<QCheckBox*>("chkForgetPassphrase");
    ASSERT_TRUE(edit && forget);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->accessibleName(), QStringLiteral("口令"));
    EXPECT_EQ(forget->accessibleName(), QString::fromUtf8(kForgetPassphraseCaption));
    dialog.show = [&](PassphraseDialog&) {
        edit->setText(QStringLiteral("lab-passphrase"));
        emit edit->textEdited(edit->text());  // as typed
        forget->click();
        return true;
    };
    const std::optional<PassphraseAnswer> answer = dialog.Ask(true);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->passphrase, "lab-passphrase");
    EXPECT_FALSE(answer->remember);
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_NE(form.findChild<QLabel*>("lblPassphrasePurpose")->text().indexOf("已用口令加密"), -1);
    dialog.show = [](PassphraseDialog&) { return false; };
    EXPECT_FALSE(dialog.Ask(false));
    form.show();
    SaveShot(form, "TFormPassphrase");
    ui::ControlBinder::SetReport(nullptr);
    EXPECT_TRUE(reports.empty()) << reports.front();
    EXPECT_TRUE(dialog.controls.CaptionProblems().empty());
}

TEST(ComparisonDialog, ShowsEveryRowUnderTheColumnCaptions) {
    ComparisonTable table;
    table.columns = {"页面", "设置", "文件中的值", "主机上的值"};
    table.rows = {{"有线防区", "防区3 防区类型", "1 - 出入延时防区", "2 - 周边防区"},
                  {"GPRS设置", "心跳间隔", "60", "90"}};
    table.summary =
        "文件 site.json（主机 10.0.0.5，2026-12-07 08:30:05） 与 主机 10.0.0.5\n共 2 "
        "项设置不同。";
    ui::ComparisonDialog dialog(table);
    QTableWidget* grid = dialog.Table();
    ASSERT_EQ(grid->columnCount(), 4);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("文件中的值"));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("防区3 防区类型"));
    EXPECT_EQ(grid->item(1, 3)->text(), QStringLiteral("90"));
    EXPECT_EQ(grid->accessibleName(), QStringLiteral("配置比较"));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_NE(dialog.findChild<QLabel*>("lblCompareSummary")->text().indexOf("共 2 项"), -1);
    dialog.show();
    SaveShot(dialog, "TFormCompare");
}

}  // namespace
}  // namespace tarnwick

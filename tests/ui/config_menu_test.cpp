#include "ui/config_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "backup/config_actions.h"
#include "hosts/login.h"
#include "support/host_window_fixture.h"
#include "ui/comparison_dialog.h"
#include "ui/form_main.h"

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

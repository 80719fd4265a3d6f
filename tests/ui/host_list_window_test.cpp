#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "hosts/data_module.h"
#include "support/core_fixture.h"
#include "support/search_answer.h"
#include "ui/activation.h"
#include "ui/form_host_list.h"
#include "ui/host_list_table.h"

namespace tarnwick {
namespace {

TEST(HostListWindow, ShowsHeadersWidthsAndShadesEvenRows) {
    ui::TFormHostList window;
    auto* grid = window.findChild<QTableView*>("strgridHostList");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarnwick软件 Ver1.0.8"));
    EXPECT_EQ(grid->model()->rowCount(), 24);
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral(" 设备ID"));
    EXPECT_EQ(grid->columnWidth(1), 162);
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 20);
    QModelIndex even = grid->model()->index(1, 2);  // data row 2
    QModelIndex odd = grid->model()->index(0, 2);
    EXPECT_EQ(grid->model()->data(even, Qt::ForegroundRole).value<QBrush>().color(),
              QColor(0, 0x80, 0));
    EXPECT_FALSE(grid->model()->data(odd, Qt::ForegroundRole).isValid());
}

TEST(HostListWindow, SearchFillsTheGridAndKeysWaitUntilItEnds) {
    testing::CoreFixture f;
    f.op.sleepInPauses = true;
    ui::TFormHostList window;
    window.AttachDataModule(f.tdm.get());
    auto* grid = window.findChild<QTableView*>("strgridHostList");
    int searchesSeen = 0;
    f.op.onServe = [&] {
        if (f.op.pauses.size() != 2) return;
        ++searchesSeen;
        // F5 during the search is ignored: no second broadcast follows.
        QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
        QApplication::sendEvent(grid, &f5);
        EXPECT_FALSE(grid->isEnabled());
        f.SendToListener(testing::BareSearchAnswer("10.77.0.11"));
    };
    window.Search();
    EXPECT_EQ(searchesSeen, 1);
    EXPECT_EQ(f.client().sent.size(), 1u);
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 1)).toString(),
              QStringLiteral(" 10.77.0.11"));
    EXPECT_EQ(window.SelectedRow(), 1);
    // The list has the keys after the search: Down selects the next host.
    EXPECT_EQ(window.focusWidget(), grid);

    f.op.onServe = nullptr;
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(grid, &f5);
    EXPECT_EQ(f.client().sent.size(), 2u);
}

TEST(HostListWindow, ShowingTheWindowSearchesOnce) {
    testing::CoreFixture f;
    ui::TFormHostList window;
    window.AttachDataModule(f.tdm.get());
    WindowFocus focus;
    ui::FocusReporter reporter(focus, *f.tdm, &window, nullptr);
    reporter.search = [&] { window.Search(); };
    window.show();
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(f.client().sent.size(), 1u);
    EXPECT_EQ(f.client().sent[0].payload, "7EB7820102D75A7E");
}

// From the keyboard the context menu opens below the selected row with its
// first item active, as a click there would; its texts and Qt's own box
// buttons are Chinese.
TEST(HostListWindow, MenuAndShiftF10OpenTheMenuOnTheSelectedRowInChinese) {
    ui::TFormHostList window;
    window.show();
    auto* grid = window.findChild<QTableView*>("strgridHostList");
    auto* menu = window.findChild<QMenu*>("pmMain");
    ASSERT_NE(menu, nullptr);
    window.SelectRow(3);
    const QPoint row =
        grid->viewport()->mapToGlobal(grid->visualRect(grid->currentIndex()).center());
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(grid, &press);
        // The window system's own request that follows the Menu key, at the
        // pointer, leaves the menu on the row.
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 400), QPoint(5, 400));
        QApplication::sendEvent(grid, &request);
        ASSERT_TRUE(menu->isVisible()) << key;
        EXPECT_LT(std::abs(menu->geometry().top() - row.y()), grid->rowHeight(2)) << key;
        ASSERT_NE(menu->activeAction(), nullptr);
        EXPECT_EQ(menu->activeAction()->objectName(), QStringLiteral("miRefreshHostList"));
        menu->hide();
    }
    QKeyEvent f10(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier);
    QApplication::sendEvent(grid, &f10);
    EXPECT_FALSE(menu->isVisible());

    auto* manage = window.findChild<QAction*>("miHostManage");
    ASSERT_NE(manage, nullptr);
    EXPECT_EQ(manage->shortcut(), QKeySequence(Qt::Key_Enter));
    EXPECT_EQ(manage->shortcut().toString(QKeySequence::NativeText), QStringLiteral("回车"));
    QMessageBox box(QMessageBox::Question, QStringLiteral("确认"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
}

// What the operator made of the window is there at the next start: its size
// and the column widths.
TEST(HostListWindow, ItsSizeAndColumnWidthsAreKeptForTheNextStart) {
    {
        ui::TFormHostList window;
        window.show();
        window.resize(900, 500);
        window.findChild<QTableView*>("strgridHostList")->horizontalHeader()->resizeSection(4, 240);
        window.close();
    }
    ui::TFormHostList again;
    EXPECT_EQ(again.size(), QSize(900, 500));
    auto* grid = again.findChild<QTableView*>("strgridHostList");
    EXPECT_EQ(grid->columnWidth(4), 240);
    EXPECT_EQ(grid->columnWidth(1), 162);  // untouched columns keep their widths
}

}  // namespace
}  // namespace tarnwick

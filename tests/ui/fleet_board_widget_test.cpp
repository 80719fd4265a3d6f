#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "operation/fleet_board.h"
#include "protocol/frame_codec.h"
#include "support/core_fixture.h"
#include "ui/control_binder.h"
#include "ui/form_fleet.h"
#include "ui/form_host_list.h"

namespace tarnwick {
namespace {

// Two hosts on loopback ports nobody answers on: one answers here in
// alarm, the other stays silent.
TEST(FleetBoardWidget, ShowsTheBoardColouredSortsFiltersOpensAndStopsWhenClosed) {
    std::vector<std::string> reports;
    ui::ControlBinder::SetReport([&](const std::string& text) { reports.push_back(text); });
    testing::CoreFixture f;
    ui::TFormFleet form(f.op, f.clock);
    ui::ControlBinder::SetReport(nullptr);
    EXPECT_TRUE(reports.empty()) << reports.front();
    auto* filter = form.findChild<QLineEdit*>("edtFleetFilter");
    auto* label = form.findChild<QLabel*>("lblFleetFilter");
    auto* grid = form.findChild<QTableView*>("strgridFleet");
    ASSERT_TRUE(filter && label && grid);
    EXPECT_EQ(filter->accessibleName(), QStringLiteral("筛选"));
    EXPECT_EQ(label->buddy(), filter);
    EXPECT_EQ(grid->accessibleName(), QStringLiteral("全部主机状态"));

    const uint16_t quiet = testing::FreeLoopbackPort();
    const uint16_t silent = testing::FreeLoopbackPort();
    std::vector<HostTarget> opened;
    form.Board().openHost = [&](const HostTarget& t) { opened.push_back(t); };
    form.Open({{{"127.0.0.1", silent, "城西仓库"}, {}}, {{"127.0.0.1", quiet, "城东门店"}, {}}});
    EXPECT_EQ(form.Poller().InFlight(), 2);
    form.Poller().Receive(
        1, {BuildReplyFrame("12", "02", "019113010400000017"), "127.0.0.1", quiet}, 0);
    form.Poller().Tick(kStatusTimeoutMs + form.Poller().NextWakeMs().value_or(0));
    QAbstractItemModel* rows = grid->model();
    ASSERT_EQ(rows->rowCount(), 2);
    grid->horizontalHeader()->sectionClicked(kFleetSite);  // 城东门店 before 城西仓库
    EXPECT_EQ(rows->index(0, kFleetSite).data().toString(), QStringLiteral("城东门店"));
    EXPECT_EQ(rows->index(0, kFleetAlarm).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(rows->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor::fromRgb(kFleetAlarmColor));
    EXPECT_EQ(rows->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor::fromRgb(kFleetOfflineColor));
    EXPECT_EQ(rows->index(1, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("主机无应答"));

    filter->setText(QStringLiteral("城西"));
    emit filter->textEdited(filter->text());  // as typed
    ASSERT_EQ(rows->rowCount(), 1);
    grid->setCurrentIndex(rows->index(0, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(grid, &enter);
    EXPECT_EQ(opened, (std::vector<HostTarget>{{"127.0.0.1", silent, "城西仓库"}}));

    form.Poller().Tick(form.Poller().NextWakeMs().value_or(0));
    EXPECT_GT(form.Poller().InFlight(), 0);
    form.close();
    EXPECT_EQ(form.Poller().InFlight(), 0);
    EXPECT_FALSE(form.Poller().Running());
}

TEST(FleetBoardWidget, TheHostListOpensItWithAltA) {
    testing::CoreFixture f;
    ui::TFormHostList window;
    int requested = 0;
    QObject::connect(&window, &ui::TFormHostList::fleetRequested, [&] { ++requested; });
    auto* action = window.findChild<QAction*>("miFleet");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Alt+A")));
    EXPECT_EQ(action->text(), QStringLiteral("全部主机状态..."));
    window.findChild<QPushButton*>("bbtnFleet")->click();
    EXPECT_EQ(requested, 1);
}

}  // namespace
}  // namespace tarnwick

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/page_table.h"
#include "hosts/host_window.h"
#include "support/host_window_fixture.h"
#include "ui/activation.h"
#include "ui/control_binder.h"
#include "ui/form_main.h"
#include "ui/waiting_panel_widget.h"

namespace tarnwick {
namespace {

// Serves window events for a while, as the running program does.
void ServeEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The host window form on the host window fixture, page changes reading
// their page as the program starts with.
struct FormFixture : testing::HostWindowFixture {
    FormFixture() {
        AutoRefresh(true);
        formPtr = std::make_unique<ui::TFormMain>(window);
    }
    std::unique_ptr<ui::TFormMain> formPtr;
    ui::TFormMain& form() { return *formPtr; }
};

TEST(HostWindowForm, ShowingTheWindowRefreshesTheCurrentPageOnce) {
    FormFixture w;
    QWidget hostList;
    WindowFocus focus;
    ui::FocusReporter reporter(focus, *w.f.tdm, &hostList, &w.form());
    reporter.refresh = [&] { w.window.Refresh(); };
    w.form().show();
    ServeEvents(400);
    EXPECT_EQ(w.f.client().sent.size(), 9u);  // page 0's reads, once
    EXPECT_EQ(w.form().windowTitle(), QStringLiteral("Tarnwick Ver1.0.8"));
    EXPECT_EQ(w.form().Pages()->count(), 8);
    EXPECT_EQ(w.form().Pages()->tabText(3), QStringLiteral("通讯参数"));
    EXPECT_TRUE(w.form().Pages()->isEnabled());
}

TEST(HostWindowForm, EveryPageAndTheFrameBindEachControlToOneWidget) {
    std::vector<std::string> reports;
    ui::ControlBinder::SetReport([&](const std::string& text) { reports.push_back(text); });
    {
        FormFixture w;
        ASSERT_EQ(w.form().Pages()->count(), static_cast<int>(kStandardPageCount));
        // Each tab holds the widget the Qt table builds for the page table's
        // entry in its place, named as the page.
        for (const PageEntry& entry : PageTable()) {
            const QWidget* tab = w.form().Pages()->widget(PageIndex(entry.id));
            const QString name = QString::fromUtf8(entry.name);
            EXPECT_TRUE(tab->objectName() == name || tab->findChild<QWidget*>(name)) << entry.name;
            EXPECT_EQ(w.form().Pages()->tabText(PageIndex(entry.id)).toStdString(), entry.caption);
        }
    }
    ui::ControlBinder::SetReport(nullptr);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST(HostWindowForm, PageTabsFollowTheModelAndSaveIsOffOnTheLastTwoPages) {
    FormFixture w;
    w.AutoRefresh(false);
    w.form().Pages()->setCurrentIndex(6);
    auto* save = w.form().findChild<QPushButton*>("bbtnSave");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(w.window.ActivePage(), 6);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(w.window.frame["lblTitle"].text, "警情信息");
    w.form().Pages()->setCurrentIndex(2);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(w.f.client().sent.empty());
}

TEST(HostWindowForm, StopButtonOfTheWaitingPanelStopsTheRefresh) {
    FormFixture w;
    w.form().show();
    ServeEvents(300);
    ASSERT_TRUE(w.f.client().sent.empty());
    auto* panel = w.form().findChild<ui::WaitingPanelWidget*>("PnlWaiting");
    ASSERT_NE(panel, nullptr);
    w.f.op.onServe = [&] {
        if (w.f.client().sent.size() == 2 && panel->isVisible()) panel->StopButton()->click();
    };
    w.window.Refresh();
    EXPECT_EQ(w.f.client().sent.size(), 2u);
    EXPECT_FALSE(panel->isVisible());
}

}  // namespace
}  // namespace tarnwick

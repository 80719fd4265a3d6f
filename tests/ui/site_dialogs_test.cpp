#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTableWidget>

#include "hosts/connect_address.h"
#include "hosts/site_book_window.h"
#include "storage/site_book.h"
#include "support/core_fixture.h"
#include "ui/control_binder.h"
#include "ui/form_connect_address.h"
#include "ui/form_host_list.h"
#include "ui/form_site_edit.h"
#include "ui/form_sites.h"

namespace tarnwick {
namespace {

// Every edit of a dialog is read out by its caption, which no other input of
// the dialog shares, and its label leads to it.
void ExpectCaptionedInputs(QWidget* dialog, const QStringList& captions) {
    QStringList names;
    for (auto* edit : dialog->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        names << edit->accessibleName();
        bool buddied = false;
        for (auto* label : dialog->findChildren<QLabel*>())
            buddied = buddied || label->buddy() == edit;
        EXPECT_TRUE(buddied) << edit->objectName().toStdString();
    }
    EXPECT_EQ(names, captions);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

TEST(SiteDialogs, EveryInputHasItsCaptionAndEveryControlItsWidget) {
    std::vector<std::string> reports;
    ui::ControlBinder::SetReport([&](const std::string& text) { reports.push_back(text); });
    {
        ConnectAddressDialog connect;
        ui::TFormConnectAddress form(connect);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("连接指定地址"));
        ExpectCaptionedInputs(&form, {"IP地址", "端口", "站点名称"});
        EXPECT_EQ(form.findChild<QLineEdit*>("edtConnectPort")->text(), QStringLiteral("5200"));
        EXPECT_EQ(form.findChild<QLineEdit*>("edtConnectIP")->maxLength(), 15);

        testing::CoreFixture f;
        SiteBookWindow book(f.op, *f.db);
        ui::TFormSites sites(book);
        ExpectCaptionedInputs(&sites, {});
        ExpectCaptionedInputs(&sites.EditForm(), {"站点名称", "IP地址", "端口", "备注"});
        ASSERT_EQ(SiteBook(*f.db).Add({"城西仓库", "10.88.0.5", "5300", ""}), "");
        book.Reload();
        auto* grid = sites.findChild<QTableWidget*>("strgridSites");
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->accessibleName(), QStringLiteral("站点簿"));
        EXPECT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("5300"));
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    ui::ControlBinder::SetReport(nullptr);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST(SiteDialogs, TheHostListOffersBothAndGreysAnAbsentSite) {
    testing::CoreFixture f;
    ui::TFormHostList window;
    window.AttachDataModule(f.tdm.get());
    int sites = 0;
    int connect = 0;
    QObject::connect(&window, &ui::TFormHostList::sitesRequested, [&] { ++sites; });
    QObject::connect(&window, &ui::TFormHostList::connectAddressRequested, [&] { ++connect; });
    auto* sitesAction = window.findChild<QAction*>("miSites");
    auto* connectAction = window.findChild<QAction*>("miConnectAddress");
    ASSERT_TRUE(sitesAction && connectAction);
    EXPECT_EQ(sitesAction->shortcut(), QKeySequence(QStringLiteral("Alt+S")));
    EXPECT_EQ(connectAction->shortcut(), QKeySequence(QStringLiteral("Alt+L")));
    EXPECT_TRUE(window.actions().contains(sitesAction));  // without opening the menu
    window.findChild<QPushButton*>("bbtnSites")->click();
    window.findChild<QPushButton*>("bbtnConnectAddress")->click();
    EXPECT_EQ(sites, 1);
    EXPECT_EQ(connect, 1);
    // Not while a search runs.
    window.Model().searching = true;
    sitesAction->trigger();
    EXPECT_EQ(sites, 1);
    window.Model().searching = false;

    Site site;
    site.name = "城西仓库";
    site.address = "10.88.0.5";
    window.RunListFlow([&] {
        window.Model().list.SetBook({site});
        window.Model().list.ListAbsentSites();
        window.Model().onListChanged();
    });
    auto* grid = window.findChild<QTableView*>("strgridHostList");
    const QModelIndex name = grid->model()->index(0, HostListModel::kSiteColumn);
    EXPECT_EQ(name.data().toString(), QStringLiteral(" 城西仓库"));
    EXPECT_EQ(name.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0x90, 0x90, 0x90));
    EXPECT_EQ(grid->horizontalHeader()->visualIndex(HostListModel::kSiteColumn), 1);
}

// The keyboard meets the host list's new buttons in the order they stand
// in, right after the list, and leaves the site book's grid with one Tab;
// the site book opens as large as it was left, its columns too.
TEST(SiteDialogs, TabReachesTheNewButtonsAndTheSiteBookKeepsItsSize) {
    ui::TFormHostList window;
    auto* list = window.findChild<QTableView*>("strgridHostList");
    QStringList stops;
    for (QWidget* w = list->nextInFocusChain(); w != list && stops.size() < 5;
         w = w->nextInFocusChain())
        if (qobject_cast<QPushButton*>(w) && (w->focusPolicy() & Qt::TabFocus))
            stops << w->objectName();
    EXPECT_EQ(stops, QStringList({"bbtnSites", "bbtnConnectAddress", "bbtnFleet", "bbtnRefreshHost",
                                  "bbtnQuit"}));

    testing::CoreFixture f;
    SiteBookWindow book(f.op, *f.db);
    {
        ui::TFormSites sites(book);
        EXPECT_FALSE(sites.findChild<QTableWidget*>("strgridSites")->tabKeyNavigation());
        sites.show();
        sites.resize(820, 400);
        sites.findChild<QTableWidget*>("strgridSites")->horizontalHeader()->resizeSection(3, 300);
        sites.close();
    }
    ui::TFormSites again(book);
    EXPECT_EQ(again.size(), QSize(820, 400));
    auto* grid = again.findChild<QTableWidget*>("strgridSites");
    book.Reload();  // a new look at the book keeps the widths
    EXPECT_EQ(grid->columnWidth(3), 300);
    EXPECT_EQ(grid->columnWidth(0), 130);
}

}  // namespace
}  // namespace tarnwick

#include "ui/application.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>

#include "app/standard_decoders.h"
#include "app/standard_pages.h"
#include "app/standard_ports.h"
#include "backup/config_actions.h"
#include "backup/snapshot_file.h"
#include "hosts/data_module.h"
#include "hosts/host_search.h"
#include "operation/fleet_board.h"
#include "operation/pairing.h"
#include "programming/programming_page.h"
#include "protocol/timing.h"
#include "storage/database_opening.h"
#include "storage/outbox_database.h"
#include "storage/postgres_database.h"
#include "storage/site_book.h"
#include "ui/activation.h"
#include "ui/comparison_dialog.h"
#include "ui/config_menu.h"
#include "ui/control_binder.h"
#include "ui/form_code_match.h"
#include "ui/form_connect_address.h"
#include "ui/form_fleet.h"
#include "ui/form_host_list.h"
#include "ui/form_login.h"
#include "ui/form_main.h"
#include "ui/form_modify_ip.h"
#include "ui/form_site_edit.h"
#include "ui/form_sites.h"
#include "ui/qt_operator.h"
#include "ui/screenshots.h"
#include "ui/team_database_watch.h"

namespace tarnwick::ui {
namespace {

// VmRSS of this process, from the kernel's status file.
long ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kb;
            break;
        }
    }
    return kb / 1024;
}

}  // namespace

// Each window is created and wired by its own function, in this order; a new
// window adds its own.
Application::Application(const std::string& database, bool unattended, const std::string& outbox) {
    op_ = std::make_unique<QtOperator>();
    // Unattended from the first box on: start-up may already have one.
    op_->SetUnattended(unattended);
    ControlBinder::SetOperator(op_.get());
    hostList_ = std::make_unique<TFormHostList>();
    OpenDataModule(database, outbox);
    ControlBinder::SetErrorTrace([this](const std::string& line) { tdm_->trace.Add(line); });
    WireHostList();
    WireHostWindow();
    WireSites();
    WireFleet();
}

// The data module: a missing or empty database is made from the seed; one
// that cannot be used is reported once and start-up goes on. A team
// database whose server is away keeps the rows in the outbox and says so
// once; its watch sends them once the server answers.
void Application::OpenDataModule(const std::string& dbPath, const std::string& outbox) {
    OpenedDatabase database = OpenDatabase(dbPath, outbox);
    db_ = std::move(database.db);
    clock_ = std::make_unique<SystemClock>();
    tdm_ = std::make_unique<DataModule>(*op_, *db_, *clock_, DataModule::UdpEndpoints(*op_),
                                        kHostPort);
    RegisterStandardDecoders(tdm_->decoders);
    AttachStandardPorts(*tdm_);
    // TARNWICK_TRACE_FILE: the debug trace is written to this file as well,
    // line by line, for a look at a run from outside the window.
    if (const QString file = qEnvironmentVariable("TARNWICK_TRACE_FILE"); !file.isEmpty()) {
        auto out = std::make_shared<std::ofstream>(file.toStdString(), std::ios::app);
        tdm_->trace.SetMirror([out](const std::string& line) { *out << line << std::endl; });
    }
    const bool usable = ReportOpenedDatabase(*op_, tdm_->trace, database, dbPath, outbox);
    if (database.outbox)
        teamWatch_ = std::make_unique<TeamDatabaseWatch>(
            *database.outbox, *op_, *hostList_,
            [this](const std::string& line) { tdm_->trace.Add(line); },
            [this] { return tdm_->flowRunning; });
    if (!usable) return;
    const std::string shown = IsPostgresUrl(dbPath) ? PostgresServerName(dbPath) : dbPath;
    if (const std::string error = tdm_->LoadCodeTables(); !error.empty())
        op_->Error("读取数据库 " + shown + " 失败：" + error);
}

void Application::WireHostList() {
    hostList_->AttachDataModule(tdm_.get());
    tdm_->listener.SetAnswerNotifier([this] {
        // Wake the UI thread so that answers are listed the moment they come.
        QMetaObject::invokeMethod(
            hostList_.get(), [this] { DrainSearchAnswers(*tdm_, hostList_->Model()); },
            Qt::QueuedConnection);
    });
    connect(hostList_.get(), &TFormHostList::openHostRequested, this, &Application::OpenHost);
}

// The host window with its pages, the pairing window it opens, the login
// dialog that leads to it, and what showing and closing them starts.
void Application::WireHostWindow() {
    window_ = std::make_unique<HostWindow>(*tdm_);
    AssembleStandardPages(*window_);
    formMain_ = std::make_unique<TFormMain>(*window_);
    pairing_ = std::make_unique<PairingWindow>(*tdm_);
    formCodeMatch_ = std::make_unique<TFormCodeMatch>(*pairing_, formMain_.get());
    window_->openPairingWindow = [this] { formCodeMatch_->exec(); };
    // Backup, compare and restore use the code the operator logged in with.
    scratchWindow_ = std::make_unique<HostWindow>(*tdm_);
    AssembleScratchPages(*scratchWindow_);
    configActions_ = std::make_unique<ConfigActions>(*window_, *scratchWindow_, login_);
    AddConfigMenu(*formMain_, *window_, *configActions_);
    // The password dialog belongs to the host list, whose flow shows it.
    formLogin_ = std::make_unique<TFormLogin>(hostList_.get());
    login_.show = [this](LoginDialog& dialog) { return formLogin_->Run(dialog); };
    modifyIp_ = std::make_unique<ModifyIpDialog>(*op_);
    formModifyIp_ = std::make_unique<TFormModifyIP>(*modifyIp_, hostList_.get());
    modifyIp_->show = [this](ModifyIpDialog&) { return formModifyIp_->Run(); };
    connect(hostList_.get(), &TFormHostList::modifyIpRequested, this,
            [this](int row) { hostList_->ModifyAddress(row, *modifyIp_); });

    window_->closeWindow = [this] { formMain_->close(); };
    window_->setHostListEnabled = [this](bool on) {
        if (hostList_->isVisible()) hostList_->setEnabled(on);
    };
    hostList_->Model().setHostWindowEnabled = [this](bool on) {
        if (formMain_->isVisible()) formMain_->setEnabled(on);
    };
    // Closing the host list closes the host window first, which may keep
    // unsaved changes (and then the program stays).
    hostList_->mayClose = [this] { return !formMain_->isVisible() || formMain_->close(); };
    connect(hostList_.get(), &TFormHostList::closing, this, [this] { formMain_->close(); });
    // What showing and entering the windows starts is the core's to say.
    focusReporter_ =
        std::make_unique<FocusReporter>(focus_, *tdm_, hostList_.get(), formMain_.get());
    focusReporter_->search = [this] { hostList_->Search(); };
    focusReporter_->refresh = [this] { window_->Activate(); };
    op_->SetParentResolver([this] { return focusReporter_->BoxParent(); });
    // Back at the host list: it becomes the active window and searches again.
    connect(formMain_.get(), &TFormMain::closed, this, [this] {
        if (!hostList_->isVisible()) return;
        focusReporter_->HostWindowClosed();
        hostList_->activateWindow();
    });
}

void Application::WireSites() {
    connectAddress_ = std::make_unique<ConnectAddressDialog>();
    formConnectAddress_ = std::make_unique<TFormConnectAddress>(*connectAddress_, hostList_.get());
    connectAddress_->show = [this](ConnectAddressDialog&) { return formConnectAddress_->Run(); };
    siteBook_ = std::make_unique<SiteBookWindow>(*op_, *db_);
    formSites_ = std::make_unique<TFormSites>(*siteBook_, hostList_.get());
    connect(hostList_.get(), &TFormHostList::connectAddressRequested, this,
            &Application::ConnectToAddress);
    connect(hostList_.get(), &TFormHostList::sitesRequested, this, &Application::ShowSiteBook);
}

void Application::WireFleet() {
    formFleet_ = std::make_unique<TFormFleet>(*op_, *clock_, hostList_.get());
    formFleet_->Board().openHost = [this](const HostTarget& target) {
        OpenHostAt(*tdm_, target, *window_, login_, [this] { ShowHostWindow(); });
    };
    connect(hostList_.get(), &TFormHostList::fleetRequested, this, &Application::ShowFleet);
}

void Application::ShowFleet() {
    formFleet_->Open(FleetHostsOf(hostList_->Model().list));
}

void Application::TourFleet(const QString& dir) {
    ShowFleet();
    // The first sweep: every host answers or times out within it.
    for (int step = 0; step < 50 && formFleet_->Poller().SweepsDone() == 0; ++step) op_->Pause(100);
    // Most zones in alarm first.
    formFleet_->Board().SortBy(kFleetAlarm);
    formFleet_->Board().SortBy(kFleetAlarm);
    SaveWindow(formFleet_.get(), dir, "TFormFleet");
    formFleet_->close();
}

void Application::ConnectToAddress() {
    hostList_->RunListFlow([this] {
        tarnwick::ConnectToAddress(*tdm_, hostList_->Model(), *connectAddress_, *window_, login_,
                                   [this] { ShowHostWindow(); });
    });
}

void Application::ShowSiteBook() {
    if (tdm_->flowRunning || hostList_->Model().searching) return;
    formSites_->Run();
    // The list names its rows from the book as it is now.
    hostList_->RunListFlow([this] { ApplySiteBook(*tdm_, hostList_->Model()); });
}

Application::~Application() {
    teamWatch_.reset();
    formFleet_.reset();
    op_->SetParentResolver(nullptr);
    focusReporter_.reset();
    tdm_->listener.SetAnswerNotifier(nullptr);
    ControlBinder::SetOperator(nullptr);
    ControlBinder::SetErrorTrace(nullptr);
}

void Application::Trace(const std::string& line) {
    tdm_->trace.Add(line);
}

void Application::Warn(const std::string& text) {
    tdm_->trace.Add(text);
    op_->Warning(text);
}

void Application::Show() {
    hostList_->show();
}

void Application::OpenHost(int row) {
    tarnwick::OpenHost(*tdm_, hostList_->Model().list, row, *window_, login_,
                       [this] { ShowHostWindow(); });
}

void Application::ShowHostWindow() {
    window_->visible = true;
    formMain_->show();
    formMain_->raise();
    formMain_->activateWindow();
}

void Application::TourPairing(const QString& dir) {
    // A detector on zone 12, sub-address 2, chosen but not paired: the tour
    // never changes a host.
    formCodeMatch_->show();
    PageModel& c = pairing_->controls;
    c["cbWirelessDevice"].index = 1;
    c.Change("cbWirelessDevice");
    c["cbDefence"].index = 5;
    c["cbAddress"].index = 1;
    c.Changed();
    SaveWindow(formCodeMatch_.get(), dir, "TFormCodeMatch");
    formCodeMatch_->hide();
}

void Application::TourConfig(const QString& dir) {
    // The menu opened above its button.
    QMenu* menu = formMain_->ConfigMenu();
    auto* button = formMain_->findChild<QPushButton*>("bbtnConfig");
    menu->popup(button->mapToGlobal(QPoint(0, -menu->sizeHint().height())));
    SaveWindow(menu, dir, "TFormMain-config-menu");
    menu->hide();

    // A backup (it only reads the host), compared with a copy of itself in
    // which zone 3 of the wired zone page has the next type: the change is
    // made in memory and never written.
    ConfigActions& actions = *configActions_;
    const auto keptBackupPath = actions.chooseBackupPath;
    QTemporaryDir folder;
    const std::string backup = folder.filePath("before.json").toStdString();
    actions.chooseBackupPath = [backup](const std::string&) { return backup; };
    // Unattended, no passphrase is typed: the backup keeps no codes.
    const auto keptAsk = std::exchange(actions.Codes().askPassphrase, nullptr);
    actions.Backup();
    actions.chooseBackupPath = keptBackupPath;
    actions.Codes().askPassphrase = keptAsk;
    ConfigSnapshot before;
    try {
        before = ReadSnapshotFile(backup);
    } catch (const SnapshotError& e) {
        std::fprintf(stderr, "[tour] no backup to compare: %s\n", e.what());
        return;
    }
    ConfigSnapshot after = before;
    constexpr int kZoneTypes = 15;
    for (auto& [key, value] : after.keys)
        if (key == "Prog04_3" && value.size() >= 2)
            if (const std::optional<int> type = HexDigitValue(value.substr(1, 1)))
                value[1] = "0123456789ABCDE"[(*type + 1) % kZoneTypes];
    ComparisonTable table =
        BuildComparisonTable(*scratchWindow_, before, after, "备份中的值", "内存中改动后的值");
    table.summary = "备份 before.json（主机 " + before.host +
                    "）与它在内存中改动的副本（未写入主机）\n共 " +
                    std::to_string(table.rows.size()) + " 项设置不同。";
    ComparisonDialog dialog(table, formMain_.get());
    dialog.show();
    SaveWindow(&dialog, dir, "TFormCompare");
}

void Application::TourSites(const QString& dir) {
    // The first listed host is booked, and a site whose host is not there.
    try {
        SiteBook book(tdm_->db);
        const HostListModel& list = hostList_->Model().list;
        if (list.NextRow() > 1)
            book.Add(
                {"城东门店", list.Field(1, 1), std::to_string(kHostPort), "收银台后面的弱电箱"});
        book.Add({"城西仓库", "10.231.1.200", "5200", "二楼监控室，经路由器转发"});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the tour's site book: %s\n", e.what());
    }
    hostList_->RunListFlow([this] { ApplySiteBook(*tdm_, hostList_->Model()); });
    SaveWindow(hostList_.get(), dir, "TFormHostList-sites");

    siteBook_->Reload();
    formSites_->show();
    SaveWindow(formSites_.get(), dir, "TFormSites");
    siteBook_->edit.title = kEditSiteTitle;
    if (!siteBook_->Sites().empty()) {
        const Site& site = siteBook_->Sites().front();
        siteBook_->edit.Fill({site.name, site.address, std::to_string(site.port), site.notes});
    }
    formSites_->EditForm().show();
    SaveWindow(&formSites_->EditForm(), dir, "TFormSiteEdit");
    formSites_->EditForm().hide();
    formSites_->hide();

    PageModel& c = connectAddress_->controls;
    c["edtConnectIP"].text = "10.231.1.200";
    c["edtConnectSite"].text = "城西仓库";
    c.Changed();
    formConnectAddress_->show();
    SaveWindow(formConnectAddress_.get(), dir, "TFormConnectAddress");
    formConnectAddress_->hide();
}

void Application::Tour(const QString& dir, const std::string& password) {
    op_->SetUnattended(true);
    focusReporter_->search = nullptr;
    focusReporter_->refresh = nullptr;
    QTimer::singleShot(200, this, [this, dir, password] {
        hostList_->Search();
        SaveWindow(hostList_.get(), dir, "TFormHostList");
        // The network configuration dialog of the first row, cancelled.
        modifyIp_->show = [this, dir](ModifyIpDialog&) {
            formModifyIp_->show();
            SaveWindow(formModifyIp_.get(), dir, "TFormModifyIP");
            formModifyIp_->hide();
            return false;
        };
        hostList_->ModifyAddress(1, *modifyIp_);
        modifyIp_->show = [this](ModifyIpDialog&) { return formModifyIp_->Run(); };
        TourSites(dir);
        TourFleet(dir);
        login_.show = [this, dir, password](LoginDialog& dialog) {
            formLogin_->show();
            SaveWindow(formLogin_.get(), dir, "TFormLogin");
            formLogin_->hide();
            dialog.password = password;
            return true;
        };
        // The waiting panel is caught once, halfway through the first read.
        bool caught = false;
        window_->waiting.observer = [this, dir, &caught] {
            formMain_->SyncState();
            if (!caught && window_->waiting.visible && window_->waiting.position >= 40) {
                caught = true;
                SaveWindow(formMain_.get(), dir, "TFormMain-waiting");
            }
        };
        // The first listed host whose installer code is the given password.
        for (int row = 1; row < hostList_->Model().list.NextRow() && !formMain_->isVisible(); ++row)
            OpenHost(row);
        if (formMain_->isVisible()) {
            for (int page = 0; page < window_->PageCount(); ++page) {
                window_->PageChange(page);
                SaveWindow(formMain_.get(), dir, QString("TFormMain-page%1").arg(page));
            }
            TourPairing(dir);
            TourConfig(dir);
        }
        window_->waiting.observer = [this] { formMain_->SyncState(); };
        std::fprintf(stderr, "resident memory with the host window open: %ld MB\n",
                     ResidentMegabytes());
        QApplication::quit();
    });
}

}  // namespace tarnwick::ui

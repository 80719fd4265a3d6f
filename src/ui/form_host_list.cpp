#include "ui/form_host_list.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "hosts/connect_address.h"
#include "hosts/host_list_model.h"
#include "hosts/site_book_window.h"
#include "operation/fleet_board.h"
#include "ui/accessibility.h"
#include "ui/fit_to_screen.h"
#include "ui/habits.h"
#include "ui/host_list_table.h"
#include "ui/title_strip.h"
#include "ui/waiting_panel_widget.h"

namespace tarnwick::ui {

TFormHostList::TFormHostList(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TFormHostList");
    setWindowTitle(QString::fromUtf8(kHostListTitle));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new TitleStrip(QString::fromUtf8(kHostListCaption), central));

    grid_ = new QTableView(central);
    grid_->setObjectName("strgridHostList");
    NameInput(grid_, kHostListCaption);
    table_ = new HostListTable(model_.list, grid_);
    table_->Refresh();
    grid_->setModel(table_);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(HostListModel::kRowHeight);
    grid_->verticalHeader()->setMinimumSectionSize(HostListModel::kRowHeight);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    // Tab leaves the list for the buttons; the arrows move within it.
    grid_->setTabKeyNavigation(false);
    grid_->setStyleSheet("QTableView { gridline-color: #c8c8c8; }");
    for (int c = 0; c < HostListModel::kColumns; ++c)
        grid_->setColumnWidth(c, HostListModel::kColumnWidths[static_cast<size_t>(c)]);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // The site's name is read first, beside the number, and when a booked
    // site was last seen before the mask and gateway, which it lacks.
    grid_->horizontalHeader()->moveSection(HostListModel::kSiteColumn, 1);
    grid_->horizontalHeader()->moveSection(HostListModel::kLastSeenColumn, 7);
    layout->addWidget(grid_, 1);
    // The window sees keys before its controls.
    grid_->installEventFilter(this);
    connect(grid_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit openHostRequested(index.row() + 1); });

    BuildActions();
    BuildBottomPanel(central, layout);
    BuildContextMenu();
    setCentralWidget(central);

    waiting_ = new WaitingPanelWidget(model_.waiting, false, central);
    model_.waiting.observer = [this] { waiting_->Sync(); };
    model_.onListChanged = [this] { table_->Refresh(); };
    // The search asks for the focus as it enables the list: the grid takes
    // the keys only once it is enabled itself.
    model_.focusList = [this] {
        SyncEnabled();
        grid_->setFocus();
    };
    // The operator's choice of row goes to the model, which keeps the host.
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!selecting_ && !model_.searching && current.isValid())
                    model_.Select(current.row() + 1);
            });
    FitToScreen(this, {1040, 640});
    RememberGeometry(this);
    RememberColumnWidths(grid_->horizontalHeader(), grid_->objectName());
    ShowSelection();
}

TFormHostList::~TFormHostList() {
    // The child widgets outlive the model they show (they go with the base
    // class): let go of it first.
    model_.waiting.observer = nullptr;
    model_.onListChanged = nullptr;
    model_.focusList = nullptr;
    grid_->setModel(nullptr);
}

void TFormHostList::BuildBottomPanel(QWidget* parent, QVBoxLayout* layout) {
    bottom_ = new QFrame(parent);
    bottom_->setObjectName("pnlBottom");
    bottom_->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bottom_);
    // Made in the order they stand in, which is the order Tab visits them.
    auto* sites = new QPushButton(QString::fromUtf8(kSitesAction), bottom_);
    sites->setObjectName("bbtnSites");
    sites->setToolTip(QStringLiteral("站点簿：添加、编辑、删除、导入和导出站点（Alt+S）"));
    sites->setMinimumWidth(90);
    auto* connectAddress = new QPushButton(QString::fromUtf8(kConnectAddressAction), bottom_);
    connectAddress->setObjectName("bbtnConnectAddress");
    connectAddress->setToolTip(QStringLiteral("连接不在本网段的主机（Alt+L）"));
    connectAddress->setMinimumWidth(120);
    auto* fleet = new QPushButton(QString::fromUtf8(kFleetBoardAction), bottom_);
    fleet->setObjectName("bbtnFleet");
    fleet->setToolTip(QStringLiteral("列表中每台主机和每个站点的实时状态（Alt+A）"));
    fleet->setMinimumWidth(120);
    refresh_ = new QPushButton(QStringLiteral("刷新"), bottom_);
    refresh_->setObjectName("bbtnRefreshHost");
    refresh_->setToolTip(QStringLiteral("刷新主机列表（F5）"));
    refresh_->setMinimumWidth(90);
    auto* quit = new QPushButton(QStringLiteral("退出"), bottom_);
    quit->setObjectName("bbtnQuit");
    quit->setMinimumWidth(90);
    row->addWidget(sites);
    row->addWidget(connectAddress);
    row->addWidget(fleet);
    connect(fleet, &QPushButton::clicked, fleet_, &QAction::trigger);
    row->addStretch(1);
    row->addWidget(refresh_);
    row->addWidget(quit);
    connect(sites, &QPushButton::clicked, sites_, &QAction::trigger);
    connect(connectAddress, &QPushButton::clicked, connectAddress_, &QAction::trigger);
    layout->addWidget(bottom_);
    connect(refresh_, &QPushButton::clicked, this, &TFormHostList::Search);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
}

void TFormHostList::BuildContextMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName("pmMain");
    QAction* refresh = menu_->addAction(QStringLiteral("刷新列表"));
    refresh->setObjectName("miRefreshHostList");
    refresh->setShortcut(Qt::Key_F5);
    QAction* manage = menu_->addAction(QStringLiteral("主机管理..."));
    manage->setObjectName("miHostManage");
    manage->setShortcut(Qt::Key_Enter);
    QAction* modify = menu_->addAction(QStringLiteral("网络配置..."));
    modify->setObjectName("miModifyIP");
    menu_->addSeparator();
    menu_->addAction(connectAddress_);
    menu_->addAction(sites_);
    menu_->addAction(fleet_);
    connect(refresh, &QAction::triggered, this, &TFormHostList::Search);
    connect(manage, &QAction::triggered, this, [this] { emit openHostRequested(SelectedRow()); });
    connect(modify, &QAction::triggered, this, [this] { emit modifyIpRequested(SelectedRow()); });
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(grid_->viewport()->mapToGlobal(at)); });
}

void TFormHostList::ShowContextMenuAtSelectedRow() {
    const QRect cell = grid_->visualRect(grid_->currentIndex());
    const QPoint at = cell.isValid() ? cell.bottomLeft() : QPoint(0, 0);
    menu_->popup(grid_->viewport()->mapToGlobal(at));
    menu_->setActiveAction(menu_->actions().value(0));
}

void TFormHostList::BuildActions() {
    connectAddress_ = new QAction(QString::fromUtf8(kConnectAddressAction), this);
    connectAddress_->setObjectName("miConnectAddress");
    connectAddress_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_L));
    sites_ = new QAction(QString::fromUtf8(kSitesAction), this);
    sites_->setObjectName("miSites");
    sites_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
    fleet_ = new QAction(QString::fromUtf8(kFleetBoardAction), this);
    fleet_->setObjectName("miFleet");
    fleet_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_A));
    addAction(connectAddress_);
    addAction(sites_);
    addAction(fleet_);
    // Nothing starts while a search or another flow runs.
    connect(connectAddress_, &QAction::triggered, this, [this] {
        if (model_.bottomEnabled && !model_.searching) emit connectAddressRequested();
    });
    connect(sites_, &QAction::triggered, this, [this] {
        if (model_.bottomEnabled && !model_.searching) emit sitesRequested();
    });
    connect(fleet_, &QAction::triggered, this, [this] {
        if (model_.bottomEnabled && !model_.searching) emit fleetRequested();
    });
}

void TFormHostList::ModifyAddress(int row, ModifyIpDialog& dialog) {
    if (!tdm_) return;
    RunListFlow([&] { tarnwick::ModifyHostAddress(*tdm_, model_, row, dialog); });
}

void TFormHostList::RunListFlow(const std::function<void()>& flow) {
    auto listChanged = model_.onListChanged;
    auto waitingChanged = model_.waiting.observer;
    model_.onListChanged = [this] {
        table_->Refresh();
        SyncEnabled();
    };
    model_.waiting.observer = [this] {
        waiting_->Sync();
        SyncEnabled();
    };
    selecting_ = true;  // a list the flow rebuilds keeps the host selected
    flow();
    selecting_ = false;
    model_.onListChanged = listChanged;
    model_.waiting.observer = waitingChanged;
    SyncEnabled();
    ShowSelection();
}

int TFormHostList::SelectedRow() const {
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TFormHostList::SelectRow(int row) {
    if (row < 1 || row >= model_.list.RowCount()) return;
    grid_->setCurrentIndex(table_->index(row - 1, 1));
    grid_->selectRow(row - 1);
}

void TFormHostList::ShowSelection() {
    selecting_ = true;
    const int row = model_.SelectedRow();
    if (row > 0) {
        SelectRow(row);
    } else {
        grid_->selectionModel()->clearCurrentIndex();
        grid_->clearSelection();
    }
    selecting_ = false;
}

void TFormHostList::Search() {
    if (!tdm_ || model_.searching) return;
    SyncEnabled();
    model_.waiting.observer = [this] {
        waiting_->Sync();
        SyncEnabled();
    };
    RunHostSearch(*tdm_, model_);
    model_.waiting.observer = [this] { waiting_->Sync(); };
    SyncEnabled();
    ShowSelection();
}

void TFormHostList::SyncEnabled() {
    grid_->setEnabled(model_.listEnabled);
    bottom_->setEnabled(model_.bottomEnabled);
}

bool TFormHostList::HandleKey(QKeyEvent* e) {
    if (!model_.keysAttached) return e->key() == Qt::Key_F5;
    switch (e->key()) {
        case Qt::Key_F5:
            Search();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit openHostRequested(SelectedRow());
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        // The context menu from the keyboard, on the selected row.
        case Qt::Key_Menu:
            ShowContextMenuAtSelectedRow();
            return true;
        case Qt::Key_F10:
            if (!(e->modifiers() & Qt::ShiftModifier)) return false;
            ShowContextMenuAtSelectedRow();
            return true;
        default:
            return false;
    }
}

void TFormHostList::keyPressEvent(QKeyEvent* e) {
    if (!HandleKey(e)) QMainWindow::keyPressEvent(e);
}

bool TFormHostList::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(e))) return true;
    // The window system follows the Menu key with a context-menu request at
    // the mouse pointer; the key has already opened the menu on the row.
    if (e->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Keyboard)
        return true;
    return QMainWindow::eventFilter(watched, e);
}

void TFormHostList::closeEvent(QCloseEvent* e) {
    if (mayClose && !mayClose()) {
        e->ignore();
        return;
    }
    emit closing();
    e->accept();
}

void TFormHostList::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    waiting_->Sync();
}

}  // namespace tarnwick::ui

#include "ui/form_fleet.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "protocol/operator_port.h"
#include "ui/accessibility.h"
#include "ui/captioned_edit.h"
#include "ui/control_binder.h"
#include "ui/fit_to_screen.h"
#include "ui/fleet_board_table.h"
#include "ui/habits.h"
#include "ui/title_strip.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kColumnWidths[kFleetColumns] = {120, 120, 160, 80, 90, 150, 75, 150, 60};

}  // namespace

TFormFleet::TFormFleet(OperatorPort& op, ClockPort& clock, QWidget* parent)
    : QDialog(parent), op_(op), lanes_(op) {
    setObjectName("TFormFleet");
    setWindowTitle(QString::fromUtf8(kFleetBoardTitle));
    poller_ = std::make_unique<FleetPoller>(lanes_, clock);
    board_ = std::make_unique<FleetBoard>(*poller_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(new TitleStrip(QString::fromUtf8(kFleetBoardTitle), this));
    auto* filterRow = new QGridLayout;
    filterRow->setContentsMargins(12, 8, 12, 0);
    AddCaptionedEdit(filterRow, 0, this, board_->controls, kFleetFilterField);
    QLabel* summary = MakeLabel(this, "lblFleetSummary");
    filterRow->addWidget(summary, 0, 2);
    filterRow->setColumnStretch(2, 1);
    filterRow->setColumnMinimumWidth(1, 240);
    layout->addLayout(filterRow);

    grid_ = new QTableView(this);
    grid_->setObjectName("strgridFleet");
    NameInput(grid_, kFleetBoardTitle);
    // Tab leaves the grid for the close button; the arrows move within it.
    grid_->setTabKeyNavigation(false);
    table_ = new FleetBoardTable(*board_, grid_);
    grid_->setModel(table_);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setStyleSheet("QTableView { gridline-color: #c8c8c8; }");
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setSortIndicatorShown(true);
    grid_->horizontalHeader()->setSectionsClickable(true);
    // The widths the operator left, else ours.
    for (int c = 0; c < kFleetColumns; ++c) grid_->setColumnWidth(c, kColumnWidths[c]);
    RememberColumnWidths(grid_->horizontalHeader(), grid_->objectName());
    grid_->installEventFilter(this);
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(12, 8, 12, 8);
    middle->addWidget(grid_, 1);
    layout->addLayout(middle, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    buttons->addStretch(1);
    QPushButton* close = MakeButton(this, "bbtnCloseFleet");
    close->setAutoDefault(false);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { board_->SortBy(column); });
    connect(grid_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { board_->Open(index.row()); });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() < board_->RowCount())
                    selected_ = board_->Host(current.row()).target.address;
            });
    binder_ = new ControlBinder(board_->controls, this);
    board_->controls.SetObserver([this] { binder_->Sync(); });
    board_->onRowsChanged = [this] { Rearranged(); };
    board_->onRowChanged = [this](int row) { table_->RowChanged(row); };

    for (int lane = 0; lane < lanes_.Count(); ++lane) {
        auto* notifier = new QSocketNotifier(static_cast<qintptr>(lanes_.Descriptor(lane)),
                                             QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, lane] { Serve(lane); });
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { Serve(-1); });
    FitToScreen(this, {1080, 560});
    RememberGeometry(this);
}

TFormFleet::~TFormFleet() {
    poller_->Stop();
    board_->onRowsChanged = nullptr;
    board_->onRowChanged = nullptr;
    board_->controls.SetObserver(nullptr);
    grid_->setModel(nullptr);
}

void TFormFleet::Open(std::vector<FleetHost> hosts) {
    poller_->Stop();
    poller_->SetHosts(std::move(hosts));
    board_->Arrange();
    show();
    raise();
    activateWindow();
    grid_->setFocus();
    poller_->Start(op_.TickMs());
    Schedule();
}

void TFormFleet::Serve(int lane) {
    if (lane >= 0) {
        try {
            // A flooded lane cannot hold the window up.
            for (int n = 0; n < 64; ++n) {
                std::optional<Datagram> d = lanes_.TakeWaiting(lane);
                if (!d) break;
                poller_->Receive(lane, *d, op_.TickMs());
            }
        } catch (const std::exception&) {
            // The query waits out its time.
        }
    }
    poller_->Tick(op_.TickMs());
    Schedule();
}

void TFormFleet::Schedule() {
    const std::optional<uint64_t> wake = poller_->NextWakeMs();
    if (!wake) {
        timer_->stop();
        return;
    }
    const uint64_t now = op_.TickMs();
    timer_->start(*wake > now ? static_cast<int>(*wake - now) : 0);
}

void TFormFleet::Rearranged() {
    // The row the operator chose stays chosen, wherever the order puts it.
    std::string address = selected_;
    table_->Reset();
    grid_->horizontalHeader()->setSortIndicator(
        board_->SortColumn(), board_->Ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    int row = address.empty() ? -1 : board_->RowOf(address);
    // Enter opens a row from the start: the first one until another is chosen.
    if (row < 0 && board_->RowCount() > 0) {
        row = 0;
        address = board_->Host(0).target.address;
    }
    if (row >= 0) {
        grid_->setCurrentIndex(table_->index(row, 0));
        grid_->selectRow(row);
    }
    selected_ = address;
}

bool TFormFleet::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            board_->Open(grid_->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TFormFleet::hideEvent(QHideEvent* e) {
    // Closed or hidden: every query is given up at once.
    poller_->Stop();
    timer_->stop();
    QDialog::hideEvent(e);
}

}  // namespace tarnwick::ui

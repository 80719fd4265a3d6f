#include "ui/form_host_list.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarnwick::ui {

TFormHostList::TFormHostList(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TFormHostList");
    setWindowTitle(QStringLiteral("Tarnwick软件 Ver1.0.8"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    title_ = new QLabel(QStringLiteral("主机列表"), central);
    title_->setObjectName("lblTitle");
    layout->addWidget(title_);
    grid_ = new QTableWidget(central);
    grid_->setObjectName("strgridHostList");
    layout->addWidget(grid_);
    setCentralWidget(central);
    BuildGrid();
    ShowRows();
    resize(1020, 620);
}

void TFormHostList::BuildGrid() {
    grid_->setColumnCount(HostListModel::kColumns - 1);
    grid_->horizontalHeader()->setVisible(true);
    grid_->verticalHeader()->setVisible(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TFormHostList::ShowRows() {
    grid_->setColumnCount(HostListModel::kColumns);
    grid_->setRowCount(model_.RowCount() - 1);
    for (int c = 0; c < HostListModel::kColumns; ++c) {
        grid_->setHorizontalHeaderItem(
            c, new QTableWidgetItem(QString::fromStdString(model_.Cell(0, c))));
        grid_->setColumnWidth(c, HostListModel::kColumnWidths[static_cast<size_t>(c)]);
    }
    for (int r = 1; r < model_.RowCount(); ++r) {
        grid_->setRowHeight(r - 1, HostListModel::kRowHeight);
        for (int c = 0; c < HostListModel::kColumns; ++c)
            grid_->setItem(r - 1, c,
                           new QTableWidgetItem(QString::fromStdString(model_.Cell(r, c))));
    }
}

}  // namespace tarnwick::ui

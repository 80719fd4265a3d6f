#pragma once
#include <QAbstractTableModel>

#include "operation/fleet_board.h"

namespace tarnwick::ui {

// The grid strgridFleet over the core's board: its rows and cells, each row
// coloured by its state, an offline host's reason as the row's tooltip.
class FleetBoardTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit FleetBoardTable(const FleetBoard& board, QObject* parent = nullptr)
        : QAbstractTableModel(parent), board_(board) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The board arranged its rows anew; one of its rows changed.
    void Reset();
    void RowChanged(int row);

  private:
    const FleetBoard& board_;
};

}  // namespace tarnwick::ui

#include "ui/fleet_board_table.h"

#include <QBrush>
#include <QColor>

namespace tarnwick::ui {
namespace {

QVariant Background(FleetTone tone) {
    switch (tone) {
        case FleetTone::Alarm:
            return QBrush(QColor::fromRgb(kFleetAlarmColor));
        case FleetTone::Fault:
            return QBrush(QColor::fromRgb(kFleetFaultColor));
        case FleetTone::Offline:
            return QBrush(QColor::fromRgb(kFleetOfflineColor));
        case FleetTone::Normal:
            break;
    }
    return {};
}

}  // namespace

int FleetBoardTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : board_.RowCount();
}

int FleetBoardTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFleetColumns;
}

QVariant FleetBoardTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= board_.RowCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(board_.Cell(index.row(), index.column()));
        case Qt::BackgroundRole:
            return Background(board_.Tone(index.row()));
        case Qt::ForegroundRole:
            if (board_.Tone(index.row()) == FleetTone::Offline)
                return QBrush(QColor(0x60, 0x60, 0x60));
            return {};
        case Qt::ToolTipRole: {
            const std::string hint = board_.Hint(index.row());
            return hint.empty() ? QVariant() : QVariant(QString::fromStdString(hint));
        }
        default:
            return {};
    }
}

QVariant FleetBoardTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kFleetColumns)
        return QString::fromUtf8(kFleetHeaders[static_cast<size_t>(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void FleetBoardTable::Reset() {
    beginResetModel();
    endResetModel();
}

void FleetBoardTable::RowChanged(int row) {
    if (row >= 0 && row < board_.RowCount())
        emit dataChanged(index(row, 0), index(row, kFleetColumns - 1));
}

}  // namespace tarnwick::ui

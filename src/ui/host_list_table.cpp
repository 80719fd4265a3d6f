#include "ui/host_list_table.h"

#include <QBrush>
#include <QColor>

namespace tarnwick::ui {

int HostListTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int HostListTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : HostListModel::kColumns;
}

QVariant HostListTable::data(const QModelIndex& index, int role) const {
    const int row = index.row() + 1;
    const bool shaded = HostListModel::IsShadedRow(row) && index.column() > 0;
    // A booked site that did not answer the search is greyed.
    const bool absent = list_.IsAbsent(row) && index.column() > 0;
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(list_.Cell(row, index.column()));
        case Qt::BackgroundRole:
            if (shaded) return QBrush(QColor(0xF5, 0xF5, 0xF5));
            if (index.column() == 0) return QBrush(QColor(0xEC, 0xEC, 0xEC));
            return {};
        case Qt::ForegroundRole:
            if (absent) return QBrush(QColor(0x90, 0x90, 0x90));
            return shaded ? QVariant(QBrush(QColor(0x00, 0x80, 0x00))) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant HostListTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString::fromStdString(list_.Cell(0, section));
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void HostListTable::Refresh() {
    const int rows = list_.RowCount() - 1;
    if (rows != shownRows_) {
        beginResetModel();
        shownRows_ = rows;
        endResetModel();
        return;
    }
    if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, HostListModel::kColumns - 1));
}

}  // namespace tarnwick::ui

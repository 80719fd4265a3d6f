#pragma once
#include <QAbstractTableModel>

#include "hosts/host_list_model.h"

namespace tarnwick::ui {

// The grid strgridHostList over the core's host list: row 0 of the core list
// is the header, the others are the data rows; even data rows are grey with
// green text, and booked sites that did not answer the search grey text.
class HostListTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit HostListTable(const HostListModel& list, QObject* parent = nullptr)
        : QAbstractTableModel(parent), list_(list) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The core list changed: rows added or texts replaced.
    void Refresh();

  private:
    const HostListModel& list_;
    int shownRows_ = 0;
};

}  // namespace tarnwick::ui

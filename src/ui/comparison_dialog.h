#pragma once
#include <QDialog>

namespace tarnwick {
struct ComparisonTable;
}

class QLabel;
class QTableWidget;

namespace tarnwick::ui {

// The differences of two configurations as a read-only table, one row per
// setting, with where the two come from above it.
class ComparisonDialog : public QDialog {
    Q_OBJECT
  public:
    ComparisonDialog(const ComparisonTable& table, QWidget* parent = nullptr);
    QTableWidget* Table() const { return grid_; }

  private:
    QLabel* summary_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

}  // namespace tarnwick::ui

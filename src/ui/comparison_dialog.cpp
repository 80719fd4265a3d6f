#include "ui/comparison_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "backup/config_actions.h"
#include "ui/habits.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kPageColumnWidth = 110;
constexpr int kSettingColumnWidth = 220;
constexpr int kValueColumnWidth = 260;

}  // namespace

ComparisonDialog::ComparisonDialog(const ComparisonTable& table, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TFormCompare");
    setWindowTitle(QString::fromUtf8(kComparisonTitle));
    setModal(true);
    resize(900, 560);
    RememberGeometry(this);
    auto* layout = new QVBoxLayout(this);

    summary_ = MakeLabel(this, "lblCompareSummary", table.summary.c_str());
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(summary_);

    grid_ = MakeGrid(this, "strgridCompare");
    grid_->setAccessibleName(QString::fromUtf8(kComparisonTitle));
    grid_->setAccessibleDescription(summary_->text());
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setAlternatingRowColors(true);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnCount(ComparisonTable::kColumns);
    QStringList captions;
    for (const std::string& caption : table.columns) captions << QString::fromStdString(caption);
    grid_->setHorizontalHeaderLabels(captions);
    grid_->setRowCount(static_cast<int>(table.rows.size()));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const ComparisonTable::Row& cells = table.rows[static_cast<size_t>(row)];
        for (int col = 0; col < ComparisonTable::kColumns && col < static_cast<int>(cells.size());
             ++col) {
            auto* item =
                new QTableWidgetItem(QString::fromStdString(cells[static_cast<size_t>(col)]));
            item->setToolTip(item->text());
            grid_->setItem(row, col, item);
        }
    }
    const int widths[] = {kPageColumnWidth, kSettingColumnWidth, kValueColumnWidth};
    for (int col = 0; col < 3; ++col) grid_->setColumnWidth(col, widths[col]);
    layout->addWidget(grid_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName("bbtnCloseCompare");
    close->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    grid_->setFocus();
}

}  // namespace tarnwick::ui

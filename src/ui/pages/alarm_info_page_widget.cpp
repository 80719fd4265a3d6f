#include "ui/pages/alarm_info_page_widget.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "operation/alarm_info_page.h"
#include "operation/alarm_records.h"
#include "ui/control_binder.h"
#include "ui/habits.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kColumnWidths[kAlarmGridColumns] = {50, 50, 50, 228, 88, 190};
constexpr int kTextLeft = 2;
constexpr int kTextTop = 4;

// Draws a cell in the colours the page gives for it, its text 2 pixels right
// of and 4 pixels below the cell's corner. Grid row 0 is the header, so the
// table's row r is the page's row r + 1.
class AlarmCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const AlarmCellStyle style = AlarmCellStyleAt(index.row() + 1, index.column());
        const bool selected = item.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(item.rect, item.palette.highlight());
        else if (style.background)
            painter->fillRect(item.rect, QColor::fromRgb(style.background));
        QColor text =
            selected ? item.palette.highlightedText().color() : item.palette.text().color();
        if (!selected && style.text) text = QColor::fromRgb(style.text);
        painter->save();
        painter->setPen(text);
        painter->setFont(item.font);
        const QRect area = item.rect.adjusted(kTextLeft, kTextTop, 0, 0);
        painter->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.text);
        painter->restore();
    }
};

// "查询自        条起的20条": the words before and after the blanks that
// cbStartNo stands in.
std::pair<QString, QString> AroundStartNumber(const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    const QStringList parts = text.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != 2) return {text, {}};
    return {parts[0], parts[1]};
}

}  // namespace

AlarmInfoPageWidget::AlarmInfoPageWidget(AlarmInfoPage& page, QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromStdString(page.PageName()));
    auto* layout = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    const auto [before, after] = AroundStartNumber(page.Controls()["Label95"].text);
    auto* lead = new QLabel(before, this);
    QComboBox* start = MakeCombo(this, "cbStartNo");
    start->setEditable(true);
    start->setInsertPolicy(QComboBox::NoInsert);
    start->setMinimumContentsLength(5);
    lead->setBuddy(start);
    bar->addWidget(lead);
    bar->addWidget(start);
    bar->addWidget(new QLabel(after, this));
    bar->addSpacing(16);
    for (const char* name :
         {"bbtnPageUp", "bbtnPageDown", "bbtnFindAlarmInfo", "bbtnToExcel", "bbtnAllToExcel"})
        bar->addWidget(MakeButton(this, name));
    bar->addStretch(1);
    layout->addLayout(bar);

    auto* grid = new QTableWidget(this);
    grid->setObjectName("strgridAlarmInfo");
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->setItemDelegate(new AlarmCellDelegate(grid));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 2 * kTextTop);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setColumnCount(kAlarmGridColumns);
    for (int col = 0; col < kAlarmGridColumns; ++col) grid->setColumnWidth(col, kColumnWidths[col]);
    layout->addWidget(grid, 1);

    page.chooseExportPath = [this](const std::string& suggested) {
        const QString path =
            ChooseSaveFile(this, QStringLiteral("export"), QString::fromUtf8(kExportDialogTitle),
                           QString::fromStdString(suggested), QString::fromUtf8(kExportFilter));
        // The hourglass while the workbook is written; back once the click
        // that started the export has been handled.
        if (!path.isEmpty()) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            QTimer::singleShot(0, this, [] { QApplication::restoreOverrideCursor(); });
        }
        return path.toStdString();
    };
    // Label95 is shown as the two labels around the start number.
    auto* binder = new ControlBinder(page.Controls(), this, {"Label95"});
    page.Controls().SetObserver([binder] { binder->Sync(); });
    setTabOrder(start, findChild<QPushButton*>("bbtnPageUp"));
}

}  // namespace tarnwick::ui

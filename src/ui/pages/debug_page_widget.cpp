#include "ui/pages/debug_page_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "diagnostics/debug_page.h"
#include "protocol/trace_memo.h"
#include "ui/control_binder.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

DebugPageWidget::DebugPageWidget(DebugPage& page, TraceMemo& trace, QWidget* parent)
    : QWidget(parent), page_(page), trace_(trace) {
    setObjectName(QString::fromStdString(page.PageName()));
    auto* layout = new QVBoxLayout(this);
    QLabel* received = MakeLabel(this, "Label85", "接收数据：");
    layout->addWidget(received);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("memInfo");
    memo_->setReadOnly(true);
    memo_->setTabChangesFocus(true);
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(memo_, 1);
    received->setBuddy(memo_);
    auto* menu = new QMenu(memo_);
    menu->setObjectName("pmShowString");
    QAction* toText = menu->addAction(QStringLiteral("HexToString"));
    toText->setObjectName("HexToString1");
    connect(toText, &QAction::triggered, this,
            [this] { page_.ShowHexAsText(memo_->textCursor().selectedText().toStdString()); });
    connect(memo_, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& at) { menu->popup(memo_->mapToGlobal(at)); });

    auto* tools = new QGroupBox(this);
    auto* grid = new QGridLayout(tools);
    // An input beside the label of its caption.
    auto captioned = [&](QWidget* input, int row, int column, int span = 1) {
        const std::string& caption = page.Controls()[input->objectName().toStdString()].caption;
        auto* label = new QLabel(QString::fromStdString(caption), tools);
        label->setBuddy(input);
        grid->addWidget(label, row, column);
        grid->addWidget(input, row, column + 1, 1, span);
    };
    captioned(MakeEdit(tools, "edtData"), 0, 0, 7);
    captioned(MakeEdit(tools, "edtIP"), 1, 0);
    captioned(MakeEdit(tools, "edtPort"), 1, 2);
    captioned(MakeCombo(tools, "Edit2"), 1, 4);
    grid->addWidget(MakeButton(tools, "Button1"), 1, 6, 1, 2);
    const char* buttons[] = {"btnSendUDP",       "btnSendBroadcast", "btnGetCheckSum",
                             "btnGetCheckCode",  "btnCheckNum",      "BitBtn1",
                             "btnReadUDPBuffer", "Button2"};
    int column = 0;
    for (const char* name : buttons) grid->addWidget(MakeButton(tools, name), 2, column++);
    grid->addWidget(MakeCheck(tools, "chkAutoRefresh"), 3, 0, 1, 3);
    grid->addWidget(MakeCheck(tools, "chkPrintGs"), 3, 3, 1, 3);
    layout->addWidget(tools);
    if (auto* send = findChild<QPushButton*>("btnSendUDP")) send->setDefault(true);

    auto* binder = new ControlBinder(page.Controls(), this);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    ShowTrace();
}

void DebugPageWidget::ShowTrace() {
    auto show = [this](const std::string& line) {
        memo_->appendPlainText(QString::fromStdString(line).replace("\r\n", "\n"));
    };
    const auto& lines = trace_.Lines();
    // Cleared, or older lines dropped since the last time: show it afresh.
    if (trace_.Added() < shownLines_ || trace_.Dropped() != shownDropped_) {
        memo_->clear();
        if (trace_.Dropped() > 0) show(trace_.DroppedNotice());
        shownLines_ = trace_.Dropped();
        shownDropped_ = trace_.Dropped();
    }
    for (; shownLines_ < trace_.Added(); ++shownLines_) show(lines[shownLines_ - shownDropped_]);
    memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

}  // namespace tarnwick::ui

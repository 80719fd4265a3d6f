#include "ui/control_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QValidator>
#include <algorithm>
#include <cstdio>

#include "protocol/operator_port.h"
#include "ui/accessibility.h"
#include "ui/qt_text.h"

namespace tarnwick::ui {
namespace {

ControlBinder::Report& ReportSink() {
    static ControlBinder::Report report;
    return report;
}

OperatorPort*& ErrorPort() {
    static OperatorPort* op = nullptr;
    return op;
}

ControlBinder::Report& ErrorTrace() {
    static ControlBinder::Report trace;
    return trace;
}

// What the operator is told when a handler fails: never the error's own
// text, which is the program's and not in the operator's language.
constexpr const char* kHandlerFailedText = "操作未能完成，请重试。原因已记入调试页面的信息中。";

void ShowHandlerFailure(const std::exception& e) {
    const std::string line = std::string("[操作未完成]: ") + e.what();
    if (ErrorTrace())
        ErrorTrace()(line);
    else
        std::fprintf(stderr, "%s\n", line.c_str());
    if (ErrorPort())
        ErrorPort()->Error(kHandlerFailedText);
    else
        QMessageBox::critical(nullptr, QStringLiteral("错误"),
                              QString::fromUtf8(kHandlerFailedText));
}

void SendReport(const std::string& text) {
    if (ReportSink())
        ReportSink()(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

// Widgets the operator types into, chooses from or clicks.
bool IsInput(const QWidget* w) {
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(w)) return !memo->isReadOnly();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QListWidget*>(w) ||
           qobject_cast<const QTableWidget*>(w);
}

// Buttons and edits that Qt's own composite widgets make for themselves (the
// scroll buttons of a tab bar, the edit of a spin box).
bool PartOfAQtWidget(const QWidget* w) {
    const QWidget* p = w->parentWidget();
    return qobject_cast<const QTabBar*>(p) || qobject_cast<const QComboBox*>(p) ||
           qobject_cast<const QAbstractSpinBox*>(p);
}

// Whether `w` sits under a widget between it and `root` that is bound on its
// own: the root of another binder, or a widget marked kOwnBindingProperty.
bool BoundBelow(const QWidget* w, const QWidget* root) {
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (p->property(kOwnBindingProperty).toBool()) return true;
        if (p->findChild<ControlBinder*>(QString(), Qt::FindDirectChildrenOnly)) return true;
    }
    return false;
}

// The core's key filter as a validator: every character must pass it.
class KeyFilterValidator : public QValidator {
  public:
    KeyFilterValidator(KeyFilter filter, QObject* parent) : QValidator(parent), filter_(filter) {}
    State validate(QString& input, int&) const override {
        if (filter_ == KeyFilter::UpperCase) input = input.toUpper();
        for (QChar c : input)
            if (!AcceptsKey(filter_, c.unicode())) return Invalid;
        return Acceptable;
    }

  private:
    KeyFilter filter_;
};

// A rich-text log: each line in the normal colour up to its colour's start,
// then in that colour; kept scrolled to its end.
void ShowColouredLines(QTextEdit* log, const Control& c) {
    log->setReadOnly(c.readOnly);
    log->clear();
    QTextCursor cursor(log->document());
    for (size_t i = 0; i < c.lines.size(); ++i) {
        const std::string& line = c.lines[i];
        const LineColor colour = i < c.lineColors.size() ? c.lineColors[i] : LineColor{};
        const size_t from = std::min(colour.from, line.size());
        if (i > 0) cursor.insertBlock();
        cursor.insertText(Q(line.substr(0, from)), QTextCharFormat());
        QTextCharFormat tail;
        if (colour.rgb) tail.setForeground(QColor::fromRgb(colour.rgb));
        cursor.insertText(Q(line.substr(from)), tail);
    }
    log->moveCursor(QTextCursor::End);
    log->ensureCursorVisible();
}

// A control's picture from the widget's image list (a picture path pattern
// with %1 for the index), or a null icon when it has none.
QIcon Picture(const QWidget* w, int image) {
    const QString list = w->property("imageList").toString();
    if (list.isEmpty() || image < 0) return {};
    QIcon icon(list.arg(image));
    // addFile takes the @2x picture beside it as well.
    if (w->property(kKeepPictureProperty).toBool())
        icon.addFile(list.arg(image), {}, QIcon::Disabled);
    return icon;
}

// The label's text colour from the model; 0 gives back the default colour.
void ShowColour(QLabel* label, std::optional<uint32_t> color) {
    if (color) {
        label->setStyleSheet(QString("color: #%1;").arg(*color, 6, 16, QChar('0')));
        label->setProperty("boundColour", true);
    } else if (label->property("boundColour").toBool()) {
        label->setStyleSheet({});
        label->setProperty("boundColour", false);
    }
}

// A radio button is exclusive with its neighbours and cannot be unchecked
// by itself; the model may clear a whole group.
void ShowChecked(QAbstractButton* button, bool checked) {
    if (checked || !button->isChecked() || !button->autoExclusive()) {
        button->setChecked(checked);
        return;
    }
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

}  // namespace

ControlBinder::ControlBinder(PageModel& model, QWidget* root, std::vector<std::string> shownByPage)
    : QObject(root), model_(model), shownByPage_(std::move(shownByPage)) {
    for (const auto& control : model_.Controls()) {
        auto* widget = root->findChild<QWidget*>(Q(control->name));
        if (!widget) continue;
        bindings_.push_back({control.get(), widget});
        // Read out by its caption, wherever the page put the widget.
        if (!control->caption.empty()) NameInput(widget, control->caption);
    }
    NameGroups(root);
    CheckNames(root);
    for (Binding& b : bindings_) Connect(b);
    Sync();
}

void ControlBinder::SetReport(Report report) {
    ReportSink() = std::move(report);
}

void ControlBinder::SetOperator(OperatorPort* op) {
    ErrorPort() = op;
}

void ControlBinder::SetErrorTrace(Report trace) {
    ErrorTrace() = std::move(trace);
}

void ControlBinder::CheckNames(QWidget* root) const {
    // Named after the root, or the first named widget around it.
    std::string where;
    for (const QWidget* w = root; w && where.empty(); w = w->parentWidget())
        if (!w->objectName().startsWith("qt_")) where = w->objectName().toStdString();
    // A control hidden from the start may go without a widget.
    for (const auto& control : model_.Controls())
        if (control->visible && !root->findChild<QWidget*>(Q(control->name)) &&
            std::find(shownByPage_.begin(), shownByPage_.end(), control->name) ==
                shownByPage_.end())
            SendReport(where + ": control " + control->name + " has no widget");
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || !IsInput(w) || PartOfAQtWidget(w) ||
            BoundBelow(w, root))
            continue;
        if (!model_.Holds(name.toStdString()))
            SendReport(where + ": widget " + name.toStdString() + " has no control");
    }
    for (const std::string& problem : model_.CaptionProblems()) SendReport(where + ": " + problem);
}

void ControlBinder::Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ShowHandlerFailure(e);
    }
    Sync();
}

void ControlBinder::Connect(Binding& b) {
    Control* c = b.control;
    const std::string name = c->name;
    QWidget* w = b.widget;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (c->maxLength) edit->setMaxLength(static_cast<int>(c->maxLength));
        if (c->filter != KeyFilter::None)
            edit->setValidator(new KeyFilterValidator(c->filter, edit));
        edit->setEchoMode(c->password ? QLineEdit::Password : QLineEdit::Normal);
        connect(edit, &QLineEdit::textEdited, this, [this, c, name](const QString& text) {
            c->text = text.toStdString();
            Guarded([this, name] { model_.Change(name); });
        });
        connect(edit, &QLineEdit::editingFinished, this,
                [this, name] { Guarded([this, name] { model_.Exit(name); }); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable()) {
        // An editable list is its text: typed or taken from the list.
        if (c->filter != KeyFilter::None)
            combo->setValidator(new KeyFilterValidator(c->filter, combo));
        connect(combo, &QComboBox::editTextChanged, this, [this, c, name](const QString& text) {
            c->text = text.toStdString();
            Guarded([this, name] { model_.Change(name); });
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::activated, this, [this, c, name](int index) {
            c->index = index;
            Guarded([this, name] { model_.Change(name); });
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            connect(button, &QAbstractButton::clicked, this, [this, c, name](bool checked) {
                c->checked = checked;
                // A radio button unchecks its neighbours: take their state too.
                for (Binding& other : bindings_)
                    if (auto* radio = qobject_cast<QRadioButton*>(other.widget.data()))
                        other.control->checked = radio->isChecked();
                Guarded([this, name] {
                    model_.Change(name);
                    model_.Click(name);
                });
            });
        } else {
            connect(button, &QAbstractButton::clicked, this,
                    [this, name] { Guarded([this, name] { model_.Click(name); }); });
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        if (memo->isReadOnly()) return;
        connect(memo, &QPlainTextEdit::textChanged, this, [this, c, memo, name] {
            c->lines.clear();
            for (const QString& line : memo->toPlainText().split('\n'))
                c->lines.push_back(line.toStdString());
            if (!c->lines.empty() && c->lines.back().empty()) c->lines.pop_back();
            try {
                model_.Change(name);
            } catch (const std::exception& e) {
                ShowHandlerFailure(e);
            }
        });
        memo->installEventFilter(this);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        connect(list, &QListWidget::itemChanged, this,
                [this, c, list, name](QListWidgetItem* item) {
                    const size_t row = static_cast<size_t>(list->row(item));
                    if (row < c->itemChecked.size())
                        c->itemChecked[row] = item->checkState() == Qt::Checked;
                    Guarded([this, name] { model_.Change(name); });
                });
    }
}

bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (const Binding& b : bindings_)
            if (b.widget == watched) {
                const std::string name = b.control->name;
                Guarded([this, name] { model_.Exit(name); });
            }
    }
    return QObject::eventFilter(watched, event);
}

void ControlBinder::Sync() {
    for (const Binding& b : bindings_) Show(b);
    const std::string focus = model_.TakeFocusRequest();
    for (const Binding& b : bindings_)
        if (b.widget && b.control->name == focus) b.widget->setFocus(Qt::OtherFocusReason);
}

void ControlBinder::Show(const Binding& b) {
    QWidget* w = b.widget;
    if (!w) return;
    const Control& c = *b.control;
    QSignalBlocker block(w);
    w->setEnabled(c.enabled);
    // Only what the model hid is shown again; widgets the page hides itself
    // stay as they are.
    if (!c.visible && !w->isHidden()) {
        w->hide();
        w->setProperty("hiddenByModel", true);
    } else if (c.visible && w->property("hiddenByModel").toBool()) {
        w->show();
        w->setProperty("hiddenByModel", false);
    }
    if (!c.hint.empty()) {
        w->setToolTip(Q(c.ShortHint()));
        w->setStatusTip(Q(c.LongHint()));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != Q(c.text)) edit->setText(Q(c.text));
        edit->setReadOnly(c.readOnly);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->count() != static_cast<int>(c.items.size())) {
            combo->clear();
            for (const std::string& item : c.items) combo->addItem(Q(item));
        }
        if (combo->isEditable()) {
            if (combo->currentText() != Q(c.text)) combo->setEditText(Q(c.text));
        } else {
            combo->setCurrentIndex(c.index);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!c.text.empty()) button->setText(Q(c.text));
        if (button->isCheckable()) ShowChecked(button, c.checked);
        if (const QIcon icon = Picture(w, c.image); !icon.isNull()) button->setIcon(icon);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(Q(c.text));
        ShowColour(label, c.color);
        if (const QIcon icon = Picture(w, c.image); !icon.isNull()) {
            const int size = w->property("imageSize").toInt();
            label->setPixmap(icon.pixmap(QSize(size, size), label->devicePixelRatioF()));
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        QStringList lines;
        for (const std::string& line : c.lines) lines << Q(line);
        // Rewriting the text the operator is typing would move the cursor.
        if (memo->toPlainText() != lines.join('\n')) memo->setPlainText(lines.join('\n'));
    } else if (auto* log = qobject_cast<QTextEdit*>(w)) {
        ShowColouredLines(log, c);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (list->count() != static_cast<int>(c.items.size())) {
            list->clear();
            for (const std::string& item : c.items) {
                auto* entry = new QListWidgetItem(Q(item), list);
                entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
            }
        }
        for (int i = 0; i < list->count(); ++i) {
            const bool on = static_cast<size_t>(i) < c.itemChecked.size() &&
                            c.itemChecked[static_cast<size_t>(i)];
            list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    } else if (auto* grid = qobject_cast<QTableWidget*>(w)) {
        if (c.cells.empty()) return;
        const int columns = static_cast<int>(c.cells[0].size());
        grid->setColumnCount(columns);
        grid->setRowCount(static_cast<int>(c.cells.size()) - 1);
        for (int col = 0; col < columns; ++col)
            grid->setHorizontalHeaderItem(
                col, new QTableWidgetItem(Q(c.cells[0][static_cast<size_t>(col)])));
        for (size_t r = 1; r < c.cells.size(); ++r)
            for (size_t col = 0; col < c.cells[r].size(); ++col)
                grid->setItem(static_cast<int>(r) - 1, static_cast<int>(col),
                              new QTableWidgetItem(Q(c.cells[r][col])));
    }
}

}  // namespace tarnwick::ui

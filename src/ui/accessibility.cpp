#include "ui/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

#include "hosts/page_model.h"

namespace tarnwick::ui {
namespace {

// A drop-down list: named by its accessible name (else its buddy label or
// its group, as any widget), its value the chosen entry, also offered as
// read-only text; its children are Qt's (an editable list's edit) and the
// list that opens.
class ListInterface : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ListInterface(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Entry() : QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(List()->view());
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child && child->object() == List()->view()) return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = List()->view()->isVisible();
        s.editable = List()->isEditable();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            List()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

    // The chosen entry as text that cannot be edited here.
    QString text(int start, int end) const override { return Entry().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Entry().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
    QString Entry() const { return List()->currentText(); }
};

QAccessibleInterface* ListFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new ListInterface(static_cast<QComboBox*>(object));
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    QAccessible::installFactory(ListFactory);
}

void NameInput(QWidget* input, const std::string& caption) {
    const QString name = QString::fromStdString(SpokenCaption(caption));
    input->setAccessibleName(name);
    if (auto* list = qobject_cast<QComboBox*>(input); list && list->lineEdit())
        list->lineEdit()->setAccessibleName(name);
}

void NameGroups(QWidget* root) {
    for (QGroupBox* group : root->findChildren<QGroupBox*>())
        if (group->accessibleName().isEmpty() && !group->title().isEmpty())
            group->setAccessibleName(group->title());
}

}  // namespace tarnwick::ui

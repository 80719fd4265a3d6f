#pragma once
#include <QObject>
#include <QPointer>
#include <vector>

#include "hosts/page_model.h"

class QWidget;

namespace tarnwick::ui {

// Keeps the widgets of a page in step with its named controls: a widget whose
// objectName is a control's name shows that control, and what the operator
// does to it (typing, choosing, ticking, clicking, leaving) goes back into
// the model and to the model's handlers. One binder serves every page.
class ControlBinder : public QObject {
    Q_OBJECT
  public:
    ControlBinder(PageModel& model, QWidget* root);
    // Model to widgets.
    void Sync();
    PageModel& Model() { return model_; }

  protected:
    // An editable memo tells the model when the focus leaves it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Binding {
        Control* control;
        QPointer<QWidget> widget;
    };
    void Connect(Binding& binding);
    void Show(const Binding& binding);
    // Runs a handler; what it throws goes to the error box.
    void Guarded(const std::function<void()>& action);

    PageModel& model_;
    std::vector<Binding> bindings_;
};

}  // namespace tarnwick::ui

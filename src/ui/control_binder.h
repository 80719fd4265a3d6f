#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "hosts/page_model.h"

class QWidget;

namespace tarnwick {
class OperatorPort;
}

namespace tarnwick::ui {

// A widget whose children are kept in step by its own code (the waiting
// panel) carries this property set to true, so no binder above it claims
// its named inputs.
inline constexpr const char* kOwnBindingProperty = "tarnwickOwnBinding";
// A button that shows state by its picture (a lamp) carries this property set
// to true: disabled, it keeps its picture instead of Qt's greyed one.
inline constexpr const char* kKeepPictureProperty = "tarnwickKeepPicture";

// Keeps the widgets of a page in step with its named controls: a widget whose
// objectName is a control's name shows that control, and what the operator
// does to it (typing, choosing, ticking, clicking, leaving) goes back into
// the model and to the model's handlers. One binder serves every page.
//
// A binder is loud about names that do not meet: a model control without a
// widget under the root, and a named input widget under the root (and not
// under another binder's root) without a control, are reported when it is
// built. A handler that throws shows the operator an error box in Chinese;
// what it threw goes to the error trace.
class ControlBinder : public QObject {
    Q_OBJECT
  public:
    using Report = std::function<void(const std::string&)>;

    // `shownByPage` names controls the page widget shows with widgets of its
    // own making (a label split around an edit, say): they need no widget.
    ControlBinder(PageModel& model, QWidget* root, std::vector<std::string> shownByPage = {});
    // Model to widgets.
    void Sync();
    PageModel& Model() { return model_; }

    // Where every binder sends its reports; empty prints them to stderr.
    static void SetReport(Report report);
    // The operator port that shows the box of a handler that threw; without
    // one a plain error box is shown.
    static void SetOperator(OperatorPort* op);
    // Where the text a handler threw goes (the debug trace); empty prints it
    // to stderr.
    static void SetErrorTrace(Report trace);

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
    // Reports controls without widgets and input widgets without controls.
    void CheckNames(QWidget* root) const;

    PageModel& model_;
    std::vector<std::string> shownByPage_;
    std::vector<Binding> bindings_;
};

}  // namespace tarnwick::ui

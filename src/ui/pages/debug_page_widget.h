#pragma once
#include <QWidget>

namespace tarnwick {
class DebugPage;
class TraceMemo;
}  // namespace tarnwick

class QPlainTextEdit;

namespace tarnwick::ui {

// TabSheet4: the trace memo and the protocol tools.
class DebugPageWidget : public QWidget {
    Q_OBJECT
  public:
    DebugPageWidget(DebugPage& page, QWidget* parent);
    // Shows the trace; scrolls to its end.
    void ShowTrace();

  private:
    DebugPage& page_;
    TraceMemo& trace_;
    QPlainTextEdit* memo_;
    size_t shownLines_ = 0;  // counted as TraceMemo::Added counts
    size_t shownDropped_ = 0;
};

}  // namespace tarnwick::ui

#pragma once
#include <QFrame>

class QLabel;
class QHBoxLayout;

namespace tarnwick::ui {

// The title band at the top of a window: our JPEG strip with the caption
// lblTitle on it, and room on the right for more labels.
class TitleStrip : public QFrame {
    Q_OBJECT
  public:
    TitleStrip(const QString& caption, QWidget* parent);
    QLabel* Caption() const { return caption_; }
    // Adds a label on the right side of the strip.
    QLabel* AddLabel(const QString& objectName);

  private:
    QLabel* caption_;
    QHBoxLayout* row_;
};

}  // namespace tarnwick::ui

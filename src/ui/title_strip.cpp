#include "ui/title_strip.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/pictures.h"

namespace tarnwick::ui {

TitleStrip::TitleStrip(const QString& caption, QWidget* parent) : QFrame(parent) {
    setObjectName("pnlTitle");
    setFixedHeight(46);
    setStyleSheet(QStringLiteral("#pnlTitle { border-image: url(\"%1\") 0 0 0 0 stretch stretch; }"
                                 "#pnlTitle QLabel { color: white; }")
                      .arg(PicturePath("title_strip.jpg")));
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(16, 4, 16, 4);
    caption_ = new QLabel(caption, this);
    caption_->setObjectName("lblTitle");
    QFont font = caption_->font();
    font.setPointSize(font.pointSize() + 5);
    font.setBold(true);
    caption_->setFont(font);
    row_->addWidget(caption_);
    row_->addStretch(1);
}

QLabel* TitleStrip::AddLabel(const QString& objectName) {
    auto* label = new QLabel(this);
    label->setObjectName(objectName);
    row_->addWidget(label);
    return label;
}

}  // namespace tarnwick::ui

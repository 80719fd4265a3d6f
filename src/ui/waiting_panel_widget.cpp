#include "ui/waiting_panel_widget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/control_binder.h"

namespace tarnwick::ui {

WaitingPanelWidget::WaitingPanelWidget(WaitingPanel& model, bool withStop, QWidget* parent)
    : QFrame(parent), model_(model) {
    setObjectName("PnlWaiting");
    setProperty(kOwnBindingProperty, true);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setStyleSheet(
        "#PnlWaiting { background: #f4f7fb; border: 2px solid #3a6ea5; border-radius: 6px; }");
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    title_->setObjectName("lblWaitingTitle");
    title_->setStyleSheet("color: #1d3f66; font-weight: bold;");
    layout->addWidget(title_);
    auto* row = new QHBoxLayout;
    bar_ = new QProgressBar(this);
    bar_->setObjectName("PbarWaiting");
    bar_->setTextVisible(false);
    percent_ = new QLabel(this);
    percent_->setObjectName("lblPBar");
    percent_->setMinimumWidth(40);
    row->addWidget(bar_, 1);
    row->addWidget(percent_);
    if (withStop) {
        stop_ = new QPushButton(QStringLiteral("取消"), this);
        stop_->setObjectName("bbtnStop");
        row->addWidget(stop_);
    }
    layout->addLayout(row);
    setFixedSize(420, 90);
    hide();
}

void WaitingPanelWidget::Sync() {
    title_->setText(QString::fromStdString(model_.title));
    bar_->setMaximum(model_.maximum);
    bar_->setValue(model_.position);
    percent_->setText(QString::fromStdString(model_.percent));
    if (model_.visible) {
        QWidget* host = parentWidget();
        move((host->width() - width()) / 2, (host->height() - height()) / 2);
        raise();
        show();
    } else {
        hide();
    }
}

}  // namespace tarnwick::ui

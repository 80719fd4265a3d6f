#include "ui/pages/host_status_group_widget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "operation/host_status.h"
#include "ui/control_binder.h"
#include "ui/pictures.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kLampIconSize = 24;
constexpr int kSignalIconSize = 20;
constexpr int kZonesPerRow = 6;

// A lamp: its picture (off, lit, unknown) is the model's image; the page
// being disabled while it is busy does not grey it. It shows state only, so
// it takes no focus.
QPushButton* MakeLamp(QWidget* parent, const Lamp& lamp) {
    QPushButton* button = MakeButton(parent, lamp.name);
    button->setProperty("imageList", PicturePath("lamp%1.png"));
    button->setProperty(kKeepPictureProperty, true);
    button->setIconSize({kLampIconSize, kLampIconSize});
    button->setText(QString::fromUtf8(lamp.caption));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

QGroupBox* BuildHostStatusGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("主机状态"), parent);
    group->setObjectName("gbHostStatus");
    auto* layout = new QVBoxLayout(group);

    auto* lamps = new QHBoxLayout;
    for (const Lamp& lamp : kLamps) lamps->addWidget(MakeLamp(group, lamp));
    lamps->addStretch(1);
    layout->addLayout(lamps);

    auto* zones = new QGridLayout;
    zones->setHorizontalSpacing(12);
    for (int zone = 1; zone <= kZoneLabelCount; ++zone) {
        const std::string name = Numbered("lblDefence", zone);
        QLabel* label = MakeLabel(group, name.c_str());
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(48);
        zones->addWidget(label, (zone - 1) / kZonesPerRow, (zone - 1) % kZonesPerRow);
    }
    layout->addLayout(zones);

    auto* signal = new QHBoxLayout;
    QLabel* icon = MakeLabel(group, "Img1CSQ");
    icon->setFixedSize(kSignalIconSize, kSignalIconSize);
    icon->setProperty("imageList", PicturePath("csq%1.png"));
    icon->setProperty("imageSize", kSignalIconSize);
    signal->addWidget(icon);
    signal->addWidget(MakeLabel(group, "stxtGPRSCSQ"));
    signal->addStretch(1);
    layout->addLayout(signal);
    layout->addWidget(MakeLabel(group, "stxtArmingState"));
    layout->addWidget(MakeLabel(group, "stxtHostAnswer"));
    layout->addWidget(MakeLabel(group, "stxtHostModel"));
    layout->addWidget(MakeLabel(group, "stxtModuleVer"));
    return group;
}

}  // namespace tarnwick::ui

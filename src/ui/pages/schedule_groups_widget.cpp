#include "ui/pages/schedule_groups_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "programming/schedule_groups.h"
#include "ui/qt_text.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kToggleSize = 26;
constexpr int kTimeEditWidth = 34;

// On: light red with black text; off: the button face with grey text.
QString ToggleStyle() {
    return QStringLiteral(
               "QPushButton { background: palette(button); color: #%1; border: 1px solid "
               "palette(mid); padding: 0; }"
               "QPushButton:checked { background: #%2; color: black; }"
               "QPushButton:focus { border: 1px solid palette(highlight); }")
        .arg(kToggleOffText, 6, 16, QChar('0'))
        .arg(kToggleOnBackground, 6, 16, QChar('0'));
}

QPushButton* MakeToggle(QWidget* parent, const std::string& name) {
    QPushButton* toggle = MakeButton(parent, name.c_str());
    toggle->setCheckable(true);
    toggle->setFixedSize(kToggleSize, kToggleSize);
    toggle->setStyleSheet(ToggleStyle());
    return toggle;
}

// A time edit with its up-down pair (udHour1 holds udHour1Up and udHour1Down).
QHBoxLayout* MakeTime(QWidget* parent, const std::string& edit) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    QLineEdit* line = MakeEdit(parent, edit.c_str());
    line->setFixedWidth(kTimeEditWidth);
    line->setAlignment(Qt::AlignRight);
    row->addWidget(line);
    auto* updown = new QWidget(parent);
    updown->setObjectName(Q(UpDownName(edit)));
    auto* arrows = new QVBoxLayout(updown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (const char* half : {"Up", "Down"}) {
        QPushButton* arrow = MakeButton(updown, (UpDownName(edit) + half).c_str());
        arrow->setFixedSize(18, 13);
        arrow->setStyleSheet("QPushButton { font-size: 6pt; padding: 0; }");
        arrow->setFocusPolicy(Qt::NoFocus);
        arrows->addWidget(arrow);
    }
    row->addWidget(updown);
    return row;
}

}  // namespace

QGroupBox* BuildScheduleGroup(QWidget* parent, int g) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(QStringLiteral("gbDefenceGroup%1").arg(g));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->addWidget(MakeCheck(box, ScheduleCheckName(g).c_str()), 0, 0, 1, 2);

    struct TimeRow {
        const char* caption;
        std::string hour, minute;
    };
    const TimeRow rows[] = {{"定时布防:", ArmHourName(g), ArmMinuteName(g)},
                            {"定时撤防:", DisarmHourName(g), DisarmMinuteName(g)}};
    int r = 1;
    for (const TimeRow& row : rows) {
        auto* caption = new QLabel(QString::fromUtf8(row.caption), box);
        grid->addWidget(caption, r, 0);
        auto* times = new QHBoxLayout;
        times->addLayout(MakeTime(box, row.hour));
        times->addWidget(new QLabel(QStringLiteral("时"), box));
        times->addSpacing(8);
        times->addLayout(MakeTime(box, row.minute));
        times->addWidget(new QLabel(QStringLiteral("分"), box));
        times->addStretch(1);
        grid->addLayout(times, r, 1);
        caption->setBuddy(box->findChild<QLineEdit*>(Q(row.hour)));
        ++r;
    }

    auto* weekCaption = new QLabel(QStringLiteral("星期："), box);
    grid->addWidget(weekCaption, r, 0);
    auto* days = new QHBoxLayout;
    days->setSpacing(2);
    for (int day = 1; day <= kScheduleDayCount; ++day)
        days->addWidget(MakeToggle(box, DayToggleName(g, day)));
    days->addStretch(1);
    grid->addLayout(days, r, 1);
    weekCaption->setBuddy(box->findChild<QPushButton*>(Q(DayToggleName(g, 1))));
    ++r;

    auto* zoneCaption = new QLabel(QStringLiteral("防区："), box);
    grid->addWidget(zoneCaption, r, 0);
    auto* zones = new QHBoxLayout;
    zones->setSpacing(2);
    for (int zone = 1; zone <= kScheduleZoneCount; ++zone)
        zones->addWidget(MakeToggle(box, ZoneToggleName(g, zone)));
    zones->addStretch(1);
    grid->addLayout(zones, r, 1);
    zoneCaption->setBuddy(box->findChild<QPushButton*>(Q(ZoneToggleName(g, 1))));
    grid->setColumnStretch(1, 1);
    return box;
}

}  // namespace tarnwick::ui

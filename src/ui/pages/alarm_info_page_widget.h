#pragma once
#include <QWidget>

namespace tarnwick {
class AlarmInfoPage;
}

namespace tarnwick::ui {

// tsAlarmInfo: the start number with the paging and export buttons above the
// alarm history grid.
class AlarmInfoPageWidget : public QWidget {
    Q_OBJECT
  public:
    AlarmInfoPageWidget(AlarmInfoPage& page, QWidget* parent);
};

}  // namespace tarnwick::ui

#pragma once
#include <QMainWindow>

#include "hosts/host_list_model.h"

class QTableWidget;
class QLabel;
class QProgressBar;
class QFrame;
class QPushButton;
class QMenu;

namespace tarnwick {
class DataModule;
}

namespace tarnwick::ui {

// TFormHostList: the main window, listing the alarm hosts that answer a search.
class TFormHostList : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFormHostList(QWidget* parent = nullptr);
    void AttachDataModule(DataModule* tdm) { tdm_ = tdm; }
    HostListModel& Model() { return model_; }
    // Shows the model's rows in the grid.
    void ShowRows();

  private:
    void BuildGrid();

    DataModule* tdm_ = nullptr;
    HostListModel model_;
    QTableWidget* grid_ = nullptr;
    QLabel* title_ = nullptr;
    QFrame* waiting_ = nullptr;
};

}  // namespace tarnwick::ui

#pragma once
#include <QMainWindow>
#include <functional>

#include "hosts/host_search.h"
#include "hosts/modify_ip.h"

class QTableView;
class QLabel;
class QFrame;
class QPushButton;
class QMenu;
class QAction;
class QVBoxLayout;

namespace tarnwick {
class DataModule;
}

namespace tarnwick::ui {

class HostListTable;
class WaitingPanelWidget;

// TFormHostList: the main window. Lists the alarm hosts that answer a search;
// when it searches on its own is the core's WindowFocus's to say.
class TFormHostList : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFormHostList(QWidget* parent = nullptr);
    ~TFormHostList() override;
    void AttachDataModule(DataModule* tdm) { tdm_ = tdm; }
    HostListWindowModel& Model() { return model_; }
    // The data row (1-based, as in the core list) that is selected, or 0.
    int SelectedRow() const;
    void SelectRow(int row);
    // Selects the row of the host the model keeps (none when it is gone).
    void ShowSelection();
    // bbtnRefreshHostClick.
    void Search();
    // miModifyIPClick on a data row (1-based), the list following the flow.
    void ModifyAddress(int row, ModifyIpDialog& dialog);
    // Runs a core flow of the list (the address change, connecting to an
    // address): the grid, the enabled states and the waiting panel follow it.
    void RunListFlow(const std::function<void()>& flow);
    // Asked before the list (and with it the program) closes; false keeps it.
    std::function<bool()> mayClose;

  signals:
    void openHostRequested(int row);  // strgridHostListDblClick, Enter
    void modifyIpRequested(int row);  // miModifyIPClick
    void connectAddressRequested();   // 连接指定地址..., Alt+L
    void sitesRequested();            // 站点..., Alt+S
    void fleetRequested();            // 全部主机状态..., Alt+A
    void closing();

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildBottomPanel(QWidget* parent, QVBoxLayout* layout);
    void BuildContextMenu();
    // pmMain below the selected row, its first item active (Menu, Shift+F10).
    void ShowContextMenuAtSelectedRow();
    // The window's own actions: their shortcuts work whether the menu is
    // open or not, and the bottom panel's buttons trigger them too.
    void BuildActions();
    void SyncEnabled();
    // F5, Enter, Escape, Menu and Shift+F10; true when the key was taken.
    bool HandleKey(QKeyEvent* e);

    DataModule* tdm_ = nullptr;
    HostListWindowModel model_;
    QTableView* grid_ = nullptr;
    HostListTable* table_ = nullptr;
    QFrame* bottom_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QAction* connectAddress_ = nullptr;
    QAction* sites_ = nullptr;
    QAction* fleet_ = nullptr;
    QMenu* menu_ = nullptr;
    WaitingPanelWidget* waiting_ = nullptr;
    bool selecting_ = false;  // the window, not the operator, moves the selection
};

}  // namespace tarnwick::ui

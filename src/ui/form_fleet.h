#pragma once
#include <QDialog>
#include <memory>
#include <vector>

#include "operation/fleet_board.h"
#include "operation/udp_fleet_lanes.h"

class QTableView;
class QTimer;

namespace tarnwick {
class ClockPort;
class OperatorPort;
}  // namespace tarnwick

namespace tarnwick::ui {

class ControlBinder;
class FleetBoardTable;

// The board of every host's state ("全部主机状态"): the core's poller and
// board shown in a grid, driven by the event loop (a notifier on each
// lane's socket and one timer for the poller's next wake), so nothing
// waits or spins. Closing the window stops every query at once.
class TFormFleet : public QDialog {
    Q_OBJECT
  public:
    TFormFleet(OperatorPort& op, ClockPort& clock, QWidget* parent = nullptr);
    ~TFormFleet() override;
    // Shows the board for `hosts` and starts sweeping them.
    void Open(std::vector<FleetHost> hosts);
    FleetPoller& Poller() { return *poller_; }
    FleetBoard& Board() { return *board_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    // Hands in what waits on a lane, runs the poller's tick and sets the
    // timer to its next wake.
    void Serve(int lane);
    void Schedule();
    void Rearranged();

    OperatorPort& op_;
    UdpFleetLanes lanes_;
    std::unique_ptr<FleetPoller> poller_;
    std::unique_ptr<FleetBoard> board_;
    QTableView* grid_ = nullptr;
    FleetBoardTable* table_ = nullptr;
    ControlBinder* binder_ = nullptr;
    QTimer* timer_ = nullptr;
    std::string selected_;  // the address of the row the operator chose
};

}  // namespace tarnwick::ui

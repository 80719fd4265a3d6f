#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hosts/captioned_edits.h"
#include "hosts/page_model.h"
#include "operation/fleet_poller.h"

namespace tarnwick {

class HostListModel;

inline constexpr const char* kFleetBoardTitle = "全部主机状态";
inline constexpr const char* kFleetBoardAction = "全部主机状态...";
inline constexpr const char* kFleetFilterCaption = "筛选";
// The filter edit and its label.
inline constexpr CaptionedEdit kFleetFilterField = {"edtFleetFilter", "lblFleetFilter",
                                                    kFleetFilterCaption};
inline constexpr const char* kOnlineText = "在线";
inline constexpr const char* kOfflineText = "离线";
inline constexpr const char* kWaitingText = "查询中";

// The columns of the board, in the order it shows them.
enum FleetColumn {
    kFleetAddress,
    kFleetSite,
    kFleetHostType,
    kFleetArming,
    kFleetAlarm,
    kFleetFaults,
    kFleetSignal,
    kFleetLastAnswer,
    kFleetOnline,
    kFleetColumns
};
extern const std::array<const char*, kFleetColumns> kFleetHeaders;

// How a row is drawn: in alarm red, faulty amber, offline grey; an offline
// host shows no live state, so it is grey whatever it showed before.
enum class FleetTone { Normal, Alarm, Fault, Offline };
inline constexpr uint32_t kFleetAlarmColor = 0xFFC8C8;
inline constexpr uint32_t kFleetFaultColor = 0xFFE0A0;
inline constexpr uint32_t kFleetOfflineColor = 0xD8D8D8;
FleetTone ToneOf(const FleetReading& reading);

// The cells of one host as the board shows them; the command line prints
// the same words.
std::array<std::string, kFleetColumns> FleetCells(const FleetHost& host,
                                                  const FleetReading& reading);

// Every listed host and booked site of the host list, in its order.
std::vector<FleetHost> FleetHostsOf(const HostListModel& list);

// The status board without its widgets: one row per host of the poller,
// filtered by the words of the filter edit (a row shows when each word is in
// one of its cells) and sorted by one column. A reading that comes in
// changes its row in place; the order and the filter are applied again
// when a sweep ends and whenever the operator sorts or filters.
class FleetBoard {
  public:
    explicit FleetBoard(FleetPoller& poller);
    ~FleetBoard();
    FleetBoard(const FleetBoard&) = delete;
    FleetBoard& operator=(const FleetBoard&) = delete;

    // The filter edit with its label, the summary line and the close button.
    PageModel controls;

    // The rows shown, 0-based.
    int RowCount() const { return static_cast<int>(shown_.size()); }
    const std::string& Cell(int row, int column) const;
    FleetTone Tone(int row) const;
    // The tooltip of a row: why an offline host is offline.
    std::string Hint(int row) const;
    const FleetHost& Host(int row) const;
    // The row showing the host at `address`, or -1.
    int RowOf(const std::string& address) const;

    // Sorts by `column`; the same column again reverses the order.
    void SortBy(int column);
    int SortColumn() const { return sortColumn_; }
    bool Ascending() const { return ascending_; }
    // The rows again from the poller's hosts and readings and the filter
    // edit, in the sort order.
    void Arrange();

    // Enter on a row: its host is opened through the usual login.
    void Open(int row);
    std::function<void(const HostTarget&)> openHost;

    // The rows were arranged anew (their number or order changed).
    std::function<void()> onRowsChanged;
    // One shown row's cells changed in place.
    std::function<void(int row)> onRowChanged;

  private:
    void Update(size_t host);
    void Summarize();

    FleetPoller& poller_;
    std::vector<std::array<std::string, kFleetColumns>> cells_;  // by host
    std::vector<size_t> shown_;                                  // host of each row
    std::vector<int> rowOf_;                                     // row of each host, -1
    int sortColumn_ = kFleetAddress;
    bool ascending_ = true;
};

}  // namespace tarnwick

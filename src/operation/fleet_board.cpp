#include "operation/fleet_board.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "hosts/captioned_edits.h"
#include "hosts/host_list_model.h"
#include "protocol/text_helpers.h"
#include "protocol/unicast_address.h"

namespace tarnwick {

const std::array<const char*, kFleetColumns> kFleetHeaders = {
    "IP地址", "站点", "主机类型", "布撤防", "报警防区", "故障", "GPRS信号", "最后应答", "在线"};

namespace {

constexpr const char* kFilterEdit = kFleetFilterField.edit;
constexpr const char* kSummaryLabel = "lblFleetSummary";
constexpr const char* kCloseButton = "bbtnCloseFleet";
const std::string kEmpty;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < text.size()) {
        const size_t blank = text.find(' ', start);
        const size_t end = blank == std::string::npos ? text.size() : blank;
        if (end > start) words.push_back(Lower(text.substr(start, end - start)));
        start = end + 1;
    }
    return words;
}

// Orders hosts by one column: addresses and numbers as numbers, the online
// column by state, the rest as text; equal cells by address.
struct SortKey {
    int state;
    long number;
    std::string text;
    uint32_t address;
    uint16_t port;
    bool operator<(const SortKey& o) const {
        return std::tie(state, number, text, address, port) <
               std::tie(o.state, o.number, o.text, o.address, o.port);
    }
};

SortKey KeyOf(int column, const FleetHost& host, const FleetReading& reading,
              const std::string& cell) {
    SortKey key{0, 0, {}, IPv4Number(host.target.address), host.target.port};
    switch (column) {
        case kFleetAddress:
            break;
        case kFleetOnline:
            key.state = static_cast<int>(reading.state);
            break;
        case kFleetSignal:
            key.number = reading.state == FleetState::Online ? reading.status.signal : -1;
            break;
        case kFleetAlarm:
            key.number = reading.state == FleetState::Online
                             ? static_cast<long>(reading.status.alarmZones.size())
                             : -1;
            key.text = cell;
            break;
        default:
            key.text = cell;
    }
    return key;
}

}  // namespace

FleetTone ToneOf(const FleetReading& reading) {
    if (reading.state == FleetState::Offline) return FleetTone::Offline;
    if (reading.state != FleetState::Online) return FleetTone::Normal;
    if (!reading.status.alarmZones.empty()) return FleetTone::Alarm;
    if (!reading.status.faults.empty()) return FleetTone::Fault;
    return FleetTone::Normal;
}

std::array<std::string, kFleetColumns> FleetCells(const FleetHost& host,
                                                  const FleetReading& reading) {
    std::array<std::string, kFleetColumns> cells;
    cells[kFleetAddress] = TargetText(host.target);
    cells[kFleetSite] = host.target.site;
    cells[kFleetHostType] = host.hostType;
    cells[kFleetLastAnswer] = reading.lastAnswer.empty() ? kNeverSeenText : reading.lastAnswer;
    switch (reading.state) {
        case FleetState::Waiting:
            cells[kFleetOnline] = kWaitingText;
            break;
        case FleetState::Offline:
            cells[kFleetOnline] = kOfflineText;
            break;
        case FleetState::Online:
            cells[kFleetOnline] = kOnlineText;
            cells[kFleetArming] = reading.status.arming;
            cells[kFleetAlarm] = JoinZones(reading.status.alarmZones);
            cells[kFleetFaults] = JoinNames(reading.status.faults);
            cells[kFleetSignal] = std::to_string(reading.status.signal);
            break;
    }
    return cells;
}

std::vector<FleetHost> FleetHostsOf(const HostListModel& list) {
    std::vector<FleetHost> hosts;
    for (int row = 1; row < list.NextRow(); ++row) {
        FleetHost host{list.Target(row), list.Field(row, HostListModel::kHostTypeColumn)};
        if (!host.target.address.empty()) hosts.push_back(std::move(host));
    }
    return hosts;
}

FleetBoard::FleetBoard(FleetPoller& poller) : poller_(poller) {
    AddCaptionedEdits(controls, {&kFleetFilterField, 1});
    controls.Label(kSummaryLabel);
    controls.Button(kCloseButton, "关闭");
    controls.OnChange(kFilterEdit, [this] { Arrange(); });
    poller_.onReading = [this](size_t host) { Update(host); };
    poller_.onSweepEnd = [this] { Arrange(); };
    Arrange();
}

FleetBoard::~FleetBoard() {
    poller_.onReading = nullptr;
    poller_.onSweepEnd = nullptr;
}

const std::string& FleetBoard::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kFleetColumns) return kEmpty;
    return cells_[shown_[static_cast<size_t>(row)]][static_cast<size_t>(column)];
}

FleetTone FleetBoard::Tone(int row) const {
    return ToneOf(poller_.Readings()[shown_.at(static_cast<size_t>(row))]);
}

std::string FleetBoard::Hint(int row) const {
    const FleetReading& reading = poller_.Readings()[shown_.at(static_cast<size_t>(row))];
    return reading.state == FleetState::Offline ? reading.reason : std::string();
}

const FleetHost& FleetBoard::Host(int row) const {
    return poller_.Hosts()[shown_.at(static_cast<size_t>(row))];
}

int FleetBoard::RowOf(const std::string& address) const {
    for (int row = 0; row < RowCount(); ++row)
        if (Host(row).target.address == address) return row;
    return -1;
}

void FleetBoard::Update(size_t host) {
    if (host >= cells_.size() || host >= rowOf_.size()) return;
    cells_[host] = FleetCells(poller_.Hosts()[host], poller_.Readings()[host]);
    Summarize();
    if (rowOf_[host] >= 0 && onRowChanged) onRowChanged(rowOf_[host]);
}

void FleetBoard::SortBy(int column) {
    if (column < 0 || column >= kFleetColumns) return;
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    Arrange();
}

void FleetBoard::Arrange() {
    const std::vector<std::string> words = Words(controls[kFilterEdit].text);
    const auto& hosts = poller_.Hosts();
    const auto& readings = poller_.Readings();
    cells_.clear();
    for (size_t i = 0; i < hosts.size(); ++i) cells_.push_back(FleetCells(hosts[i], readings[i]));
    shown_.clear();
    for (size_t i = 0; i < cells_.size(); ++i) {
        const auto& cells = cells_[i];
        const bool match = std::all_of(words.begin(), words.end(), [&](const std::string& word) {
            return std::any_of(cells.begin(), cells.end(), [&](const std::string& cell) {
                return Lower(cell).find(word) != std::string::npos;
            });
        });
        if (match) shown_.push_back(i);
    }
    std::vector<SortKey> keys;
    keys.reserve(cells_.size());
    for (size_t i = 0; i < cells_.size(); ++i)
        keys.push_back(
            KeyOf(sortColumn_, hosts[i], readings[i], cells_[i][static_cast<size_t>(sortColumn_)]));
    std::stable_sort(shown_.begin(), shown_.end(), [&](size_t a, size_t b) {
        return ascending_ ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    rowOf_.assign(cells_.size(), -1);
    for (size_t row = 0; row < shown_.size(); ++row) rowOf_[shown_[row]] = static_cast<int>(row);
    Summarize();
    if (onRowsChanged) onRowsChanged();
}

void FleetBoard::Summarize() {
    int online = 0, offline = 0, alarm = 0, fault = 0;
    for (const FleetReading& r : poller_.Readings()) {
        online += r.state == FleetState::Online ? 1 : 0;
        offline += r.state == FleetState::Offline ? 1 : 0;
        alarm += ToneOf(r) == FleetTone::Alarm ? 1 : 0;
        fault += r.state == FleetState::Online && !r.status.faults.empty() ? 1 : 0;
    }
    controls[kSummaryLabel].text =
        "共 " + std::to_string(cells_.size()) + " 台，显示 " + std::to_string(shown_.size()) +
        " 台：在线 " + std::to_string(online) + "，离线 " + std::to_string(offline) + "，报警 " +
        std::to_string(alarm) + "，故障 " + std::to_string(fault);
    controls.Changed();
}

void FleetBoard::Open(int row) {
    if (row < 0 || row >= RowCount() || !openHost) return;
    openHost(Host(row).target);
}

}  // namespace tarnwick

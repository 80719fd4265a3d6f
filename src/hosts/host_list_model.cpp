#include "hosts/host_list_model.h"

#include <algorithm>
#include <numeric>

#include "protocol/hex_text.h"
#include "protocol/name_value_list.h"
#include "protocol/unicast_address.h"

namespace tarnwick {

const std::array<const char*, HostListModel::kColumns> HostListModel::kHeaders = {
    " 序号",     " IP地址",   " 端口",     " 设备ID", " 模块类型",
    " 主机类型", " 子网掩码", " 默认网关", " 站点",   " 最后在线"};
const std::array<int, HostListModel::kColumns> HostListModel::kColumnWidths = {
    50, 162, 69, 128, 178, 179, 113, 110, 120, 140};

namespace {

// Hex character ranges of the answer's text fields, columns 1 to 7.
struct FieldRange {
    size_t from, to;
};
constexpr FieldRange kAnswerFields[] = {{13, 42},   {43, 52},   {53, 92},  {93, 192},
                                        {193, 292}, {293, 322}, {323, 352}};

constexpr int kPortColumn = 2;
constexpr int kDeviceIdColumn = 3;
constexpr int kModuleTypeColumn = 4;

}  // namespace

HostListModel::HostListModel() : rows_(kInitialRows), states_(kInitialRows) {
    ClearForSearch();
}

void HostListModel::ClearForSearch() {
    for (int c = 0; c < kColumns; ++c) rows_[0][static_cast<size_t>(c)] = kHeaders[c];
    for (size_t r = 1; r < rows_.size(); ++r) {
        for (size_t c = 1; c < kColumns; ++c) rows_[r][c].clear();
        states_[r] = {};
    }
    nextRow_ = 1;
    listed_.clear();
    answers_.clear();
}

void HostListModel::SetBook(std::vector<Site> sites) {
    book_ = std::move(sites);
}

const Site* HostListModel::BookedAt(const std::string& address) const {
    for (const Site& s : book_)
        if (s.address == address) return &s;
    return nullptr;
}

HostListModel::Row& HostListModel::TakeNextRow(const std::string& address, const RowState& state) {
    const int number = nextRow_++;
    listed_.emplace(address, number);
    states_[static_cast<size_t>(number)] = state;
    Row& row = rows_[static_cast<size_t>(number)];
    row[0] = "  " + std::to_string(number);
    if (RowCount() - 1 < nextRow_) {
        rows_.resize(rows_.size() + kGrowBy);
        states_.resize(rows_.size());
    }
    return rows_[static_cast<size_t>(number)];
}

HostListModel::Added HostListModel::AddSearchAnswer(const std::string& frame) {
    const std::string address = HexToText(Slice(frame, 13, 42));
    if (!IsHostAddress(address, local_)) return Added::NotUnicast;
    const auto listed = listed_.find(address);
    if (listed != listed_.end() && !IsAbsent(listed->second)) return Added::Repeated;
    if (listed == listed_.end() && nextRow_ > kMaxHosts) return Added::Full;
    const Site* site = BookedAt(address);
    RowState state;
    if (site) state.port = site->port;
    Row* row = nullptr;
    if (listed != listed_.end()) {
        row = &rows_[static_cast<size_t>(listed->second)];
        states_[static_cast<size_t>(listed->second)] = state;
    } else {
        row = &TakeNextRow(address, state);
    }
    for (size_t c = 1; c < kAnswerColumns; ++c)
        (*row)[c] =
            " " + HexToText(Slice(frame, kAnswerFields[c - 1].from, kAnswerFields[c - 1].to));
    (*row)[kSiteColumn] = site ? " " + site->name : std::string();
    (*row)[kLastSeenColumn].clear();
    answers_.push_back(frame);
    return Added::Row;
}

void HostListModel::ApplyBook(std::vector<Site> sites) {
    std::vector<std::string> answers = std::move(answers_);
    ClearForSearch();
    SetBook(std::move(sites));
    for (const std::string& frame : answers) AddSearchAnswer(frame);
    SortAnswers();
    ListAbsentSites();
}

void HostListModel::SortAnswers() {
    std::vector<size_t> order(static_cast<size_t>(nextRow_ - 1));
    std::iota(order.begin(), order.end(), size_t{1});
    // Absent sites keep their place after the answers.
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        if (states_[a].absent != states_[b].absent) return !states_[a].absent;
        if (states_[a].absent) return false;
        return IPv4Number(Field(static_cast<int>(a), 1)) <
               IPv4Number(Field(static_cast<int>(b), 1));
    });
    std::vector<Row> rows;
    std::vector<RowState> states;
    for (size_t at : order) {
        rows.push_back(std::move(rows_[at]));
        states.push_back(states_[at]);
    }
    listed_.clear();
    for (size_t k = 0; k < order.size(); ++k) {
        const size_t at = k + 1;
        rows_[at] = std::move(rows[k]);
        states_[at] = states[k];
        rows_[at][0] = "  " + std::to_string(at);
        listed_.emplace(Field(static_cast<int>(at), 1), static_cast<int>(at));
    }
}

void HostListModel::ListAbsentSites() {
    for (const Site& site : book_) {
        if (listed_.contains(site.address) || nextRow_ > kMaxHosts) continue;
        // Booked before it was one of this computer's broadcast addresses.
        if (!IsHostAddress(site.address, local_)) continue;
        Row& row = TakeNextRow(site.address, {true, site.port});
        row[1] = " " + site.address;
        row[kPortColumn] = " " + std::to_string(site.port);
        row[kDeviceIdColumn] = " " + site.deviceId;
        row[kModuleTypeColumn] = " " + site.moduleType;
        row[kHostTypeColumn] = " " + site.hostType;
        row[kSiteColumn] = " " + site.name;
        row[kLastSeenColumn] = " " + (site.lastSeen.empty() ? kNeverSeenText : site.lastSeen);
    }
}

const std::string& HostListModel::Cell(int row, int column) const {
    return rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
}

std::string HostListModel::Field(int row, int column) const {
    if (row < 0 || row >= RowCount()) return {};
    return Trim(Cell(row, column));
}

bool HostListModel::IsAbsent(int row) const {
    return row > 0 && row < RowCount() && states_[static_cast<size_t>(row)].absent;
}

HostTarget HostListModel::Target(int row) const {
    HostTarget target;
    if (row < 1) return target;  // the header row is no host
    target.address = Field(row, 1);
    if (target.address.empty()) return target;
    target.port = states_.at(static_cast<size_t>(row)).port;
    target.site = Field(row, kSiteColumn);
    return target;
}

int HostListModel::RowOf(const std::string& address) const {
    const auto listed = listed_.find(address);
    return listed == listed_.end() ? 0 : listed->second;
}

std::vector<SiteBook::Seen> HostListModel::BookedAnswers() const {
    std::vector<SiteBook::Seen> seen;
    for (const auto& [address, row] : listed_) {
        if (IsAbsent(row) || !BookedAt(address)) continue;
        seen.push_back({address, Field(row, kDeviceIdColumn), Field(row, kHostTypeColumn),
                        Field(row, kModuleTypeColumn)});
    }
    return seen;
}

}  // namespace tarnwick

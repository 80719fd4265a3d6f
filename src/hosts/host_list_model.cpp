#include "hosts/host_list_model.h"

#include "protocol/hex_text.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

const std::array<const char*, HostListModel::kColumns> HostListModel::kHeaders = {
    " 序号", " IP地址", " 端口", " 设备ID", " 模块类型", " 主机类型", " 子网掩码", " 默认网关"};
const std::array<int, HostListModel::kColumns> HostListModel::kColumnWidths = {50,  162, 69,  128,
                                                                               178, 179, 113, 110};

namespace {

// Hex character ranges of the answer's text fields, columns 1 to 7.
struct FieldRange {
    size_t from, to;
};
constexpr FieldRange kAnswerFields[] = {{13, 42},   {43, 52},   {53, 92},  {93, 192},
                                        {193, 292}, {293, 322}, {323, 352}};

}  // namespace

HostListModel::HostListModel() : rows_(kInitialRows) {
    ClearForSearch();
}

void HostListModel::ClearForSearch() {
    for (int c = 0; c < kColumns; ++c) rows_[0][static_cast<size_t>(c)] = kHeaders[c];
    for (size_t r = 1; r < rows_.size(); ++r)
        for (size_t c = 1; c < kColumns; ++c) rows_[r][c].clear();
    nextRow_ = 1;
    listed_.clear();
}

HostListModel::Added HostListModel::AddSearchAnswer(const std::string& frame) {
    const std::string address = HexToText(Slice(frame, 13, 42));
    if (!IsHostAddress(address, local_)) return Added::NotUnicast;
    if (listed_.contains(address)) return Added::Repeated;
    if (nextRow_ > kMaxHosts) return Added::Full;
    listed_.insert(address);
    Row& row = rows_[static_cast<size_t>(nextRow_)];
    row[0] = "  " + std::to_string(nextRow_);
    for (size_t c = 1; c < kColumns; ++c)
        row[c] = " " + HexToText(Slice(frame, kAnswerFields[c - 1].from, kAnswerFields[c - 1].to));
    ++nextRow_;
    if (RowCount() - 1 < nextRow_) rows_.resize(rows_.size() + kGrowBy);
    return Added::Row;
}

const std::string& HostListModel::Cell(int row, int column) const {
    return rows_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
}

std::string HostListModel::Field(int row, int column) const {
    if (row < 0 || row >= RowCount()) return {};
    return Trim(Cell(row, column));
}

}  // namespace tarnwick

#pragma once
#include <array>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "protocol/local_networks.h"
#include "version.h"

namespace tarnwick {

// The host list window's title.
inline constexpr const char* kHostListTitle = "Tarnwick软件 " TARNWICK_VERSION_TEXT;

// The host list grid strgridHostList: one header row, a number column and
// seven columns of decoded search answers, each text with one leading blank.
class HostListModel {
  public:
    static constexpr int kColumns = 8;
    static constexpr int kInitialRows = 25;  // header plus 24 data rows
    static constexpr int kGrowBy = 10;
    static constexpr int kRowHeight = 20;
    // Hosts one search lists at most; answers beyond are dropped.
    static constexpr int kMaxHosts = 50000;
    static const std::array<const char*, kColumns> kHeaders;
    static const std::array<int, kColumns> kColumnWidths;

    using Row = std::array<std::string, kColumns>;

    HostListModel();

    // Headers written again, columns 1-7 of every data row emptied; column 0
    // keeps its numbers. The next row number goes back to 1.
    void ClearForSearch();
    enum class Added { Row, Repeated, NotUnicast, Full };
    // A search answer (normalized frame text): fills the next row unless its
    // address is listed already, names no single host (0.0.0.0, broadcast,
    // the broadcast address of a local network, multicast, not an address at
    // all) or the list holds kMaxHosts.
    Added AddSearchAnswer(const std::string& frame);
    // The networks of this computer, whose broadcast addresses are no host.
    void SetLocalNetworks(std::vector<LocalNetwork> local) { local_ = std::move(local); }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int NextRow() const { return nextRow_; }
    const std::string& Cell(int row, int column) const;
    // Column text of a row with surrounding blanks removed.
    std::string Field(int row, int column) const;
    // Even data rows are drawn grey with green text.
    static bool IsShadedRow(int row) { return row > 0 && row % 2 == 0; }

  private:
    std::vector<Row> rows_;
    int nextRow_ = 1;
    std::unordered_set<std::string> listed_;  // addresses listed by this search
    std::vector<LocalNetwork> local_;
};

}  // namespace tarnwick

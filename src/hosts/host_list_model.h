#pragma once
#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "hosts/host_target.h"
#include "protocol/local_networks.h"
#include "storage/site_book.h"
#include "version.h"

namespace tarnwick {

// The host list window's title, and the caption over its grid.
inline constexpr const char* kHostListTitle = "Tarnwick软件 " TARNWICK_VERSION_TEXT;
inline constexpr const char* kHostListCaption = "主机列表";
// The last-seen column of a booked site the tool never heard from.
inline constexpr const char* kNeverSeenText = "未曾应答";

// The host list grid strgridHostList: one header row, a number column, seven
// columns of decoded search answers and two of the site book, each text with
// one leading blank. A row is a host that answered the search, or a booked
// site that did not (absent), listed after the search with what the book
// knows of it.
class HostListModel {
  public:
    static constexpr int kAnswerColumns = 8;  // the number and the answer's seven fields
    static constexpr int kHostTypeColumn = 5;
    static constexpr int kSiteColumn = 8;
    static constexpr int kLastSeenColumn = 9;
    static constexpr int kColumns = 10;
    static constexpr int kInitialRows = 25;  // header plus 24 data rows
    static constexpr int kGrowBy = 10;
    static constexpr int kRowHeight = 20;
    // Hosts one search lists at most; answers beyond are dropped.
    static constexpr int kMaxHosts = 50000;
    static const std::array<const char*, kColumns> kHeaders;
    static const std::array<int, kColumns> kColumnWidths;

    using Row = std::array<std::string, kColumns>;

    HostListModel();

    // Headers written again, every column but the number emptied in every
    // data row; column 0 keeps its numbers. The next row number goes back
    // to 1.
    void ClearForSearch();
    // The site book the next rows are named from.
    void SetBook(std::vector<Site> sites);
    enum class Added { Row, Repeated, NotUnicast, Full };
    // A search answer (normalized frame text): fills the next row unless its
    // address is listed already, names no single host (0.0.0.0, broadcast,
    // the broadcast address of a local network, multicast, not an address at
    // all) or the list holds kMaxHosts. An answer from an absent site's
    // address fills that site's row instead.
    Added AddSearchAnswer(const std::string& frame);
    // After a search: the answers in address order (as numbers), numbered
    // anew, so that every search lists the same hosts the same way, however
    // their answers came in.
    void SortAnswers();
    // The networks of this computer, whose broadcast addresses are no host.
    void SetLocalNetworks(std::vector<LocalNetwork> local) { local_ = std::move(local); }
    // After a search: one absent row for each booked site whose address no
    // answer listed, greyed, with its last-seen time.
    void ListAbsentSites();
    // The book changed: the answers listed since the search are listed again,
    // named from `sites`, followed by the absent sites.
    void ApplyBook(std::vector<Site> sites);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int NextRow() const { return nextRow_; }
    const std::string& Cell(int row, int column) const;
    // Column text of a row with surrounding blanks removed.
    std::string Field(int row, int column) const;
    // A booked site that did not answer the search.
    bool IsAbsent(int row) const;
    // Where the host of a row is reached: the booked port for a site, the
    // host port otherwise. An empty address for an empty row.
    HostTarget Target(int row) const;
    // The row listing `address`, or 0.
    int RowOf(const std::string& address) const;
    // What the answers of booked sites told, for the book.
    std::vector<SiteBook::Seen> BookedAnswers() const;
    // Even data rows are drawn grey with green text.
    static bool IsShadedRow(int row) { return row > 0 && row % 2 == 0; }

  private:
    struct RowState {
        bool absent = false;
        uint16_t port = kHostPort;
    };
    // The row the next host goes into, numbered; the grid grows after it.
    Row& TakeNextRow(const std::string& address, const RowState& state);
    const Site* BookedAt(const std::string& address) const;

    std::vector<Row> rows_;
    std::vector<RowState> states_;
    int nextRow_ = 1;
    std::unordered_map<std::string, int> listed_;  // address to row, this search
    std::vector<std::string> answers_;             // the frames listed, in order
    std::vector<Site> book_;
    std::vector<LocalNetwork> local_;
};

}  // namespace tarnwick

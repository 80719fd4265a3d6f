#include "operation/fleet_board.h"

#include <gtest/gtest.h>

#include "hosts/host_list_model.h"
#include "protocol/frame_codec.h"
#include "support/fake_fleet_lanes.h"
#include "support/fixed_clock.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

using testing::FakeFleetLanes;
using testing::FixedClock;

// Status bytes: system, mode, zones 1-8, 9-16, bypass 1-8, 9-16, signal.
constexpr const char* kQuiet = "13000000000017";
constexpr const char* kAlarmZone2 = "13010200000017";
constexpr const char* kNoMains = "12000000000005";
constexpr const char* kAlarmAndNoMains = "12010200000009";

struct BoardFixture {
    // One host per entry: its address, site and status bytes (empty: silent).
    BoardFixture(std::vector<std::pair<HostTarget, std::string>> fleet)
        : poller(lanes, clock), board(poller) {
        std::vector<FleetHost> hosts;
        for (const auto& [target, status] : fleet) hosts.push_back({target, "十六防区报警主机"});
        poller.SetHosts(hosts);
        board.Arrange();
        board.onRowsChanged = [this] { ++arranged; };
        board.onRowChanged = [this](int row) { changedRows.push_back(row); };
        poller.Start(0);
        for (size_t i = 0; i < fleet.size(); ++i)
            if (!fleet[i].second.empty())
                poller.Receive(static_cast<int>(i),
                               {BuildReplyFrame("12", "02", "0191" + fleet[i].second),
                                fleet[i].first.address, fleet[i].first.port},
                               10);
        poller.Tick(kStatusTimeoutMs);
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < board.RowCount(); ++row) cells.push_back(board.Cell(row, column));
        return cells;
    }
    void Filter(const std::string& text) {
        board.controls["edtFleetFilter"].text = text;
        board.controls.Change("edtFleetFilter");
    }
    FakeFleetLanes lanes;
    FixedClock clock;
    FleetPoller poller;
    FleetBoard board;
    int arranged = 0;
    std::vector<int> changedRows;
};

HostTarget At(const std::string& address, const std::string& site = {}) {
    return {address, kHostPort, site};
}

TEST(FleetBoard, ShowsEachHostInWordsAndOfflineHostsWithoutLiveState) {
    BoardFixture f({{At("10.0.0.1", "城东门店"), kAlarmAndNoMains}, {At("10.0.0.2"), ""}});
    ASSERT_EQ(f.board.RowCount(), 2);
    const std::vector<std::string> online = {"10.0.0.1", "城东门店",  "十六防区报警主机",
                                             "离家布防", "2",         "交流电",
                                             "9",        f.clock.now, "在线"};
    const std::vector<std::string> offline = {"10.0.0.2", "", "十六防区报警主机", "",    "",
                                              "",         "", "未曾应答",         "离线"};
    for (int c = 0; c < kFleetColumns; ++c) {
        EXPECT_EQ(f.board.Cell(0, c), online[static_cast<size_t>(c)]) << c;
        EXPECT_EQ(f.board.Cell(1, c), offline[static_cast<size_t>(c)]) << c;
    }
    EXPECT_EQ(f.board.Hint(1), "主机无应答");
    EXPECT_EQ(f.board.Hint(0), "");
    EXPECT_EQ(f.board.controls["lblFleetSummary"].text,
              "共 2 台，显示 2 台：在线 1，离线 1，报警 1，故障 1");
}

TEST(FleetBoard, ColoursRowsByTheirWorstState) {
    BoardFixture f({{At("10.0.0.1"), kQuiet},
                    {At("10.0.0.2"), kAlarmZone2},
                    {At("10.0.0.3"), kNoMains},
                    {At("10.0.0.4"), kAlarmAndNoMains},
                    {At("10.0.0.5"), ""}});
    const FleetTone tones[] = {FleetTone::Normal, FleetTone::Alarm, FleetTone::Fault,
                               FleetTone::Alarm, FleetTone::Offline};
    for (int row = 0; row < 5; ++row) EXPECT_EQ(f.board.Tone(row), tones[row]) << row;
    // A host that was in alarm and then missed an answer is grey, not red.
    f.poller.Tick(kFleetPeriodMs);
    f.poller.Tick(kFleetPeriodMs + kStatusTimeoutMs);
    for (int row = 0; row < 5; ++row) EXPECT_EQ(f.board.Tone(row), FleetTone::Offline) << row;
}

TEST(FleetBoard, SortsByAnyColumnAndReversesOnTheSameColumnAgain) {
    BoardFixture f({{At("10.0.0.10", "乙"), kNoMains},
                    {At("10.0.0.9", "甲"), kQuiet},
                    {At("10.0.0.100", "丙"), ""},
                    {At("9.0.0.1", "丁"), kAlarmZone2}});
    using Cells = std::vector<std::string>;
    EXPECT_EQ(f.Column(kFleetAddress), (Cells{"9.0.0.1", "10.0.0.9", "10.0.0.10", "10.0.0.100"}));
    const std::pair<int, Cells> cases[] = {
        // Numbers as numbers, an offline host below every signal.
        {kFleetSignal, {"10.0.0.100", "10.0.0.10", "9.0.0.1", "10.0.0.9"}},
        {kFleetOnline, {"9.0.0.1", "10.0.0.9", "10.0.0.10", "10.0.0.100"}},
        {kFleetAlarm, {"10.0.0.100", "10.0.0.9", "10.0.0.10", "9.0.0.1"}},
        {kFleetFaults, {"9.0.0.1", "10.0.0.9", "10.0.0.100", "10.0.0.10"}},
    };
    for (const auto& [column, order] : cases) {
        f.board.SortBy(column);
        EXPECT_EQ(f.Column(kFleetAddress), order) << column;
        f.board.SortBy(column);
        EXPECT_EQ(f.Column(kFleetAddress), Cells(order.rbegin(), order.rend())) << column;
    }
}

TEST(FleetBoard, FiltersByEveryWordInAnyCell) {
    BoardFixture f({{At("10.0.0.1", "城东门店"), kQuiet},
                    {At("10.0.0.2", "城西仓库"), kAlarmZone2},
                    {At("10.0.1.3", "城西门店"), ""}});
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {"10.0.0.1", "10.0.0.2", "10.0.1.3"}},
        {"城西", {"10.0.0.2", "10.0.1.3"}},
        {"城西  门店", {"10.0.1.3"}},
        {"离线", {"10.0.1.3"}},
        {"10.0.0", {"10.0.0.1", "10.0.0.2"}},
        {"离家布防 城西", {"10.0.0.2"}},
        {"没有这个", {}},
    };
    for (const auto& [text, rows] : cases) {
        f.Filter(text);
        EXPECT_EQ(f.Column(kFleetAddress), rows) << text;
    }
    f.Filter("城西");
    EXPECT_EQ(f.board.controls["lblFleetSummary"].text,
              "共 3 台，显示 2 台：在线 2，离线 1，报警 1，故障 0");
}

TEST(FleetBoard, AnAnswerChangesItsRowInPlaceAndTheOrderWaitsForTheSweepsEnd) {
    BoardFixture f({{At("10.0.0.1"), kQuiet}, {At("10.0.0.2"), kQuiet}});
    f.board.SortBy(kFleetAlarm);
    f.board.SortBy(kFleetAlarm);  // most zones in alarm first, then by address down
    ASSERT_EQ(f.board.Cell(0, kFleetAddress), "10.0.0.2");
    const int arranged = f.arranged;
    f.changedRows.clear();
    f.poller.Tick(kFleetPeriodMs);
    auto answer = [&](int lane, const std::string& address, const char* status) {
        f.poller.Receive(
            lane, {BuildReplyFrame("12", "02", std::string("0191") + status), address, kHostPort},
            kFleetPeriodMs + 5);
    };
    answer(0, "10.0.0.1", kAlarmZone2);
    EXPECT_EQ(f.changedRows, std::vector<int>{1});
    EXPECT_EQ(f.board.Cell(1, kFleetAlarm), "2");
    EXPECT_EQ(f.arranged, arranged);
    answer(1, "10.0.0.2", kQuiet);
    EXPECT_EQ(f.arranged, arranged + 1);
    EXPECT_EQ(f.board.Cell(0, kFleetAddress), "10.0.0.1");
}

TEST(FleetBoard, EnterOpensTheHostOfTheRowAsShown) {
    BoardFixture f({{At("10.0.0.2", "乙"), kQuiet}, {{"10.0.0.1", 5300, "甲"}, kQuiet}});
    std::vector<HostTarget> opened;
    f.board.openHost = [&](const HostTarget& t) { opened.push_back(t); };
    f.board.Open(0);
    f.board.SortBy(kFleetAddress);
    f.board.Open(0);
    f.board.Open(7);
    EXPECT_EQ(opened,
              (std::vector<HostTarget>{{"10.0.0.1", 5300, "甲"}, {"10.0.0.2", 5200, "乙"}}));
}

TEST(FleetBoard, TakesEveryListedHostAndBookedSiteOfTheHostList) {
    HostListModel list;
    list.SetBook({{"城西仓库", "10.231.1.200", 5300, "", "", "八防区无线报警主机", "", "", ""}});
    list.AddSearchAnswer(NormalizeReceived(testing::SearchAnswer("10.231.1.1")));
    list.ListAbsentSites();
    const std::vector<FleetHost> hosts = FleetHostsOf(list);
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0].target, (HostTarget{"10.231.1.1", kHostPort, ""}));
    EXPECT_EQ(hosts[0].hostType, "报警主机");
    EXPECT_EQ(hosts[1].target, (HostTarget{"10.231.1.200", 5300, "城西仓库"}));
    EXPECT_EQ(hosts[1].hostType, "八防区无线报警主机");
}

}  // namespace
}  // namespace tarnwick

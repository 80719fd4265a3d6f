// The host list beside the site book: booked hosts named, booked sites that
// did not answer listed greyed, and opened at their booked port.
#include <gtest/gtest.h>

#include <thread>

#include "hosts/host_search.h"
#include "hosts/login.h"
#include "hosts/modify_ip.h"
#include "protocol/frame_codec.h"
#include "protocol/unicast_address.h"
#include "storage/site_book.h"
#include "support/host_window_fixture.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

using testing::SearchAnswer;

Site Booked(const std::string& name, const std::string& address, uint16_t port = kHostPort,
            const std::string& lastSeen = {}) {
    Site s;
    s.name = name;
    s.address = address;
    s.port = port;
    s.deviceId = "100009";
    s.hostType = "八防区报警主机";
    s.lastSeen = lastSeen;
    return s;
}

TEST(HostListSites, AnswersAreNamedFromTheBookAndAbsentSitesFollowGreyed) {
    HostListModel list;
    list.SetBook({Booked("城东门店", "10.77.0.12", 6000),
                  Booked("城西仓库", "10.88.0.5", 5300, "2026-12-01 10:00:00"),
                  Booked("新店", "10.88.0.6")});
    list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.77.0.11")));
    list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.77.0.12", "十六防区报警主机")));
    list.ListAbsentSites();

    EXPECT_EQ(list.NextRow(), 5);
    EXPECT_EQ(list.Cell(0, HostListModel::kSiteColumn), " 站点");
    EXPECT_EQ(list.Field(1, HostListModel::kSiteColumn), "");
    EXPECT_EQ(list.Field(2, HostListModel::kSiteColumn), "城东门店");
    EXPECT_EQ(list.Field(2, 5), "十六防区报警主机");  // the answer, not the book
    EXPECT_FALSE(list.IsAbsent(2));
    EXPECT_EQ(list.Target(1), (HostTarget{"10.77.0.11", 5200, ""}));
    EXPECT_EQ(list.Target(2), (HostTarget{"10.77.0.12", 6000, "城东门店"}));

    EXPECT_TRUE(list.IsAbsent(3));
    const std::vector<std::pair<int, std::string>> absent = {
        {0, "  3"},
        {1, " 10.88.0.5"},
        {2, " 5300"},
        {3, " 100009"},
        {5, " 八防区报警主机"},
        {HostListModel::kSiteColumn, " 城西仓库"},
        {HostListModel::kLastSeenColumn, " 2026-12-01 10:00:00"}};
    for (const auto& [column, text] : absent) EXPECT_EQ(list.Cell(3, column), text) << column;
    EXPECT_EQ(list.Field(4, HostListModel::kLastSeenColumn), kNeverSeenText);
    EXPECT_EQ(list.Target(3), (HostTarget{"10.88.0.5", 5300, "城西仓库"}));
    EXPECT_EQ(list.Target(0).address, "");  // the header is no host
    EXPECT_EQ(list.Target(5).address, "");

    // An answer from an absent site, later (connecting to its address),
    // fills its row; the book's changes rename the rows without a search.
    EXPECT_EQ(list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.88.0.5"))),
              HostListModel::Added::Row);
    EXPECT_FALSE(list.IsAbsent(3));
    EXPECT_EQ(list.Field(3, HostListModel::kLastSeenColumn), "");
    EXPECT_EQ(list.NextRow(), 5);
    std::vector<std::string> seen;
    for (const SiteBook::Seen& s : list.BookedAnswers())
        seen.push_back(s.address + " " + s.hostType);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"10.77.0.12 十六防区报警主机", "10.88.0.5 报警主机"}));

    list.ApplyBook({Booked("一号店", "10.77.0.11")});
    EXPECT_EQ(list.Field(1, HostListModel::kSiteColumn), "一号店");
    EXPECT_EQ(list.Field(2, HostListModel::kSiteColumn), "");
    EXPECT_EQ(list.Field(3, 1), "10.88.0.5");
    EXPECT_EQ(list.Field(3, HostListModel::kSiteColumn), "");
    EXPECT_EQ(list.NextRow(), 4);
}

TEST(HostListSites, ABookedBroadcastAddressOfThisComputerIsNoRow) {
    // 10.88.0.0/16 is a network of this computer: its last address reaches
    // every host on it, and opening it would write to all of them.
    HostListModel list;
    list.SetLocalNetworks({{0x0A580001, 0xFFFF0000, 0}});
    list.SetBook({Booked("全网", "10.88.255.255"), Booked("城西仓库", "10.88.0.5")});
    EXPECT_EQ(list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.88.255.255"))),
              HostListModel::Added::NotUnicast);
    list.ListAbsentSites();
    EXPECT_EQ(list.NextRow(), 2);
    EXPECT_EQ(list.Field(1, 1), "10.88.0.5");
}

TEST(HostListSites, TheSearchListsTheBookAndTellsItWhoAnswered) {
    testing::CoreFixture f;
    f.op.sleepInPauses = true;
    SiteBook book(*f.db);
    ASSERT_EQ(book.Add({"城东门店", "10.77.0.12", "", ""}), "");
    ASSERT_EQ(book.Add({"城西仓库", "10.88.0.5", "5300", ""}), "");
    // Booked on another computer: here it is the loopback network's broadcast.
    ASSERT_EQ(book.Add({"环回广播", "127.255.255.255", "", ""}), "");
    HostListWindowModel window;
    int served = 0;
    f.op.onServe = [&] {
        if (++served == 3) {
            f.SendToListener(SearchAnswer("10.77.0.11"));
            f.SendToListener(SearchAnswer("10.77.0.12", "十六防区报警主机"));
        }
    };
    RunHostSearch(*f.tdm, window);
    // The broadcast, then each booked site at its own address and port; the
    // broadcast address row is skipped, and the trace says so.
    std::vector<std::string> sentTo;
    for (const auto& sent : f.client().sent)
        sentTo.push_back(sent.host + ":" + std::to_string(sent.port));
    EXPECT_EQ(sentTo, (std::vector<std::string>{"255.255.255.255:5200", "10.77.0.12:5200",
                                                "10.88.0.5:5300"}));
    EXPECT_EQ(
        f.tdm->trace.Lines().front().rfind(
            "[站点簿]：站点“环回广播”的IP地址 127.255.255.255 " + std::string(kNotOneHostText), 0),
        0u);
    EXPECT_EQ(window.list.NextRow(), 4);
    EXPECT_EQ(window.list.Field(2, HostListModel::kSiteColumn), "城东门店");
    EXPECT_TRUE(window.list.IsAbsent(3));
    EXPECT_EQ(window.list.Field(3, HostListModel::kSiteColumn), "城西仓库");
    EXPECT_EQ(window.list.Field(3, HostListModel::kLastSeenColumn), kNeverSeenText);
    const std::optional<Site> east = book.Find("城东门店");
    ASSERT_TRUE(east);
    EXPECT_EQ(east->lastSeen, f.clock.now);
    EXPECT_EQ(east->hostType, "十六防区报警主机");
    EXPECT_EQ(east->deviceId, "100001");
    EXPECT_EQ(book.Find("城西仓库")->lastSeen, "");

    // A book the database cannot give leaves the search as it was, and says so.
    f.db->Execute("DROP TABLE Site", {});
    RunHostSearch(*f.tdm, window);
    EXPECT_EQ(window.list.NextRow(), 1);
    EXPECT_EQ(f.tdm->trace.Lines().back().rfind(kSiteBookUnreadableText, 0), 0u);
}

// The section 00 read of a host whose installer code is 246810.
std::vector<std::string> Section00(const std::string&) {
    return {testing::HostDatagram("11", "01", "019900246810" + std::string(24, '0'))};
}

TEST(HostListSites, AnAbsentSiteOpensAtItsBookedPortAndCannotBeReconfiguredByBroadcast) {
    testing::HostWindowFixture h;
    h.f.tdm->session.SetCurrentHost("");
    SiteBook book(*h.f.db);
    ASSERT_EQ(book.Add({"城西仓库", "10.88.0.5", "5300", ""}), "");
    HostListWindowModel window;
    window.list.SetBook(book.List());
    window.list.ListAbsentSites();
    ASSERT_TRUE(window.list.IsAbsent(1));

    ModifyIpDialog modify(h.f.op);
    int modifyShown = 0;
    modify.show = [&](ModifyIpDialog&) { return ++modifyShown, false; };
    ModifyHostAddress(*h.f.tdm, window, 1, modify);
    EXPECT_EQ(modifyShown, 0);
    ASSERT_EQ(h.f.op.boxes.size(), 1u);
    EXPECT_EQ(h.f.op.boxes[0].text, AbsentSiteText("城西仓库"));
    EXPECT_TRUE(h.f.client().sent.empty());

    h.f.client().responder = Section00;
    LoginDialog login;
    login.show = [](LoginDialog&) { return true; };
    int shown = 0;
    OpenHost(*h.f.tdm, window.list, 1, h.window, login, [&] { ++shown; });
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(h.f.client().sent.size(), 1u);
    EXPECT_EQ(h.f.client().sent[0].host, "10.88.0.5");
    EXPECT_EQ(h.f.client().sent[0].port, 5300);
    EXPECT_EQ(h.f.tdm->session.CurrentPort(), 5300);
    EXPECT_EQ(h.window.frame["lblHost"].text, "IP地址:10.88.0.5:5300");
    // The host answered: the book says when.
    EXPECT_EQ(book.Find("城西仓库")->lastSeen, h.f.clock.now);
}

}  // namespace
}  // namespace tarnwick

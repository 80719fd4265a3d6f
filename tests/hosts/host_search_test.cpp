#include "hosts/host_search.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "hosts/data_module.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/timing.h"
#include "protocol/unicast_address.h"
#include "support/core_fixture.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

using testing::SearchAnswer;

TEST(HostListModel, FillsRowsOnceGrowsByTenAndClearsWithoutStaleData) {
    HostListModel list;
    EXPECT_EQ(list.Cell(0, 1), " IP地址");
    EXPECT_EQ(list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.77.0.11"))),
              HostListModel::Added::Row);
    EXPECT_EQ(list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.77.0.11", "另一台"))),
              HostListModel::Added::Repeated);
    EXPECT_EQ(list.Cell(1, 0), "  1");
    EXPECT_EQ(list.Cell(1, 1), " 10.77.0.11");
    EXPECT_EQ(list.Cell(1, 5), " 报警主机");
    EXPECT_EQ(list.Cell(1, 7), " 10.77.0.1");
    for (int i = 2; i <= 24; ++i) {
        list.AddSearchAnswer(UnescapeFrame(SearchAnswer("10.77.1." + std::to_string(i))));
        EXPECT_EQ(list.RowCount(), i < 24 ? 25 : 35) << i;
    }
    list.ClearForSearch();
    EXPECT_EQ(list.RowCount(), 35);
    EXPECT_EQ(list.NextRow(), 1);
    for (int r = 1; r < list.RowCount(); ++r)
        for (int c = 1; c < HostListModel::kColumns; ++c) EXPECT_EQ(list.Cell(r, c), "");
    EXPECT_EQ(list.Cell(3, 0), "  3");  // the number column keeps what it showed
    EXPECT_TRUE(HostListModel::IsShadedRow(2));
    EXPECT_FALSE(HostListModel::IsShadedRow(3));
}

TEST(HostListModel, ListsOnlyAddressesOfOneHost) {
    HostListModel list;
    const std::vector<std::string> addresses = {"255.255.255.255", "AAAAAAAAAAAAAAA",
                                                std::string(15, '\0'), "0.0.0.0", "224.0.0.5"};
    for (const std::string& address : addresses)
        EXPECT_EQ(list.AddSearchAnswer(UnescapeFrame(SearchAnswer(address))),
                  HostListModel::Added::NotUnicast)
            << address;
    EXPECT_EQ(list.NextRow(), 1);
    EXPECT_EQ(list.Field(1, 1), "");
}

TEST(HostListModel, TakesAtMostItsLimitOfHostsAndForgetsThemForTheNextSearch) {
    HostListModel list;
    // One answer with its address field (characters 13-42) written anew.
    const std::string answer = UnescapeFrame(SearchAnswer("10.77.0.11"));
    auto from = [&](int i) {
        std::string address = "10." + std::to_string(i / 65536) + "." +
                              std::to_string(i / 256 % 256) + "." + std::to_string(i % 256);
        return answer.substr(0, 12) + TextToHexField(address, 15) + answer.substr(42);
    };
    for (int i = 1; i <= HostListModel::kMaxHosts; ++i)
        ASSERT_EQ(list.AddSearchAnswer(from(i)), HostListModel::Added::Row) << i;
    EXPECT_EQ(list.AddSearchAnswer(from(0)), HostListModel::Added::Full);
    EXPECT_EQ(list.AddSearchAnswer(from(7)), HostListModel::Added::Repeated);
    EXPECT_EQ(list.Field(HostListModel::kMaxHosts, 1), "10.0.195.80");
    EXPECT_EQ(list.Field(HostListModel::kMaxHosts, 5), "报警主机");
    list.ClearForSearch();
    EXPECT_EQ(list.AddSearchAnswer(from(7)), HostListModel::Added::Row);
}

TEST(HostSearch, BroadcastsListsEveryAnswerOnceAndCleansUp) {
    testing::CoreFixture f;
    f.op.sleepInPauses = true;
    HostListWindowModel window;
    std::vector<bool> hostWindowEnabled;
    window.setHostWindowEnabled = [&](bool on) { hostWindowEnabled.push_back(on); };
    int served = 0;
    f.op.onServe = [&] {
        ++served;
        if (served == 3) {
            EXPECT_FALSE(window.listEnabled);
            EXPECT_FALSE(window.keysAttached);
            EXPECT_TRUE(window.waiting.visible);
            EXPECT_EQ(window.waiting.title, "正在搜索中，请稍候...");
            f.SendToListener(SearchAnswer("10.77.0.11"));
            f.SendToListener(SearchAnswer("10.77.0.12"));
            f.SendToListener(SearchAnswer("10.77.0.11"));
            f.SendToListener(SearchAnswer("10.77.0.13"));
            f.SendToListener("7E00");  // not a frame
            f.SendToListener(SearchAnswer("255.255.255.255"));
            f.SendToListener(SearchAnswer("AAAAAAAAAAAAAAA"));
        }
    };
    RunHostSearch(*f.tdm, window);
    ASSERT_EQ(f.client().sent.size(), 1u);
    EXPECT_EQ(f.client().sent[0].host, "255.255.255.255");
    EXPECT_EQ(f.client().sent[0].payload, "7EB7820102D75A7E");
    EXPECT_EQ(window.list.NextRow(), 4);
    EXPECT_EQ(window.list.Field(1, 1), "10.77.0.11");
    EXPECT_EQ(window.list.Field(2, 1), "10.77.0.12");
    EXPECT_EQ(window.list.Field(3, 1), "10.77.0.13");
    EXPECT_EQ(window.list.Cell(3, 0), "  3");
    EXPECT_EQ(
        f.tdm->trace.Lines(),
        (std::vector<std::string>{"[调试数据]: 搜索应答的地址不是单一主机的 IPv4 地址，未列出: " +
                                      TextToHexField("255.255.255.255", 15),
                                  "[调试数据]: 搜索应答的地址不是单一主机的 IPv4 地址，未列出: " +
                                      TextToHexField("AAAAAAAAAAAAAAA", 15)}));
    EXPECT_EQ(f.op.pauses.front(), 500);
    EXPECT_EQ(f.op.pauses.size(), 101u);
    EXPECT_EQ(window.waiting.percent, "100%");
    EXPECT_FALSE(window.waiting.visible);
    EXPECT_TRUE(window.listEnabled && window.bottomEnabled && window.keysAttached);
    EXPECT_EQ(hostWindowEnabled, (std::vector<bool>{false, true}));
    EXPECT_FALSE(f.tdm->listener.IsOpen());
}

// However the answers come in, a search lists the hosts in address order
// (as numbers), and the host the operator selected stays selected wherever
// it is listed; a host that no longer answers leaves nothing selected.
TEST(HostSearch, AnswersInAnyOrderListOneOrderAndKeepTheSelectedHost) {
    const std::vector<std::string> sorted = {"10.231.1.1", "10.231.1.2", "10.231.1.9",
                                             "10.231.1.10"};
    struct Case {
        std::vector<std::string> answers;  // in the order they arrive
        int selectedRow;                   // the row of 10.231.1.2 afterwards, 0 none
    };
    const Case cases[] = {
        {{"10.231.1.10", "10.231.1.2", "10.231.1.1", "10.231.1.9"}, 2},
        {{"10.231.1.9", "10.231.1.1", "10.231.1.10", "10.231.1.2"}, 2},
        {{"10.231.1.2", "10.231.1.10", "10.231.1.9", "10.231.1.1"}, 2},
        {{"10.231.1.10", "10.231.1.9", "10.231.1.1"}, 0},  // 10.231.1.2 is silent
        {{"10.231.1.9", "10.231.1.2"}, 1},
    };
    testing::CoreFixture f;
    f.op.sleepInPauses = true;
    HostListWindowModel window;
    const std::vector<std::string>* answers = nullptr;
    int served = 0;
    f.op.onServe = [&] {
        if (++served == 3)
            for (const std::string& address : *answers) f.SendToListener(SearchAnswer(address));
    };
    EXPECT_EQ(window.SelectedRow(), 0);  // nothing listed, nothing selected
    for (size_t n = 0; n < std::size(cases); ++n) {
        const Case& c = cases[n];
        SCOPED_TRACE(n);
        answers = &c.answers;
        served = 0;
        RunHostSearch(*f.tdm, window);
        std::vector<std::string> listed;
        for (int row = 1; !window.list.Field(row, 1).empty(); ++row) {
            listed.push_back(window.list.Field(row, 1));
            EXPECT_EQ(window.list.Cell(row, 0), "  " + std::to_string(row));
        }
        std::vector<std::string> expected;
        for (const std::string& address : sorted)
            if (std::find(c.answers.begin(), c.answers.end(), address) != c.answers.end())
                expected.push_back(address);
        EXPECT_EQ(listed, expected);
        if (n == 0) {
            EXPECT_EQ(window.SelectedRow(), 1);  // none chosen yet: the first host
            window.Select(2);                    // the operator picks 10.231.1.2
        }
        EXPECT_EQ(window.SelectedRow(), c.selectedRow);
        if (c.selectedRow > 0) {
            EXPECT_EQ(window.list.Field(c.selectedRow, 1), "10.231.1.2");
        }
    }
    // An empty row keeps no host: the first row again.
    window.Select(20);
    EXPECT_EQ(window.SelectedRow(), 1);
    const std::pair<const char*, uint32_t> numbers[] = {
        {"10.231.1.10", 0x0AE7010A}, {"0.0.0.1", 1}, {"255.255.255.255", 0xFFFFFFFF}, {"1.2.3", 0}};
    for (const auto& [text, number] : numbers) EXPECT_EQ(IPv4Number(text), number) << text;
}

// The listener's thread, the queue to the UI thread and the store all at work
// at once; the ThreadSanitizer build runs this too.
TEST(HostSearch, ABurstOfAThousandAnswersIsListedWhole) {
    testing::CoreFixture f;
    f.op.sleepInPauses = true;
    f.tdm->session.SetCurrentHost("10.77.0.11");
    constexpr int kAnswers = 1000;
    std::vector<std::string> burst;
    for (int i = 0; i < kAnswers; ++i) {
        burst.push_back(
            SearchAnswer("10.78." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1)));
        if (i % 100 == 0)  // upgrade progress of the current host, parked in the store
            burst.push_back(testing::HostDatagram(
                "50", "01",
                "01" + TextToHexField("10.77.0.11", 15) + ByteHex(static_cast<unsigned>(i / 10))));
    }
    HostListWindowModel window;
    int listChanges = 0;
    window.onListChanged = [&] { ++listChanges; };
    std::thread sender;
    std::vector<std::string> progressSeen;
    int served = 0;
    f.op.onServe = [&] {
        ++served;
        if (served == 2)
            sender = std::thread([&] {
                for (const std::string& datagram : burst) f.SendToListener(datagram);
            });
        // The UI thread reads the store while the listener writes it.
        progressSeen.push_back(f.tdm->params.Get("UpdateInfo"));
        // The last pause serves events until the whole burst is in, however
        // slow the machine (a sanitizer build under load).
        if (served == kSearchSteps) {
            sender.join();
            for (int i = 0; i < 4000 && window.list.NextRow() <= kAnswers; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                DrainSearchAnswers(*f.tdm, window);
            }
        }
    };
    RunHostSearch(*f.tdm, window);
    if (sender.joinable()) sender.join();

    EXPECT_EQ(window.list.NextRow(), kAnswers + 1);
    for (int row = 1; row <= kAnswers; row += 111) EXPECT_NE(window.list.Field(row, 1), "") << row;
    EXPECT_GT(listChanges, 0);
    EXPECT_EQ(Slice(f.tdm->params.Get("UpdateInfo"), 9, 12), "5001");
    for (const std::string& seen : progressSeen)
        if (!seen.empty()) {
            EXPECT_TRUE(VerifyFrame(seen)) << seen;
        }
    EXPECT_TRUE(f.tdm->trace.Lines().empty());
}

TEST(HostSearch, EndsOnItsOwnTimeAndCountsWhatCameTooLate) {
    testing::CoreFixture f;
    f.op.sleepInPauses = true;
    HostListWindowModel window;
    int served = 0;
    f.op.onServe = [&] {
        if (++served == 3) {
            f.SendToListener(SearchAnswer("10.77.0.11"));
            f.SendToListener(SearchAnswer("10.77.0.12"));
            std::this_thread::sleep_for(std::chrono::milliseconds(200));  // queued by now
            // The window is starved for so long that the search's time is up.
            f.op.tick += kSearchDeadlineMs;
        }
    };
    RunHostSearch(*f.tdm, window);
    EXPECT_LT(f.op.pauses.size(), 10u);
    EXPECT_EQ(window.list.NextRow(), 1);
    EXPECT_EQ(f.tdm->trace.Lines(),
              std::vector<std::string>{"[调试数据]: 搜索时间已到，另有 2 个搜索应答未列出"});
    EXPECT_FALSE(window.waiting.visible);
    EXPECT_TRUE(window.listEnabled && window.bottomEnabled && window.keysAttached);
}

TEST(HostSearch, AnswerAfterTheSearchIsNotSeenAndAFailedBroadcastStillCleansUp) {
    testing::CoreFixture f;
    HostListWindowModel window;
    f.client().failSend = "network unreachable";
    RunHostSearch(*f.tdm, window);
    EXPECT_FALSE(window.waiting.visible);
    EXPECT_TRUE(window.listEnabled && window.bottomEnabled && window.keysAttached);
    EXPECT_TRUE(f.op.boxes.empty());
    f.SendToListener(SearchAnswer("10.77.0.11"));
    DrainSearchAnswers(*f.tdm, window);
    EXPECT_EQ(window.list.NextRow(), 1);
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

TEST(HostSearch, APortHeldByAnotherProgramIsSaidInABoxAndNothingIsSent) {
    // The port is held by a program that does not share it, or by a second
    // copy of the tool (the window beside the command line): never shared.
    for (const bool otherTool : {false, true}) {
        SCOPED_TRACE(otherTool ? "another copy of the tool" : "another program");
        testing::CoreFixture f;
        int other = -1;
        DeviceParams otherParams;
        HostSession otherSession;
        UdpListener otherListener(otherParams, otherSession, f.listenerPort, "127.0.0.1");
        if (otherTool) {
            otherListener.Restart();
        } else {
            other = ::socket(AF_INET, SOCK_DGRAM, 0);
            ASSERT_GE(other, 0);
            sockaddr_in local{};
            local.sin_family = AF_INET;
            local.sin_port = htons(f.listenerPort);
            local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            ASSERT_EQ(::bind(other, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
        }
        HostListWindowModel window;
        RunHostSearch(*f.tdm, window);
        EXPECT_TRUE(f.client().sent.empty());
        ASSERT_EQ(f.op.boxes.size(), 1u);
        EXPECT_EQ(f.op.boxes[0].kind, "warning");
        EXPECT_EQ(f.op.boxes[0].text, "本机端口5200已被其他程序占用，无法搜索主机！");
        EXPECT_FALSE(window.waiting.visible);
        EXPECT_TRUE(window.listEnabled && window.bottomEnabled && window.keysAttached);
        EXPECT_FALSE(f.tdm->flowRunning);
        if (otherTool) {
            // The tool that listens first keeps every answer.
            f.SendToListener(SearchAnswer("10.77.0.11"));
            std::vector<std::string> answers;
            for (int waited = 0; waited < 2000 && answers.empty(); waited += 10) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                answers = otherListener.TakeSearchAnswers();
            }
            EXPECT_EQ(answers.size(), 1u);
        }
        if (other >= 0) ::close(other);
    }
}

TEST(HostSearch, DoesNotStartWhileAnotherFlowWaits) {
    testing::CoreFixture f;
    HostListWindowModel window;
    {
        FlowScope flow(*f.tdm);
        RunHostSearch(*f.tdm, window);
        EXPECT_TRUE(f.client().sent.empty());
    }
    EXPECT_FALSE(f.tdm->flowRunning);
    RunHostSearch(*f.tdm, window);
    EXPECT_EQ(f.client().sent.size(), 1u);
}

}  // namespace
}  // namespace tarnwick

// The broadcast search against simulated hosts in the lab: the frame on the
// wire, answers from separate hosts, a repeated answer, and the grid growing.
#include "hosts/host_search.h"

#include <gtest/gtest.h>

#include <set>

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/timing.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

class HostSearchInLab : public LabFixture {
  protected:
    std::string HostJson(size_t i, const std::string& extra = "") {
        return R"({"hosts": [{"address": ")" + lab->hostIps[i] +
               R"(", "identity": {"deviceId": "00020)" + std::to_string(i + 1) +
               R"(", "hostType": "六防区报警主机 )" + std::to_string(i + 1) +
               R"(号", "moduleType": "以太网模块", "mask": "255.255.0.0", "gateway": "10.231.0.254"})" +
               extra + "}]}";
    }

    HostListWindowModel window;
};

TEST_F(HostSearchInLab, ThreeHostsOneAnsweringTwiceGiveThreeRows) {
    ASSERT_GE(lab->hostNs.size(), 3u);
    auto h1 = StartHostsim(lab->hostNs[0], HostJson(0));
    auto h2 = StartHostsim(
        lab->hostNs[1],
        HostJson(1, R"(, "faults": [{"match": "02D7", "repeat": 2, "repeatGapMs": 100}])"));
    auto h3 = StartHostsim(lab->hostNs[2], HostJson(2));
    op.sleepInPauses = true;

    RunHostSearch(*tdm, window);

    const HostListModel& list = window.list;
    EXPECT_EQ(list.NextRow(), 4);
    EXPECT_EQ(list.RowCount(), 25);
    std::set<std::string> addresses;
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(list.Cell(row, 0), "  " + std::to_string(row));
        addresses.insert(list.Cell(row, 1));
    }
    EXPECT_EQ(addresses, (std::set<std::string>{" " + lab->hostIps[0], " " + lab->hostIps[1],
                                                " " + lab->hostIps[2]}));
    for (int c = 1; c < HostListModel::kColumns; ++c) EXPECT_EQ(list.Cell(4, c), "") << c;

    // Every field of a row is the host's own, Chinese texts included.
    for (int row = 1; row <= 3; ++row) {
        if (list.Field(row, 1) != lab->hostIps[1]) continue;
        EXPECT_EQ(list.Cell(row, 2), " 5200");
        EXPECT_EQ(list.Cell(row, 3), " 000202");
        EXPECT_EQ(list.Cell(row, 4), " 以太网模块");
        EXPECT_EQ(list.Cell(row, 5), " 六防区报警主机 2号");
        EXPECT_EQ(list.Cell(row, 6), " 255.255.0.0");
        EXPECT_EQ(list.Cell(row, 7), " 10.231.0.254");
    }
    // The second host really answered twice; the copy changed nothing.
    EXPECT_EQ(h2->LogLines("search answer").size(), 2u);
    EXPECT_EQ(h1->LogLines("search answer").size(), 1u);

    // On the wire the search is exactly this frame, sent to the broadcast address.
    const auto received = h1->LogLines("recv ");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].rfind("recv " + lab->toolIp + ":", 0), 0u) << received[0];
    EXPECT_NE(received[0].find(" -> 255.255.255.255:5200 7EB7820102D75A7E"), std::string::npos)
        << received[0];
    EXPECT_EQ(received[0].substr(received[0].size() - 17), " 7EB7820102D75A7E");
    EXPECT_FALSE(tdm->listener.IsOpen());
}

TEST_F(HostSearchInLab, TwentyFourHostsGrowTheGridByTenRows) {
    ASSERT_GE(lab->packCount, 24);
    auto pack = StartHostsim(lab->packNs, "{}", {"--hosts", "24", "--base-ip", lab->packBaseIp});
    op.sleepInPauses = true;

    RunHostSearch(*tdm, window);

    EXPECT_EQ(window.list.NextRow(), 25);
    EXPECT_EQ(window.list.RowCount(), 35);
    std::set<std::string> addresses;
    for (int row = 1; row <= 24; ++row) addresses.insert(window.list.Field(row, 1));
    EXPECT_EQ(addresses.size(), 24u);
    EXPECT_TRUE(addresses.count(lab->PackAddress(0)));
    EXPECT_TRUE(addresses.count(lab->PackAddress(23)));
    EXPECT_EQ(window.list.Cell(25, 1), "");

    // A later search with fewer hosts leaves nothing behind in the rows after them.
    pack.reset();
    auto one = StartHostsim(lab->hostNs[0], HostJson(0));
    RunHostSearch(*tdm, window);
    EXPECT_EQ(window.list.NextRow(), 2);
    EXPECT_EQ(window.list.RowCount(), 35);
    EXPECT_EQ(window.list.Field(1, 1), lab->hostIps[0]);
    for (int row = 2; row < window.list.RowCount(); ++row)
        for (int c = 1; c < HostListModel::kColumns; ++c)
            EXPECT_EQ(window.list.Cell(row, c), "") << row << "," << c;
}

TEST_F(HostSearchInLab, AddressChangeByBroadcastIsAnsweredToTheListenerAndSearchedAgain) {
    auto host = StartHostsim(lab->hostNs[0], HostJson(0));
    const std::string newIp = "10.231.9.9";
    const std::string data = TextToHexField(lab->hostIps[0], 15) + TextToHexField(newIp, 15) +
                             TextToHexField("255.255.255.0", 15) +
                             TextToHexField("10.231.9.254", 15);
    tdm->session.SetPendingNewAddress(newIp);
    tdm->listener.Restart();
    tdm->client.SendTo(std::string(kBroadcastAddress), kHostPort, BuildFrame("02", "DB", data));
    op.sleepInPauses = true;
    for (int waited = 0; waited < 3000 && tdm->params.Get("ModifyIPInfo").empty(); waited += 50)
        op.Pause(50);
    tdm->listener.Close();

    const std::string answer = tdm->params.Get("ModifyIPInfo");
    ASSERT_FALSE(answer.empty());
    EXPECT_EQ(Slice(answer, 9, 14), "024B01");
    EXPECT_EQ(HexToText(Slice(answer, 15, 44)), newIp);

    // The host now reports its new settings (the lab keeps it at its old address).
    RunHostSearch(*tdm, window);
    EXPECT_EQ(window.list.Field(1, 1), newIp);
    EXPECT_EQ(window.list.Field(1, 6), "255.255.255.0");
    EXPECT_EQ(window.list.Field(1, 7), "10.231.9.254");
}

}  // namespace
}  // namespace tarnwick::testing

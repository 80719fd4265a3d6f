// Datagrams a hostile or broken device on the lab's network sends while the
// tool exchanges with a simulated host: repeated, stale, spoofed (from
// another address, or from the host's address but another port) and empty
// ones, and search answers naming no single host. Each leaves the exchange
// with the host's own reply.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "hosts/host_search.h"
#include "programming/programming_requests.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/udp_endpoint.h"
#include "support/core_fixture.h"
#include "support/lab_fixture.h"
#include "support/lab_socket.h"

namespace tarnwick::testing {
namespace {

class HostileInLab : public LabFixture {
  protected:
    // The host's installer code as the section 00 read shows it.
    std::string ReadInstaller() {
        tdm->params.Clear();
        const CommandEntry read = ReadSectionRequest(0);
        tdm->exchanger.Exchange(read);
        return tdm->params.Get("Prog00_Installer");
    }
    uint16_t ClientPort() { return dynamic_cast<UdpEndpoint&>(tdm->client).LocalPort(); }
    // A section 00 reply carrying another installer code.
    static std::string ForgedSection00() {
        return HostDatagram("11", "01",
                            "019900"
                            "999999" +
                                std::string(24, '0'));
    }
    // Sends from `socket` a moment after the exchange started waiting.
    std::thread SendDuringTheWait(const LabSocket& socket, std::string payload) {
        const uint16_t port = ClientPort();
        return std::thread([&socket, payload = std::move(payload), port, ip = lab->toolIp] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            socket.SendTo(ip, port, payload);
        });
    }
};

TEST_F(HostileInLab, ARepeatedReplyDoesNotShiftTheNextRead) {
    auto sim = StartOneHost(
        R"("installerCode": "654321", "faults": [{"match": "1181", "data": "0804", "repeat": 2}])");
    const CommandEntry read04 = ReadSectionRequest(4);
    ASSERT_NE(tdm->exchanger.Exchange(read04).text, "");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the copy is waiting now

    EXPECT_EQ(ReadInstaller(), "654321");
    ASSERT_EQ(tdm->trace.Lines().size(), 1u);
    EXPECT_EQ(tdm->trace.Lines()[0].find("[调试数据]:\r\n发送前丢弃: "), 0u);
}

TEST_F(HostileInLab, StaleSpoofedAndEmptyDatagramsNeverBecomeTheReply) {
    ASSERT_GE(lab->hostNs.size(), 2u);
    auto sim =
        StartOneHost(R"("installerCode": "654321", "faults": [{"match": "1181", "delayMs": 400}])");
    ASSERT_EQ(ReadInstaller(), "654321");  // the client's port is bound from here on
    LabSocket fromHost(lab->hostNs[0]);
    LabSocket fromOther(lab->hostNs[1]);
    ASSERT_EQ(fromHost.Error() + fromOther.Error(), "");

    // Left over on the socket before the request, from the host's address.
    tdm->trace.Clear();
    fromHost.SendTo(lab->toolIp, ClientPort(), ForgedSection00());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadInstaller(), "654321");
    EXPECT_NE(tdm->trace.Text().find("发送前丢弃: "), std::string::npos) << tdm->trace.Text();

    // A forged reply from another address while the exchange waits.
    tdm->trace.Clear();
    std::thread spoof = SendDuringTheWait(fromOther, ForgedSection00());
    EXPECT_EQ(ReadInstaller(), "654321");
    spoof.join();
    EXPECT_NE(tdm->trace.Text().find("来自其他地址: " + lab->hostIps[1]), std::string::npos)
        << tdm->trace.Text();

    // A forged reply, and an empty datagram, from the host's own address
    // but not from its port while the exchange waits.
    for (const std::string& payload : {ForgedSection00(), std::string()}) {
        tdm->trace.Clear();
        std::thread other = SendDuringTheWait(fromHost, payload);
        EXPECT_EQ(ReadInstaller(), "654321");
        other.join();
        ASSERT_FALSE(tdm->trace.Lines().empty());
        EXPECT_NE(tdm->trace.Lines().back().find("返回信息: " + NormalizeReceived(payload) +
                                                 "\r\n来自其他端口: " + lab->hostIps[0] + ":"),
                  std::string::npos)
            << tdm->trace.Text();
    }
}

TEST_F(HostileInLab, SearchAnswersNamingNoSingleHostAreNotListed) {
    ASSERT_GE(lab->hostNs.size(), 3u);
    auto answer = [&](size_t i, const std::string& ip) {
        return StartHostsim(lab->hostNs[i], R"({"hosts": [{"address": ")" + lab->hostIps[i] +
                                                R"(", "identity": {"ip": ")" + ip + R"("}}]})");
    };
    auto good = answer(0, lab->hostIps[0]);
    auto broadcast = answer(1, "255.255.255.255");
    auto junk = answer(2, "AAAAAAAAAAAAAAA");
    op.sleepInPauses = true;
    HostListWindowModel window;

    RunHostSearch(*tdm, window);

    EXPECT_EQ(window.list.NextRow(), 2);
    EXPECT_EQ(window.list.Field(1, 1), lab->hostIps[0]);
    const std::string trace = tdm->trace.Text();
    EXPECT_NE(trace.find(TextToHexField("255.255.255.255", 15)), std::string::npos) << trace;
    EXPECT_NE(trace.find(TextToHexField("AAAAAAAAAAAAAAA", 15)), std::string::npos) << trace;
}

}  // namespace
}  // namespace tarnwick::testing

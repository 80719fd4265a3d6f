// The firmware upgrade and the address change against a real FTP server and
// simulated hosts in the lab.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/standard_pages.h"
#include "hosts/host_search.h"
#include "hosts/host_window.h"
#include "hosts/modify_ip.h"
#include "modules/curl_ftp.h"
#include "modules/firmware_upgrade.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/ftp_server_process.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

using UpgradeInLab = LabFixture;

TEST_F(UpgradeInLab, ImageCheckAgainstARealServer) {
    const std::string ns = lab->hostNs[1], ip = lab->hostIps[1];
    CurlFtp ftp(op);
    struct Case {
        std::vector<std::string> names;
        bool found;
    };
    std::vector<std::string> many;
    for (int i = 0; i < 3000; ++i) many.push_back("firmware-" + std::to_string(i) + ".bin");
    many.push_back("Image.Ram");
    for (const Case& c :
         {Case{{"notes.txt", "IMAGE.RAM"}, true}, Case{{"image.ram"}, true},
          Case{{"IMAGE.RAM.bak", "IMAGE"}, false}, Case{{}, false}, Case{many, true}}) {
        FtpServerProcess server(ns, ip, c.names);
        EXPECT_EQ(UpgradeImageProblem(ftp, ip, nullptr), c.found ? "" : kNoUpgradeImageText)
            << c.names.size() << " names";
    }

    // A failed login, a refused connection and an address where nothing
    // answers: each named by its step, within the check's time-out.
    {
        FtpServerProcess closed(ns, ip, {"IMAGE.RAM"}, false);
        const auto start = Clock::now();
        EXPECT_EQ(UpgradeImageProblem(ftp, ip, nullptr), kFtpLoginFailedText);
        EXPECT_LT(SecondsSince(start), kFtpCheckTimeoutMs / 1000.0);
    }
    auto start = Clock::now();
    EXPECT_EQ(UpgradeImageProblem(ftp, lab->hostIps[2], nullptr), kFtpConnectFailedText);
    EXPECT_LT(SecondsSince(start), 1.0);
    start = Clock::now();
    EXPECT_EQ(UpgradeImageProblem(ftp, "10.231.1.250", nullptr), kFtpConnectFailedText);
    EXPECT_LT(SecondsSince(start), kFtpCheckTimeoutMs / 1000.0);
}

struct UpgradeWindow {
    explicit UpgradeWindow(DataModule& tdm) : window(tdm) {
        AssembleStandardPages(window);
        StandardPage(window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    }
    void Press(const std::string& address) {
        PageModel& c = window.Page(0).Controls();
        c["edtUpdateAddr"].text = address;
        c.Click("bbtnUpdate");
    }
    HostWindow window;
};

TEST_F(UpgradeInLab, OrderCarriesTheServerAndTheReportIsShownAfterThePeriod) {
    FtpServerProcess server(lab->hostNs[1], lab->hostIps[1], {"IMAGE.RAM"});
    auto sim = StartOneHost(R"("upgrade": {"report": "01", "reportDelayMs": 300})");
    UpgradeWindow u(*tdm);
    // The period runs on the virtual clock; near its end the test lets the
    // report, sent 300 ms after the order, reach the listener.
    int seconds = 0;
    op.onServe = [&] {
        if (op.pauses.empty() || op.pauses.back() != kTimedWaitStepMs) return;
        if (++seconds != kUpgradeWaitSteps - 1) return;
        for (int i = 0; i < 300 && tdm->params.Get("UpdateInfo").empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    u.Press(lab->hostIps[1]);

    const auto orders = sim->LogLines("upgrade order from " + lab->hostIps[1] + " accepted");
    EXPECT_EQ(orders.size(), 1u);
    EXPECT_EQ(seconds, kUpgradeWaitSteps);
    ASSERT_FALSE(op.boxes.empty());
    EXPECT_EQ(op.boxes.back().kind, "information");
    const std::string report = tdm->params.Get("UpdateInfo");
    EXPECT_EQ(HexToText(Slice(report, 15, 44)), lab->hostIps[0]);
    EXPECT_EQ(op.boxes.back().text, report + ": 网管主机升级成功！");
    EXPECT_FALSE(tdm->listener.IsOpen());
}

TEST_F(UpgradeInLab, WithoutTheImageOrWithARefusedOrderNothingIsWaitedFor) {
    FtpServerProcess server(lab->hostNs[1], lab->hostIps[1], {"README"});
    auto sim = StartOneHost(R"("faults": [{"match": "5081", "result": 1}])");
    UpgradeWindow u(*tdm);
    u.Press(lab->hostIps[1]);
    EXPECT_EQ(op.boxes.back().text, UpgradeServerWrongText(lab->hostIps[1], kNoUpgradeImageText));
    EXPECT_TRUE(sim->LogLines("recv ").empty());

    FtpServerProcess withImage(lab->hostNs[2], lab->hostIps[2], {"IMAGE.RAM"});
    u.Press(lab->hostIps[2]);
    EXPECT_EQ(sim->LogLines("refused").size(), 1u);
    const std::string text = op.boxes.back().text;
    EXPECT_EQ(Slice(text, 9, 14), "500101");
    EXPECT_NE(text.find(": 网管主机升级失败！"), std::string::npos);
}

TEST_F(UpgradeInLab, AddressChangeOfAListedHostIsBroadcastAndTheHostIsListedAtItsNewAddress) {
    auto sim = StartOneHost();
    auto other =
        StartHostsim(lab->hostNs[1], R"({"hosts": [{"address": ")" + lab->hostIps[1] + R"("}]})");
    HostListWindowModel window;
    op.sleepInPauses = true;
    RunHostSearch(*tdm, window);
    int row = 0;
    for (int r = 1; r < window.list.NextRow(); ++r)
        if (window.list.Field(r, 1) == lab->hostIps[0]) row = r;
    ASSERT_GT(row, 0);

    ModifyIpDialog dialog(op);
    const std::string newIp = "10.231.9.9";
    dialog.show = [&](ModifyIpDialog& d) {
        EXPECT_EQ(d.controls["edtOldIP"].text, lab->hostIps[0]);
        d.controls["edtNewIP"].text = newIp;
        return true;
    };
    op.boxes.clear();
    ModifyHostAddress(*tdm, window, row, dialog);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_NE(op.boxes[0].text.find(": IP地址修改成功！\r新IP地址为：" + newIp), std::string::npos);
    EXPECT_EQ(sim->LogLines("address change result").size(), 1u);
    EXPECT_TRUE(other->LogLines("address change result").empty());  // not the host named

    RunHostSearch(*tdm, window);
    bool listed = false;
    for (int r = 1; r < window.list.NextRow(); ++r)
        listed = listed || window.list.Field(r, 1) == newIp;
    EXPECT_TRUE(listed);
}

}  // namespace
}  // namespace tarnwick::testing

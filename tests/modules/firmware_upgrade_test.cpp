#include "modules/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/standard_pages.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/timing.h"
#include "support/core_fixture.h"
#include "support/fake_ftp.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

constexpr const char* kHost = "10.77.0.11";

std::string Report(const std::string& outcome, const std::string& from = kHost) {
    return HostDatagram("50", "01", outcome + TextToHexField(from, 15));
}

struct UpgradeFixture {
    UpgradeFixture() {
        f.tdm->session.SetCurrentHost(kHost);
        AssembleStandardPages(window);
        auto fake = std::make_unique<testing::FakeFtp>();
        ftp = fake.get();
        f.tdm->ftp = std::move(fake);
        ftp->names = {"readme.txt", "IMAGE.RAM"};
        // The module accepts the order.
        OrderReply("00");
        f.op.onServe = [this] { Serve(); };
    }
    void OrderReply(const std::string& byte7) {
        f.client().responder = [byte7](const std::string&) {
            return std::vector<std::string>{HostDatagram("50", "01", byte7)};
        };
    }
    // Seconds waited since the order went out.
    int Seconds() const {
        int n = 0;
        for (int p : f.op.pauses) n += p == 1000;
        return n;
    }
    // Acts at a chosen second of the wait: sends the report to the listener
    // (and lets the listener take it in), presses Stop.
    void Serve() {
        const int s = Seconds();
        if (s == lastSecond) return;
        lastSecond = s;
        if (s == reportAt) {
            f.SendToListener(report);
            for (int i = 0; i < 100 && f.tdm->params.Get("UpdateInfo").empty(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (reportIgnored) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (s == stopAt) window.Stop();
        if (s == kUpgradeWaitSteps - 1) boxesBeforePeriodEnd = f.op.boxes.size();
    }
    // bbtnUpdate pressed with `address` in edtUpdateAddr.
    void Run(const std::string& address = " 10.77.0.200 ") {
        PageModel& c = window.Page(0).Controls();
        c["edtUpdateAddr"].text = address;
        c.Click("bbtnUpdate");
    }

    testing::CoreFixture f;
    HostWindow window{*f.tdm};
    testing::FakeFtp* ftp = nullptr;
    std::string report;
    bool reportIgnored = false;
    int reportAt = -1, stopAt = -1, lastSecond = -1;
    size_t boxesBeforePeriodEnd = 0;
};

TEST(FirmwareUpgrade, BlankAddressOrNoDoesNothing) {
    UpgradeFixture u;
    u.Run("   ");
    EXPECT_TRUE(u.f.op.boxes.empty());
    u.f.op.answers = {false};
    u.Run();
    EXPECT_EQ(u.f.op.boxes.size(), 1u);
    EXPECT_EQ(u.f.op.boxes[0].text, "确定要进行远程升级吗？");
    EXPECT_TRUE(u.ftp->hosts.empty());
    EXPECT_TRUE(u.f.client().sent.empty());
}

// The check names the step that failed: the operator learns whether the
// server, its login, its listing or the file is the matter.
TEST(FirmwareUpgrade, ImageCheckIgnoresCaseNeedsTheExactNameAndNamesTheFailedStep) {
    struct Case {
        std::vector<std::string> names;
        std::string failWith;
        FtpStep step;
        std::string problem;
    };
    const Case cases[] = {
        {{"image.ram"}, "", FtpStep::Connect, ""},
        {{"Image.Ram", "other"}, "", FtpStep::Connect, ""},
        {{"IMAGE.RAM.bak", "IMAGE", "xIMAGE.RAM"}, "", FtpStep::Connect, kNoUpgradeImageText},
        {{}, "", FtpStep::Connect, kNoUpgradeImageText},
        {{"IMAGE.RAM"}, "Connection refused", FtpStep::Connect, kFtpConnectFailedText},
        {{"IMAGE.RAM"}, "530 Login incorrect.", FtpStep::Login, kFtpLoginFailedText},
        {{"IMAGE.RAM"}, "425 Can't open data connection", FtpStep::List, kFtpListFailedText},
    };
    for (const Case& c : cases) {
        testing::FakeFtp ftp;
        ftp.names = c.names;
        ftp.failWith = c.failWith;
        ftp.failStep = c.step;
        std::string detail;
        EXPECT_EQ(UpgradeImageProblem(ftp, "10.0.0.1", &detail), c.problem) << c.failWith;
        EXPECT_EQ(detail, c.failWith);
        EXPECT_EQ(CheckUpgradeImage(ftp, "10.0.0.1"), c.problem.empty()) << c.failWith;
    }
}

TEST(FirmwareUpgrade, WithoutTheImageAQuestionBoxNamesTheStepAndServerAndNothingIsSent) {
    UpgradeFixture u;
    u.ftp->names = {"IMAGE.RAM.bak"};
    u.Run();
    EXPECT_EQ(u.ftp->hosts, std::vector<std::string>{"10.77.0.200"});
    EXPECT_EQ(u.f.op.boxes.back().kind, "check");
    EXPECT_EQ(u.f.op.boxes.back().text,
              "升级文件地址有误或者该地址没有默认的升级文件，请核实！\r\n"
              "文件列表中没有IMAGE.RAM（FTP服务器 10.77.0.200）");
    EXPECT_TRUE(u.f.client().sent.empty());
    EXPECT_FALSE(u.f.tdm->listener.IsOpen());
    EXPECT_TRUE(u.window.pcMainEnabled);
    // The FTP client's own words go to the trace only.
    u.ftp->failWith = "530 Login incorrect.";
    u.ftp->failStep = FtpStep::Login;
    u.Run();
    EXPECT_EQ(u.f.op.boxes.back().text,
              "升级文件地址有误或者该地址没有默认的升级文件，请核实！\r\n"
              "匿名登录FTP服务器失败（FTP服务器 10.77.0.200）");
    EXPECT_NE(u.f.tdm->trace.Lines().back().find("530 Login incorrect."), std::string::npos);
}

TEST(FirmwareUpgrade, RefusedOrUnansweredOrderShowsTheFailureWithoutWaiting) {
    for (const std::string byte7 : {"01", ""}) {
        UpgradeFixture u;
        if (byte7.empty())
            u.f.client().responder = nullptr;
        else
            u.OrderReply(byte7);
        u.Run();
        const std::string reply =
            byte7.empty() ? "" : UnescapeFrame(HostDatagram("50", "01", byte7));
        EXPECT_EQ(u.f.op.boxes.back().text, reply + ": 网管主机升级失败！");
        EXPECT_EQ(u.Seconds(), 0);
        EXPECT_EQ(u.f.db->Select("Select * From OperationLog").size(), 0u);
        EXPECT_FALSE(u.f.tdm->listener.IsOpen());
        EXPECT_TRUE(u.window.pcMainEnabled);
        EXPECT_TRUE(u.window.keysAttached);
    }
}

TEST(FirmwareUpgrade, OrderCarriesTheAddressAndAReportAfterFiveSecondsShowsAtThePeriodEnd) {
    UpgradeFixture u;
    u.report = Report("01");
    u.reportAt = 5;
    u.Run();
    ASSERT_EQ(u.f.client().sent.size(), 1u);
    const std::string order = UnescapeFrame(u.f.client().sent[0].payload);
    EXPECT_EQ(order, BuildFrame("50", "81", TextToHexField("10.77.0.200", 50)));
    EXPECT_EQ(u.f.client().sent[0].host, kHost);
    EXPECT_EQ(u.f.tdm->trace.Lines().back(), "开始升级：2026-12-07 08:30:05");

    EXPECT_EQ(u.Seconds(), 70);
    EXPECT_EQ(u.boxesBeforePeriodEnd, 1u);  // only the question so far
    EXPECT_EQ(u.f.op.boxes.back().text, UnescapeFrame(u.report) + ": 网管主机升级成功！");
    auto rows = u.f.db->Select("Select OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].second, u.f.client().sent[0].payload);
    EXPECT_FALSE(u.f.tdm->listener.IsOpen());
    EXPECT_TRUE(u.window.pcMainEnabled);
    EXPECT_FALSE(u.f.tdm->flowRunning);
}

TEST(FirmwareUpgrade, ReportOutcomes) {
    struct Case {
        std::string outcome;
        std::string shown;  // empty: no box after the question
    };
    for (const Case& c : {Case{"02", ": 网管主机升级失败！"}, Case{"03", ""}}) {
        UpgradeFixture u;
        u.report = Report(c.outcome);
        u.reportAt = 100;  // in the second period
        u.Run();
        EXPECT_EQ(u.Seconds(), 140) << c.outcome;
        if (c.shown.empty())
            EXPECT_EQ(u.f.op.boxes.size(), 1u);
        else
            EXPECT_EQ(u.f.op.boxes.back().text, UnescapeFrame(u.report) + c.shown);
    }
}

TEST(FirmwareUpgrade, StopEndsTheWaitAndAReportThatCameBeforeIsStillShown) {
    UpgradeFixture u;
    u.report = Report("01");
    u.reportAt = 3;
    u.stopAt = 10;
    u.Run();
    EXPECT_EQ(u.Seconds(), 10);
    EXPECT_EQ(u.f.op.boxes.back().text, UnescapeFrame(u.report) + ": 网管主机升级成功！");

    // A report from another host is ignored: Stop ends the wait silently.
    UpgradeFixture other;
    other.report = Report("01", "10.77.0.99");
    other.reportIgnored = true;
    other.reportAt = 3;
    other.stopAt = 75;
    other.Run();
    EXPECT_EQ(other.Seconds(), 75);
    EXPECT_EQ(other.f.op.boxes.size(), 1u);
    EXPECT_TRUE(other.f.tdm->params.Get("UpdateInfo").empty());
}

}  // namespace
}  // namespace tarnwick

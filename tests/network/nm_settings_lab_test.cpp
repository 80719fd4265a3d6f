// Page 0's network module groups read from a simulated host in the lab, and
// a heartbeat change saved with F8.
#include <gtest/gtest.h>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

using NmSettingsInLab = LabFixture;

TEST_F(NmSettingsInLab, F8AfterAHeartbeatChangeSendsOnlyThatWriteThenAsksForTheRestart) {
    auto sim = StartOneHost(
        R"("network": {"heartbeat": 30, "netMode": "01", "netSwitch": "05", "dhcp": "01"})");
    HostWindow window(*tdm);
    AssembleStandardPages(window);
    StandardPage(window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    int closed = 0;
    window.closeWindow = [&closed] { ++closed; };
    window.KeyDown(HostWindow::Key::F5);
    PageModel& c = window.Page(0).Controls();
    ASSERT_EQ(c["edtNMHeartbeatInterval"].text, "30");
    EXPECT_EQ(c["cbNMInfo"].index, 1);
    EXPECT_EQ(c["chklbNMInfo"].itemChecked, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(c["rbtnStaticIP"].checked);
    EXPECT_EQ(c["edtLocalIP"].text, lab->hostIps[0]);

    const size_t before = sim->LogLines("recv ").size();
    c["edtNMHeartbeatInterval"].text = "45";
    op.boxes.clear();
    op.answers = {false};  // no restart now
    window.KeyDown(HostWindow::Key::F8);

    const auto received = sim->LogLines("recv ");
    ASSERT_EQ(received.size(), before + 1);
    EXPECT_NE(received.back().find(BuildFrame("02", "CB", "2D00")), std::string::npos);
    ASSERT_EQ(op.boxes.size(), 2u);
    EXPECT_NE(op.boxes[0].text.find("设置心跳间隔时间成功! 该操作需要重新启动网管主机才能生效。"),
              std::string::npos);
    EXPECT_EQ(op.boxes[1].text, "该操作会重新启动报警主机网管模块，请确认是否继续。");
    EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace tarnwick::testing

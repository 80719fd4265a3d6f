// The GPRS page of the host window against the GPRS module of a simulated
// host in the lab: the eleven queries, a heartbeat change saved with F8 and
// read back, an untouched page of a silent module, restart and factory reset.
#include <gtest/gtest.h>

#include <memory>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "modules/gprs_decoder.h"
#include "modules/gprs_page.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

constexpr int kGprsPage = 5;

class GprsPageInLab : public LabWindowFixture {
  protected:
    Control& operator[](const std::string& name) {
        return window->Page(kGprsPage).Controls()[name];
    }
};

TEST_F(GprsPageInLab, RefreshShowsTheModuleAndAChangedHeartbeatIsTheOnlyWrite) {
    auto sim = StartOneHost(
        R"("gprs": {"deviceId": "100102", "heartbeat": 120, "managePhone": "13800000001",
                    "progPhones": ["1001"], "alarmPhones": ["13900000001"],
                    "alarmPhoneStatus": "30000000", "smsCentre": "13800100500",
                    "dnsServers": ["10.231.200.53", "10.231.200.54"], "infoSms": "02"})");
    window->PageChange(kGprsPage);  // chkAutoRefresh is ticked: the page is read
    const CommandList queries = window->Page(kGprsPage).ReadList();
    std::vector<std::string> expected;
    for (const CommandEntry& q : queries) expected.push_back(q.frame);
    ASSERT_EQ(expected.size(), 11u);
    EXPECT_EQ(sim->ReceivedFrames(), expected);

    auto& page = *this;
    EXPECT_EQ(page["edtGprsDeviceID"].text, "100102");
    EXPECT_EQ(page["edtGprsHeartbeatInterval"].text, "120");
    EXPECT_EQ(page["edtGprsDomainName2"].text, "centre2.alarm.lan");
    EXPECT_EQ(page["edtGprsIP1"].text, "10.231.200.1");
    EXPECT_EQ(page["memGprsDomainRPIP"].lines,
              (std::vector<std::string>{"10.231.200.53", "10.231.200.54"}));
    EXPECT_EQ(page["edtManagePhone"].text, "13800000001");
    EXPECT_EQ(page["edtProgPhone1"].text, "1001");
    EXPECT_EQ(page["edtAlarmPhone1"].text, "13900000001");
    EXPECT_EQ(page["cbAlarmPhoneStatus1"].index, 1);
    EXPECT_EQ(page["cbAlarmPhoneStatus2"].index, 0);
    EXPECT_EQ(page["cbGprsInfoSMS"].index, 2);
    EXPECT_TRUE(page["chkGprsBootSMS"].checked);

    page["edtGprsHeartbeatInterval"].text = "60";
    window->Page(kGprsPage).Controls().Change("edtGprsHeartbeatInterval");
    const size_t before = sim->ReceivedFrames().size();
    op.boxes.clear();
    window->KeyDown(HostWindow::Key::F8);

    const CommandEntry set = Request(kGprsSetHeartbeatPair, "3C00");
    std::vector<std::string> saved = {set.frame};
    saved.insert(saved.end(), expected.begin(), expected.end());
    EXPECT_EQ(sim->ReceivedFrames(before), saved);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, "\r01CB:013B 设置心跳间隔时间----GPRS设置心跳间隔时间成功!\r");
    EXPECT_EQ(page["edtGprsHeartbeatInterval"].text, "60");  // read back
    const auto rows = db->Select("Select OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].second, set.frame);
}

TEST_F(GprsPageInLab, UntouchedPageOfASilentModuleSendsNothingOnSave) {
    auto sim = StartOneHost(R"("faults": [{"match": "01", "silent": true}])");
    window->PageChange(kGprsPage);
    const size_t before = sim->ReceivedFrames().size();
    ASSERT_EQ(before, 11u);
    EXPECT_EQ((*this)["edtGprsIP1"].text, "");
    op.boxes.clear();
    window->KeyDown(HostWindow::Key::F8);
    EXPECT_EQ(sim->ReceivedFrames(before), std::vector<std::string>{});
    // The unanswered refresh leaves the page unsavable, and F8 says why.
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, kSilentRefreshSaveText);
}

TEST_F(GprsPageInLab, FactoryResetRestoresTheModuleThenRestartsAfterAsking) {
    auto sim = StartOneHost(R"("gprs": {"heartbeat": 120})");
    window->PageChange(kGprsPage);
    (*this)["edtGprsHeartbeatInterval"].text = "300";
    window->Save();
    ASSERT_EQ((*this)["edtGprsHeartbeatInterval"].text, "300");

    const size_t before = sim->ReceivedFrames().size();
    op.boxes.clear();
    op.answers = {true, true};
    window->Page(kGprsPage).Controls().Click("bbtnDefaultSetGPRS");
    EXPECT_EQ(sim->ReceivedFrames(before),
              (std::vector<std::string>{Request(kGprsFactoryResetPair).frame,
                                        Request(kGprsRestartPair).frame}));
    ASSERT_EQ(op.boxes.size(), 4u);
    EXPECT_EQ(op.boxes[1].text, "GPRS恢复出厂默认值成功!");
    EXPECT_EQ(op.boxes[2].kind, "ask");
    EXPECT_EQ(op.boxes[3].text, "GPRS重新启动成功!");
    size_t seconds = 0;
    for (int p : op.pauses) seconds += p == 1000;
    EXPECT_EQ(seconds, 60u);

    window->Refresh();
    EXPECT_EQ((*this)["edtGprsHeartbeatInterval"].text, "120");
}

}  // namespace
}  // namespace tarnwick::testing

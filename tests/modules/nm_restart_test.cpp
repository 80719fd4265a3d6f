#include "modules/nm_restart.h"

#include <gtest/gtest.h>

#include "hosts/host_window.h"
#include "modules/nm_decoder.h"
#include "protocol/frame_codec.h"
#include "support/host_window_fixture.h"

namespace tarnwick {
namespace {

struct RestartFixture : testing::HostWindowFixture {
    void Answer(const std::string& command, const std::string& result) {
        f.client().responder = [command, result](const std::string&) {
            return std::vector<std::string>{testing::HostDatagram("02", command, result)};
        };
    }
    size_t Seconds() const {
        size_t n = 0;
        for (int p : f.op.pauses) n += p == 1000;
        return n;
    }
};

TEST(NetworkModuleRestart, AskedNoSendsNothing) {
    RestartFixture r;
    r.f.op.answers = {false};
    r.window.Page(0).Controls().Click("bbtnRebootNM");
    EXPECT_TRUE(r.f.client().sent.empty());
    EXPECT_EQ(r.f.op.boxes.at(0).text, "该操作会重新启动报警主机网管模块，请确认是否继续。");
}

TEST(NetworkModuleRestart, SuccessWaitsAMinuteThenReportsAndLogs) {
    RestartFixture r;
    r.Answer("0D", "01");
    r.window.Page(0).Controls().Click("bbtnRebootNM");
    EXPECT_EQ(r.f.client().sent.at(0).payload, "7E238201028D107E");
    EXPECT_EQ(r.Seconds(), 60u);
    EXPECT_EQ(r.f.op.boxes.back().text, "重新启动成功!");
    EXPECT_EQ(r.f.tdm->trace.Lines().at(0),
              std::string(kNmRestartPair) + "(7E238201028D107E): 重新启动成功!");
    auto rows = r.f.db->Select("Select OperationInfo, OperationResult From OperationLog");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1].second, "重新启动成功!");
    EXPECT_EQ(r.closed, 0);
}

TEST(NetworkModuleRestart, ALogThatCannotBeWrittenStillWaitsAndIsSaidBesideTheResult) {
    RestartFixture r;
    r.Answer("0D", "01");
    r.f.db->Execute("Drop Table OperationLog", {});
    r.window.Page(0).Controls().Click("bbtnRebootNM");
    EXPECT_EQ(r.Seconds(), 60u);
    const std::string& shown = r.f.op.boxes.back().text;
    EXPECT_EQ(shown.find("重新启动成功!\r操作日志无法写入："), 0u) << shown;
    EXPECT_EQ(r.f.op.boxes.size(), 2u);  // the question and the result, nothing more
}

TEST(NetworkModuleRestart, NoReplyShowsAnEmptyBoxWithoutWaiting) {
    RestartFixture r;
    r.window.Page(0).Controls().Click("bbtnRebootNM");
    EXPECT_EQ(r.Seconds(), 0u);
    EXPECT_EQ(r.f.op.boxes.back().kind, "information");
    EXPECT_EQ(r.f.op.boxes.back().text, "");
}

TEST(NetworkModuleFactoryReset, SuccessClosesTheWindowWithoutACountdown) {
    RestartFixture r;
    r.Answer("08", "01");
    r.window.Page(0).Controls().Click("bbtnDefaultSetNM");
    EXPECT_EQ(r.f.op.boxes.at(0).text, "该操作会将当前的网管信息恢复出厂默认值，请确认是否继续。");
    EXPECT_EQ(r.f.op.boxes.back().text, "恢复出厂默认值成功!");
    EXPECT_EQ(r.Seconds(), 0u);
    EXPECT_EQ(r.closed, 1);

    r.Answer("08", "02");
    r.window.Page(0).Controls().Click("bbtnDefaultSetNM");
    EXPECT_EQ(r.closed, 1);
}

}  // namespace
}  // namespace tarnwick

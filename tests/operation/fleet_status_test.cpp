#include "operation/fleet_status.h"

#include <gtest/gtest.h>

#include "protocol/frame_codec.h"

namespace tarnwick {
namespace {

// A working status reply as the host sends it: system status, mode, zone
// states 1-8 and 9-16, bypass 1-8 and 9-16, signal, each two hex digits.
std::string StatusReply(const std::string& bytes, const std::string& result = "01") {
    return BuildReplyFrame("12", "02", result + "91" + bytes);
}

TEST(FleetStatus, ReadsArmingAlarmZonesFaultsAndSignalInWords) {
    struct Case {
        std::string bytes;
        FleetStatus expected;
    };
    const Case cases[] = {
        // Mains, battery and line present, tamper closed: nothing wrong.
        {"13000000000017", {"撤防", {}, {}, 23}},
        // Zones 1 and 3 open, 3 bypassed; zone 16 open.
        {"13010580040000", {"离家布防", {1, 16}, {}, 0}},
        {"13020000000063", {"在家布防", {}, {}, 99}},
        // Every lamp wrong: line, battery and mains dark, tamper lit.
        {"04000000000005", {"撤防", {}, {"电话线", "防  拆", "电  池", "交流电"}, 5}},
        // Only the mains lost; the other bits (locked, linkage, sound) are no fault.
        {"F2000000000010", {"撤防", {}, {"交流电"}, 16}},
        {"13070000000000", {"未知(07)", {}, {}, 0}},
    };
    for (const Case& c : cases) {
        const StatusAnswer answer = ReadStatusAnswer(StatusReply(c.bytes));
        ASSERT_TRUE(answer.status) << c.bytes << ": " << answer.problem;
        EXPECT_EQ(*answer.status, c.expected) << c.bytes;
        EXPECT_EQ(answer.problem, "");
    }
}

TEST(FleetStatus, AnythingButAWholeStatusAnswerIsNoStatusAndSaysWhy) {
    std::string badChecksum = StatusReply("13000000000017");
    badChecksum[2] = badChecksum[2] == '0' ? '1' : '0';
    const std::pair<std::string, std::string> cases[] = {
        {"", "空数据报"},
        {"hello, world", "不是有效的应答帧"},
        {badChecksum, "不是有效的应答帧"},
        // The model reply is a good frame but no status.
        {BuildReplyFrame("12", "03", "019B03414243"), "不是工作状态应答(1203)"},
        {BuildReplyFrame("11", "01", "01080013000000000017"), "不是工作状态应答(1101)"},
        // A request frame (sender mark 82) does not come from a host.
        {BuildFrame("12", "02", "019113000000000017"), "非收来自终端的数据！"},
        {StatusReply("13000000000017", "02"), "状态查询失败!"},
        {StatusReply("13000000000017", "03"), "状态查询拒绝!"},
        {StatusReply("130000"), "工作状态应答不完整"},
    };
    for (const auto& [datagram, problem] : cases) {
        const StatusAnswer answer = ReadStatusAnswer(datagram);
        EXPECT_FALSE(answer.status) << datagram;
        EXPECT_EQ(answer.problem, problem) << datagram;
    }
}

TEST(FleetStatus, JoinsZonesAndNamesForOneLine) {
    EXPECT_EQ(JoinZones({1, 3, 12}), "1, 3, 12");
    EXPECT_EQ(JoinZones({}), "");
    EXPECT_EQ(JoinNames({"交流电", "电话线"}), "交流电、电话线");
}

}  // namespace
}  // namespace tarnwick

#include "operation/pairing_decoder.h"

#include <gtest/gtest.h>

#include "protocol/conversion_error.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::Reply;

constexpr const char* kNow = "2026-12-07 08:30:05";

TEST(PairingDecoder, WordsEachAnswerByCommandResultKindAndState) {
    struct Case {
        std::string cmd, data;  // bytes 7 to 10
        std::string text;       // after the time stamp
    };
    const Case cases[] = {
        {"01", "01AB0001", " 无线设备对码: [遥控器] 进入对码状态,可以进行对码操作。"},
        {"01", "01AB0100", " 无线设备对码: [探测器] 无线设备分地址不存在,请重新选择分地址。"},
        {"01", "01AB0202",
         " 无线设备对码: [巡更器] 此无线设备地址已经对码过,请删除此地址后再进行对码。"},
        // The state word follows whatever the result was.
        {"01", "02AB0101", " 无线设备对码:失败! 进入对码状态,可以进行对码操作。"},
        {"01", "03AB0102",
         " 无线设备对码:拒绝! 此无线设备地址已经对码过,请删除此地址后再进行对码。"},
        {"01", "07AB0109", " 无线设备对码:  返回值S[7]有误!"},
        {"01", "01AB0503", " 无线设备对码:"},
        {"02", "01AB0110", " 无线设备对码: [探测器], 删除无线设备地址成功。"},
        {"02", "01AB0211", " 无线设备对码: [巡更器], 删除无线设备地址失败。"},
        {"02", "01AB0001", " 无线设备对码: [遥控器]"},
        {"02", "02AB0110", " 无线设备对码:失败!"},
        {"02", "03AB0110", " 无线设备对码:拒绝!"},
        {"02", "00AB0110", " 无线设备对码:  返回值S[7]有误!"},
        {"03", "01AB0103", " 上报无线设备学习结果: [探测器], 此无线设备对码成功。"},
        {"03", "01AB0004",
         " 上报无线设备学习结果: [遥控器], 此无线设备对码重复,此无线设备已经学习过。"},
        {"03", "01AB0205", " 上报无线设备学习结果: [巡更器], 退出无线设备对码状态。"},
        {"03", "01AB0106",
         " 上报无线设备学习结果: [探测器], 超过4 分钟没对码,自动退出无线设备对码状态。"},
        {"03", "02AB0103", " 上报无线设备学习结果:失败!"},
        // A refused report has no word of its own.
        {"03", "03AB0103", " 上报无线设备学习结果:  返回值S[7]有误!"},
        // A reply too short for the kind and state bytes gives the head alone.
        {"03", "01AB", " 上报无线设备学习结果:"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodePairingReply(Reply("13", c.cmd, c.data), kNow).text, kNow + c.text)
            << c.cmd << " " << c.data;
}

TEST(PairingDecoder, GivesNothingForWhatIsNoPairingReply) {
    for (const auto& [cmd, data] : std::vector<std::pair<std::string, std::string>>{
             {"01", "01AC0101"}, {"04", "01AB0101"}, {"00", "01AB0101"}, {"01", "01"}, {"01", ""}})
        EXPECT_EQ(DecodePairingReply(Reply("13", cmd, data), kNow).text, "") << cmd << data;
    EXPECT_EQ(DecodePairingReply("", kNow).text, "");
}

TEST(PairingDecoder, ReportsBrokenFramesAndRaisesOnNonHexPairs) {
    std::string broken = Reply("13", "03", "01AB0103");
    broken[broken.size() - 4] = broken[broken.size() - 4] == '0' ? '1' : '0';
    EXPECT_EQ(DecodePairingReply(broken, kNow).text, broken + ":帧头/帧尾/校验和/校验码出错！");
    EXPECT_THROW(DecodePairingReply("7E0G", kNow), ConversionError);
}

}  // namespace
}  // namespace tarnwick

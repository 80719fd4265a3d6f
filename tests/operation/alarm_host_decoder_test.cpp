#include "operation/alarm_host_decoder.h"

#include <gtest/gtest.h>

#include "protocol/hex_text.h"
#include "support/decode_fixture.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::DecodeFixture;
using testing::Reply;

std::string Host(const std::string& cmd, const std::string& data) {
    return Reply("12", cmd, data);
}

// Result, number 12, marker, 03-15 10:30, operator 1, alarm code 2A, two more bytes.
const std::string kArming = "010C9203151030012A0000";

TEST(AlarmHostDecoder, WordsArmingRepliesAndKeepsOnlyASuccess) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {kArming, "12. 03月15日10时30分.外出布防[操作员1]成功!",
         "ArmingOperateInfo=" + kArming + "|"},
        // Numbers in decimal, time digits as sent; a code without a text adds nothing.
        {"01FF920C1F2359FF330000", "255. 0C月1F日23时59分.[操作员255]成功!",
         "ArmingOperateInfo=01FF920C1F2359FF330000|"},
        {"020C9203151030012A0000", "布撤防操作失败!", ""},
        {"0300920315", "布撤防操作拒绝!", ""},  // a refusal needs no time
        {"070C9203151030012A0000", "布撤防操作  返回值S[7]有误!", ""},
        {"010C9303151030012A0000", "", ""},  // byte 9 is not the arming marker
        {"010C9203151030012A00", "", ""},    // a success cut short tells nothing
    };
    for (const auto& [data, text, stored] : cases) {
        DecodeFixture f;
        f.alarmCodes.Set("2A", "外出布防");
        EXPECT_EQ(DecodeAlarmHostReply(Host("01", data), f.ctx).text, text) << data;
        EXPECT_EQ(f.Stored(), stored) << data;
    }
}

TEST(AlarmHostDecoder, StoresStatusModelAndHistory) {
    const std::string r1 = "0103151030012A00000001";
    const std::string r2 = "0203151031022B00000002";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"02", "01910A01038004021F",
         "SystemStatus=0A|KeepAwayMode=01|Defence1_8=03|Defence9_16=80|ByPass1_8=04|"
         "ByPass9_16=02|GPRSCSQ=31|"},
        {"02", "02910A01038004021F", ""},
        {"02", "01920A01038004021F", ""},
        {"02", "01910A0103800402", ""},  // signal byte missing
        {"03", "019B06" + TextToHex("AH-100"), "HostModel=AH-100|"},
        {"03", "019B06" + TextToHex("AH") + "0000" + TextToHex("V2"), "HostModel=AHV2|"},
        {"03", "019B04" + TextToHex("AH-100"), "HostModel=AH-1|"},  // the length decides
        {"03", "019B07" + TextToHex("AH-100"), ""},                 // longer than the reply
        {"03", "029B06" + TextToHex("AH-100"), ""},
        // Whole records only; the trailing 10 digits are dropped.
        {"06", "01" + r1 + r2 + "0405060708", "AlarmInfo1=" + r1 + "|AlarmInfo2=" + r2 + "|"},
        {"06", "02" + r1, ""},
        {"06", "01" + r1.substr(0, 20), ""},
    };
    for (const auto& [cmd, data, stored] : cases) {
        DecodeFixture f;
        EXPECT_EQ(DecodeAlarmHostReply(Host(cmd, data), f.ctx).text, "") << cmd << " " << data;
        EXPECT_EQ(f.Stored(), stored) << cmd << " " << data;
    }
}

TEST(AlarmHostDecoder, AFailedStatusKeepsThePreviousOne) {
    DecodeFixture f;
    DecodeAlarmHostReply(Host("02", "01910A0103800402FF"), f.ctx);
    DecodeAlarmHostReply(Host("02", "02910B00000000001F"), f.ctx);
    EXPECT_EQ(f.params.Get("SystemStatus"), "0A");
    EXPECT_EQ(f.params.Get("GPRSCSQ"), "255");
}

}  // namespace
}  // namespace tarnwick

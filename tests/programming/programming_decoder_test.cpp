#include "programming/programming_decoder.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/standard_decoders.h"
#include "protocol/conversion_error.h"
#include "protocol/decoder_registry.h"
#include "protocol/frame_codec.h"
#include "support/decode_fixture.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::Reply;

// A section read reply as the host sends it: marker 01, 99, section, body.
std::string SectionReply(const std::string& nn, const std::string& body) {
    return Reply("11", "01", "0199" + nn + body);
}

// The store's text for these Name=Value lines.
std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) out += std::string(line) + "\r\n";
    return out;
}

std::string Decoded(const std::string& reply) {
    DeviceParams params;
    EXPECT_EQ(DecodeProgrammingReply(reply, params).text, "");
    return params.Text();
}

TEST(ProgrammingDecoder, StoresInstallerAndUsersOfSection00) {
    EXPECT_EQ(Decoded(SectionReply("00", "123456011111022222033333060042")),
              Lines({"Prog00=123456011111022222033333060042", "Prog00_Installer=123456",
                     "Prog00_ArmingType1=01", "Prog00_UserCode1=1111", "Prog00_ArmingType2=02",
                     "Prog00_UserCode2=2222", "Prog00_ArmingType3=03", "Prog00_UserCode3=3333",
                     "Prog00_ArmingType4=06", "Prog00_UserCode4=0042"}));
}

TEST(ProgrammingDecoder, DecodesAlarmCallNumbersOfSections01And02) {
    // A terminated number, a bare 18-digit number, an erased field, an empty number.
    std::string calls1 = "12345E000000000000139001234567890123FFFFFFFFFFFFFFFFFFE00000000000000000";
    EXPECT_EQ(Decoded(SectionReply("01", calls1)),
              Lines({("Prog01=" + calls1).c_str(), "Prog01_AlarmCall1=12345",
                     "Prog01_AlarmCall2=139001234567890123"}));

    std::string calls2 = "110E000000000000008675309E000000000012A40000000000000002112345678E000000";
    EXPECT_EQ(Decoded(SectionReply("02", calls2 + "01234501")),
              Lines({("Prog02=" + calls2 + "01234501").c_str(), "Prog02_AlarmCall5=110",
                     "Prog02_AlarmCall6=8675309", "Prog02_AlarmCall8=02112345678",
                     "Prog02_AlarmCallType=01234501"}));
}

TEST(ProgrammingDecoder, StoresBothPartsOfSection03EachBeforeItsFields) {
    std::string first = "A1B2C30515203004020103";
    std::string second = "10000001110000101101111111110000000101010101";
    EXPECT_EQ(
        Decoded(SectionReply("03", first + second)),
        Lines({"Prog0301=A1B2C30515203004020103", "Prog03_UserAccount=A1B2C3", "Prog03_DileNum=05",
               "Prog03_RingNum=15", "Prog03_ArmingDelayTime=20", "Prog03_WarnInDelayTime=30",
               "Prog03_WarnOutputTime=04", "Prog03_WarnBuzzerTime=02", "Prog03_RelayOutputTime=01",
               "Prog03_ProgOutputTime=03", "Prog0302=10000001110000101101111111110000000101010101",
               "Prog03_RelayEvent=10000001", "Prog03_SystemControl1=110000",
               "Prog03_SystemControl2=101101", "Prog03_EventReport1=111111",
               "Prog03_EventReport2=1100000001", "Prog03_AlarmEvent=01010101"}));
}

TEST(ProgrammingDecoder, StoresWiredAndWirelessZonesWhole) {
    std::string wired = "1A2110102B1201013C911111901000000E2100008D321010";
    EXPECT_EQ(Decoded(SectionReply("04", wired)),
              Lines({("Prog04=" + wired).c_str(), "Prog04_1=1A211010", "Prog04_2=2B120101",
                     "Prog04_3=3C911111", "Prog04_4=90100000", "Prog04_5=0E210000",
                     "Prog04_6=8D321010"}));

    std::string wireless = "1A10002B01003C0010400001911111000000";
    EXPECT_EQ(Decoded(SectionReply("05", wireless)),
              Lines({("Prog05=" + wireless).c_str(), "Prog05_1=1A1000", "Prog05_2=2B0100",
                     "Prog05_3=3C0010", "Prog05_4=400001", "Prog05_5=911111", "Prog05_6=000000"}));
}

TEST(ProgrammingDecoder, ForcesTheSpareLastDigitOfWeekAndCrossZoneFields) {
    EXPECT_EQ(
        Decoded(SectionReply("06", "08301730111111111010100101012460246010101009000000111111")),
        Lines({"Prog06_1Time=08301730", "Prog06_1Week=11111110", "Prog06_1Wire=101010",
               "Prog06_1Wireless=010101", "Prog06_2Time=24602460", "Prog06_2Week=10101000",
               "Prog06_2Wire=000000", "Prog06_2Wireless=111111"}));

    // Prog0701 keeps the cross-zone fields exactly as sent; only their own keys are forced.
    std::string first = "11000000110001230123240102153907081217103502";
    std::string second = "11053410101010";
    EXPECT_EQ(
        Decoded(SectionReply("07", first + second)),
        Lines({("Prog0701=" + first).c_str(), "Prog07_InArmingToWireDefenceZone=110000",
               "Prog07_InArmingToWirelessDefenceZone=001100",
               "Prog07_WirelessAlarmAddress=01230123", "Prog07_TestReportInterval=24",
               "Prog07_WireCrossDefenceZone=01021530", "Prog07_WirelessCrossDefenceZone=07081210",
               "Prog07_RepeatInterval=10", "Prog07_RepeatTimes=35", "Prog07_SwitchDualNetwork=02",
               ("Prog0702=" + second).c_str(), "Prog07_NeighborDile=1105", "Prog07_DTMFTime=3",
               "Prog07_DTMFInterval=4", "Prog07_ProgOutputEvent=10101010"}));
}

TEST(ProgrammingDecoder, ShortReplyKeepsWhatCameButNeverItsCheckCode) {
    EXPECT_EQ(Decoded(SectionReply("04", "1A2110102B1201013C91")),
              Lines({"Prog04=1A2110102B1201013C91", "Prog04_1=1A211010", "Prog04_2=2B120101",
                     "Prog04_3=3C91"}));
    // A week field cut short has no last digit to force.
    EXPECT_EQ(Decoded(SectionReply("06", "083017301111")),
              Lines({"Prog06_1Time=08301730", "Prog06_1Week=1111"}));
    EXPECT_EQ(Decoded(SectionReply("01", "12345E")),
              Lines({"Prog01=12345E", "Prog01_AlarmCall1=12345"}));
    // Digits beyond the section's length are not part of any key.
    EXPECT_EQ(
        Decoded(SectionReply("05", std::string(36, '1') + "2222")),
        Lines({("Prog05=" + std::string(36, '1')).c_str(), "Prog05_1=111111", "Prog05_2=111111",
               "Prog05_3=111111", "Prog05_4=111111", "Prog05_5=111111", "Prog05_6=111111"}));
}

TEST(ProgrammingDecoder, WrongMarkersStoreNothing) {
    std::string body(48, '1');
    for (std::string data : {"0299" + std::string("04"), std::string("019804"),
                             std::string("019908"), std::string("0199FF"), std::string("0199")}) {
        DeviceParams params;
        EXPECT_EQ(DecodeProgrammingReply(Reply("11", "01", data + body), params).text, "") << data;
        EXPECT_EQ(params.Count(), 0u) << data;
    }
    // Markers without a section byte: the check code 05 is not read as section 05.
    DeviceParams params;
    params.Set("Prog05_1", "123456");
    ASSERT_TRUE(VerifyFrame("7E0B015811010199057E"));
    EXPECT_EQ(DecodeProgrammingReply("7E0B015811010199057E", params).text, "");
    EXPECT_EQ(params.Text(), Lines({"Prog05_1=123456"}));
}

TEST(ProgrammingDecoder, RejectsDamagedAndForeignFramesWithoutStoring) {
    DeviceParams params;
    std::string reply = SectionReply("00", "123456011111022222033333060042");
    std::string damaged = reply;
    damaged[20] = damaged[20] == '9' ? '8' : '9';
    EXPECT_EQ(DecodeProgrammingReply(damaged, params).text,
              damaged + ":帧头/帧尾/校验和/校验码出错！");

    // Our own request shape (sender mark 82) with correct sums.
    std::string foreign = NormalizeReceived(BuildFrame("11", "01", "019900123456"));
    ASSERT_TRUE(VerifyFrame(foreign));
    EXPECT_EQ(DecodeProgrammingReply(foreign, params).text, "非收来自终端的数据！");

    EXPECT_EQ(DecodeProgrammingReply("", params).text, "");
    EXPECT_EQ(DecodeProgrammingReply(Reply("11", "03", "01"), params).text, "");
    EXPECT_EQ(params.Count(), 0u);

    EXPECT_THROW(DecodeProgrammingReply("7E0G7E", params), ConversionError);
}

TEST(ProgrammingDecoder, WordsTheWriteAcknowledgement) {
    DeviceParams params;
    auto ack = [&](const std::string& data) {
        return DecodeProgrammingReply(Reply("11", "02", data), params).text;
    };
    EXPECT_EQ(ack("01"), "编程报警主机成功!");
    EXPECT_EQ(ack("02"), "编程报警主机失败!");
    EXPECT_EQ(ack("03"), "编程报警主机拒绝!");
    EXPECT_EQ(ack("05"), "编程报警主机  返回值S[7]有误!");
    EXPECT_EQ(ack("00"), "编程报警主机  返回值S[7]有误!");
    // No result byte: the check code (01 here) is not taken for one.
    ASSERT_TRUE(VerifyFrame("7E83016E1102017E"));
    EXPECT_EQ(DecodeProgrammingReply("7E83016E1102017E", params).text,
              "编程报警主机  返回值S[7]有误!");
    EXPECT_EQ(params.Count(), 0u);
}

TEST(ProgrammingDecoder, IsTheRegisteredDecoderOfClass11) {
    DecoderRegistry registry;
    RegisterStandardDecoders(registry);
    const ReplyDecoder* decoder = registry.Find("11");
    ASSERT_NE(decoder, nullptr);

    testing::DecodeFixture f;
    EXPECT_EQ((*decoder)(SectionReply("00", "123456011111022222033333060042"), f.ctx).text, "");
    EXPECT_EQ(f.params.Get("prog00_installer"), "123456");
    EXPECT_EQ((*decoder)(Reply("11", "02", "01"), f.ctx).text, "编程报警主机成功!");
}

}  // namespace
}  // namespace tarnwick

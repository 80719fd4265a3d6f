#include "protocol/frame_codec.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/recording_operator.h"

namespace tarnwick {
namespace {

TEST(HexChecksum, FoldsTheCarryBackIntoTheSum) {
    EXPECT_EQ(HexChecksum("820102D75A"), "B7");
    EXPECT_EQ(HexChecksum("FF01"), "01");
    EXPECT_EQ(HexChecksum("FFFF"), "FF");
    EXPECT_EQ(HexChecksum(""), "00");
    EXPECT_EQ(HexChecksum("8201118108001B"), "39");
}

TEST(HexChecksum, OddDigitCountTellsTheOperatorAndYieldsNothing) {
    testing::RecordingOperator op;
    EXPECT_EQ(HexChecksum("ABC", &op), "");
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].text, "你输入的十六进制数个数有错，不能是奇数个，请重输入！");
    EXPECT_EQ(HexCheckCode("ABC", &op), "7F");
    EXPECT_EQ(op.boxes.size(), 2u);
}

TEST(HexCheckCode, KeepsSevenBitsAndNeverGivesZero) {
    EXPECT_EQ(HexCheckCode("80"), "7F");
    EXPECT_EQ(HexCheckCode("0102D7"), "5A");
    EXPECT_EQ(HexCheckCode("01"), "01");
}

TEST(Escaping, EscapesDelimiterLikeBytesAndRestoresThem) {
    EXPECT_EQ(EscapeFrameBody("017E7D02"), "017D027D0102");
    EXPECT_EQ(EscapeFrameBody("7E5"), "7D025");
    EXPECT_EQ(UnescapeFrame("7E7D037E"), "7E7D037E");
    EXPECT_EQ(UnescapeFrame("7D027D01"), "7E7D");
    EXPECT_EQ(UnescapeFrame("7D"), "7D");
    EXPECT_EQ(UnescapeFrame("7D027"), "7E7");
    for (std::string body : {"7E7D7E", "007D01", "7D7D02", ""})
        EXPECT_EQ(UnescapeFrame(EscapeFrameBody(body)), body) << body;
}

TEST(BuildFrame, BuildsTheWorkedExamples) {
    EXPECT_EQ(BuildFrame("02", "D7"), "7EB7820102D75A7E");
    EXPECT_EQ(BuildFrame("11", "81", "0800"),
              "7E39820111810800"
              "1B7E");
    EXPECT_EQ(BuildFrame("12", "82", "06F2"), "7E1F8201128206F20E7E");
    EXPECT_EQ(BuildFrame("02", "DB", "7E"), "7E3D820102DB7D025D7E");
    EXPECT_EQ(BuildFrame("11", "81", "0806"), "7E45820111810806217E");
    EXPECT_EQ(BuildFrame("02", "8D"), "7E238201028D107E");
}

TEST(BuildFrame, EscapesAChecksumThatLooksLikeADelimiter) {
    // Search for data whose check code or checksum is 7E or 7D and check that
    // the built frame escapes it and still verifies after unescaping.
    int escapedSums = 0;
    for (int value = 0; value < 256; ++value) {
        char data[3];
        std::snprintf(data, sizeof data, "%02X", value);
        std::string frame = BuildFrame("11", "82", data);
        std::string plain = UnescapeFrame(frame);
        EXPECT_TRUE(VerifyFrame(plain)) << frame;
        std::string sum = plain.substr(2, 2);
        std::string code = plain.substr(plain.size() - 4, 2);
        if (sum == "7E" || sum == "7D" || code == "7E" || code == "7D") {
            ++escapedSums;
            EXPECT_NE(frame.substr(2, frame.size() - 4).find("7D0"), std::string::npos) << frame;
        }
    }
    EXPECT_GT(escapedSums, 0);
}

TEST(BuildReplyFrame, SwapsTheMarksAndSealsEveryByteValueAsARequestIs) {
    // A host's reply to the module-1 restart: 01 first, 82 in the check code.
    const std::string restart = UnescapeFrame(BuildReplyFrame("02", "0D", "01"));
    EXPECT_EQ(restart.substr(4, 10), "0182020D01");
    EXPECT_TRUE(VerifyFrame(restart));
    for (unsigned value = 0; value < 256; ++value) {
        char data[4];
        std::snprintf(data, sizeof data, "%02X", value);
        const std::string frame = BuildReplyFrame("11", "02", data);
        const std::string plain = NormalizeReceived(frame);
        EXPECT_TRUE(VerifyFrame(plain)) << frame;
        EXPECT_EQ(plain.substr(4, 8), "01821102") << frame;
        EXPECT_EQ(plain.substr(12, 2), data) << frame;
    }
}

TEST(VerifyFrame, ChecksDelimitersLengthAndBothSums) {
    EXPECT_TRUE(VerifyFrame("7EB7820102D75A7E"));
    EXPECT_TRUE(VerifyFrame("7eb7820102D75a7e"));  // lower-case sums and delimiters
    EXPECT_FALSE(VerifyFrame(""));
    EXPECT_FALSE(VerifyFrame("   "));
    EXPECT_FALSE(VerifyFrame("7E"));
    EXPECT_FALSE(VerifyFrame("7E7E"));
    EXPECT_FALSE(VerifyFrame("7EB7820102D75A7"));   // odd
    EXPECT_FALSE(VerifyFrame("7FB7820102D75A7E"));  // head
    EXPECT_FALSE(VerifyFrame("7EB7820102D75A7F"));  // tail
    EXPECT_FALSE(VerifyFrame("7EB6820102D75A7E"));  // checksum
    EXPECT_FALSE(VerifyFrame("7EB7820102D75B7E"));  // check code (and so the checksum)
    EXPECT_FALSE(VerifyFrame("7E0282"));
    EXPECT_FALSE(VerifyFrame("7EZZ7E"));
}

TEST(VerifyFrame, RefusesAWrongCheckCodeUnderARightChecksum) {
    // The checksum is made over the wrong check code, so only the check code fails.
    const std::string good = "820102D7" + HexCheckCode("0102D7");
    std::string bad = good;
    bad.back() = bad.back() == '0' ? '1' : '0';
    ASSERT_TRUE(VerifyFrame("7E" + HexChecksum(good) + good + "7E"));
    EXPECT_FALSE(VerifyFrame("7E" + HexChecksum(bad) + bad + "7E"));
}

TEST(NormalizeReceived, UpperCasesBeforeUnescaping) {
    EXPECT_EQ(NormalizeReceived("7e3d820102db7d025d7e"), "7E3D820102DB7E5D7E");
}

}  // namespace
}  // namespace tarnwick

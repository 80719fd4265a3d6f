#include "protocol/hex_text.h"

#include <gtest/gtest.h>

#include "protocol/conversion_error.h"
#include "protocol/gbk.h"

namespace tarnwick {
namespace {

TEST(TextFields, FillWithZeroBytesAndReadBackWithoutThem) {
    EXPECT_EQ(TextToHexField("AB", 4), "41420000");
    EXPECT_EQ(TextToHexField("", 3), "000000");
    EXPECT_EQ(TextToHexField("12345678901234567890", 15), HexFromBytes("123456789012345"));
    EXPECT_EQ(TextToHexField("报警", 5), "B1A8BEAF00");
    EXPECT_EQ(HexToText("3139320031"), "1921");
    EXPECT_EQ(HexToText("313"), "1");
    EXPECT_EQ(HexToText(TextToHexField("192.168.1.10", 15)), "192.168.1.10");
    EXPECT_EQ(HexToText("B1A8BEAFD6F7BBFA"), "报警主机");
}

TEST(TextFields, InvalidGbkBecomesReplacementCharacters) {
    std::string text = HexToText("41FF42");
    EXPECT_EQ(text,
              "A\xEF\xBF\xBD"
              "B");
    EXPECT_EQ(HexToText("B1"), "\xEF\xBF\xBD");  // a lead byte cut off at the end
    EXPECT_NO_THROW(HexToText("ZZ80FE"));
}

TEST(Numbers, ReadAndWriteAsTheFieldsCarryThem) {
    EXPECT_EQ(ZeroPadLeft("123", 6), "000123");
    EXPECT_EQ(ZeroPadLeft("123", 2), "123");
    EXPECT_EQ(HexToInt(" 1f "), 31);
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexToInt("1G"), 16);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(IntToBitText(5, 8), "00000101");
    EXPECT_EQ(IntToBitText(0x1FF, 8), "11111111");
    EXPECT_EQ(FlagDigit(true), "1");
    EXPECT_EQ(FlagDigit(false), "0");
}

TEST(Bits, ListNumbersAndPackDigits) {
    EXPECT_EQ(BitNumberList("05", 1), "1,3,");
    EXPECT_EQ(BitNumberList("00", 1), "");
    EXPECT_EQ(BitNumberList("80", 9), "16,");
    EXPECT_EQ(BitTextToHex("00000101", 2), "05");
    EXPECT_EQ(BitTextToHex("1", 4), "0001");
    EXPECT_EQ(BitTextToHex("11111111", 2), "FF");
    EXPECT_THROW(BitTextToHex("01x1", 2), ConversionError);
}

TEST(IsValidIPv4, AcceptsExactlyFourDecimalPiecesUpTo255) {
    for (const char* good : {"192.168.1.10", "0.0.0.0", "255.255.255.255", "010.1.1.1"})
        EXPECT_TRUE(IsValidIPv4(good)) << good;
    for (const char* bad :
         {"192.168.1.256", "192.168.1", "1.2.3.4.5", "a.b.c.d", " 1.2.3.4", "1.2.3.-4", "",
          "192.168..1.10", "1..2.3.4", "-0.1.2.3", "+1.2.3.4", "1.2.3.4\n", "1.2.3.4\r\n",
          "1.2.3.4.", ".1.2.3.4", "1.2.3.0004", "1.2.3.4 "})
        EXPECT_FALSE(IsValidIPv4(bad)) << bad;
}

TEST(TextToHexField, CutsLongTextToItsWidthWithoutSplittingACharacter) {
    // "报警主机" is four two-byte characters; five bytes hold two of them.
    EXPECT_EQ(TextToHexField("报警主机", 5), "B1A8BEAF00");
    EXPECT_EQ(TextToHexField("报警主机", 4), "B1A8BEAF");
    EXPECT_EQ(TextToHexField("A报警", 2), "4100");
    EXPECT_EQ(TextToHexField("A报警", 3), "41B1A8");
    // The next field starts where it should whatever the text's length.
    std::string frame = TextToHexField("1234567890123456", 15) + TextToHexField("80", 5);
    EXPECT_EQ(frame.size(), 40u);
    EXPECT_EQ(HexToText(frame.substr(30)), "80");
}

TEST(Utf8ToGbk, ReplacesEachCharacterGbkCannotHoldWithOneQuestionMark) {
    // U+1F600 (four UTF-8 bytes) and U+0E01 (Thai, three bytes) have no GBK code.
    EXPECT_EQ(Utf8ToGbk("A\xF0\x9F\x98\x80"
                        "B"),
              "A?B");
    EXPECT_EQ(Utf8ToGbk("\xE0\xB8\x81\xE0\xB8\x81"), "??");
    EXPECT_EQ(Utf8ToGbk("报\xF0\x9F\x98\x80"), "\xB1\xA8?");
    EXPECT_EQ(GbkToUtf8("\xB1\xA8"), "报");
}

TEST(ResultText, MapsOneAndTwoAndWordsTheRest) {
    EXPECT_EQ(ResultText(1), "成功!");
    EXPECT_EQ(ResultText(2), "失败!");
    EXPECT_EQ(ResultText(3), " 返回值S[7]有误!");
    EXPECT_EQ(ResultText(0), " 返回值S[7]有误!");
}

TEST(DecimalValue, TakesOnlyARunOfUpToNineDigits) {
    EXPECT_EQ(DecimalValue("0042"), 42);
    EXPECT_EQ(DecimalValue("999999999"), 999999999);
    for (const char* bad : {"", "1234567890", "12a", " 1", "-1", "1.5"})
        EXPECT_EQ(DecimalValue(bad), std::nullopt) << bad;
}

TEST(CaptionWithoutColon, DropsOnlyTheClosingColonOfEitherWidth) {
    EXPECT_EQ(CaptionWithoutColon("本地IP地址："), "本地IP地址");
    EXPECT_EQ(CaptionWithoutColon("网络管理:"), "网络管理");
    EXPECT_EQ(CaptionWithoutColon("有线交叉防区逻辑 防区1：:"), "有线交叉防区逻辑 防区1");
    EXPECT_EQ(CaptionWithoutColon("时间：分钟"), "时间：分钟");
    EXPECT_EQ(CaptionWithoutColon("："), "");
}

TEST(BytesFromHex, RejectsNonHexPairs) {
    EXPECT_EQ(BytesFromHex("7E01"), std::string("\x7E\x01", 2));
    EXPECT_THROW(BytesFromHex("7G"), ConversionError);
    EXPECT_EQ(Slice("abcdef", 2, 4), "bcd");
    EXPECT_EQ(Slice("abc", 2, 10), "bc");
    EXPECT_EQ(Slice("abc", 5, 10), "");
}

}  // namespace
}  // namespace tarnwick

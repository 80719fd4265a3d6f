#include "programming/programming_layout.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "programming/programming_decoder.h"
#include "protocol/conversion_error.h"
#include "support/reply_builder.h"
#include "support/section_reads.h"

namespace tarnwick {
namespace {

using testing::Reply;

TEST(PhoneNumber, EncodesTerminatorAndFill) {
    EXPECT_EQ(EncodePhoneNumber("12345"), "12345E000000000000");
    EXPECT_EQ(EncodePhoneNumber(""), "E00000000000000000");
    EXPECT_EQ(EncodePhoneNumber("12345678901234567"), "12345678901234567E");
    EXPECT_EQ(EncodePhoneNumber("123456789012345678"), "123456789012345678");
}

TEST(PhoneNumber, DecodesNumbersAndTreatsErasedFieldsAsEmpty) {
    EXPECT_EQ(DecodePhoneNumber("12345E000000000000"), "12345");
    EXPECT_EQ(DecodePhoneNumber("123456789012345678"), "123456789012345678");
    EXPECT_EQ(DecodePhoneNumber(std::string(18, 'F')), "");
    EXPECT_EQ(DecodePhoneNumber("1234567890123456A8"), "");
    EXPECT_EQ(DecodePhoneNumber("E00000000000000000"), "");
    // A field cut short by a short reply is no number, however many digits remain.
    EXPECT_EQ(DecodePhoneNumber("12345678901234567"), "");
    EXPECT_EQ(DecodePhoneNumber("1390"), "");
    EXPECT_EQ(DecodePhoneNumber(""), "");
    for (std::string number = ""; number.size() <= 18; number += char('0' + number.size() % 10))
        EXPECT_EQ(DecodePhoneNumber(EncodePhoneNumber(number)), number) << number;
}

TEST(SectionLayouts, StoredKeysAssembleBackIntoTheBodyRead) {
    for (int s = 0; s < kProgrammingSectionCount; ++s) {
        std::string body = testing::kSampleBodies[s];
        ASSERT_EQ(body.size(), ProgrammingSection(s).bodyDigits) << "section " << s;
        DeviceParams params;
        ASSERT_EQ(
            DecodeProgrammingReply(Reply("11", "01", "0199" + SectionCode(s) + body), params).text,
            "");
        EXPECT_EQ(StoredSectionBody(params, s), body) << "section " << s;
        std::string assembled = AssembleSectionBody(s, [&](const SectionField& f) {
            std::string value = params.Get(std::string(f.key));
            return f.kind == FieldKind::PhoneNumber ? EncodePhoneNumber(value) : value;
        });
        EXPECT_EQ(assembled, body) << "section " << s;
    }
    EXPECT_THROW(ProgrammingSection(kProgrammingSectionCount), std::out_of_range);
}

TEST(SectionLayouts, ComparisonTextOfSection06IsTheForcedGroupFields) {
    DeviceParams params;
    EXPECT_EQ(StoredSectionBody(params, 6), "");
    std::string sent = "08301730111111111010100101012460246010101009000000111111";
    DecodeProgrammingReply(Reply("11", "01", "019906" + sent), params);
    EXPECT_EQ(StoredSectionBody(params, 6), testing::kSampleBodies[6]);
}

TEST(SectionLayouts, AssemblyRefusesAFieldOfTheWrongWidth) {
    try {
        AssembleSectionBody(0, [](const SectionField& f) {
            return f.key == "Prog00_UserCode2" ? std::string("42") : std::string(f.width, '0');
        });
        FAIL() << "a two-digit user code must not form a body";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Prog00_UserCode2"), std::string::npos);
    }
}

}  // namespace
}  // namespace tarnwick

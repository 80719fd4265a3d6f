#include "programming/programming_requests.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

TEST(SectionRequests, ReadFramesAndLabels) {
    CommandEntry read06 = ReadSectionRequest(6);
    EXPECT_EQ(read06.pair, std::string(kReadSectionPair) + "06");
    EXPECT_EQ(read06.frame, "7E45820111810806217E");
    CommandEntry read00 = ReadSectionRequest(0);
    EXPECT_EQ(read00.pair, std::string(kReadSectionPair) + "00");
    EXPECT_EQ(read00.frame, "7E398201118108001B7E");
    EXPECT_THROW(ReadSectionRequest(8), std::out_of_range);
    EXPECT_THROW(ReadSectionRequest(-1), std::out_of_range);
}

TEST(SectionRequests, WriteCarriesTheWholeBody) {
    std::string zones;
    for (int z = 0; z < 6; ++z) zones += "1A211010";
    CommandEntry write04 = WriteSectionRequest(4, zones);
    EXPECT_EQ(write04.pair, std::string(kWriteSectionPair) + "04");
    EXPECT_EQ(write04.frame,
              "7E8D8201118209"
              "04" +
                  zones + "457E");
    // Digits typed in lower case go out as upper case, the same frame.
    EXPECT_EQ(WriteSectionRequest(4, "1a211010" + zones.substr(8)).frame, write04.frame);

    // Body bytes that look like delimiters are escaped and come back intact.
    std::string body = "7E7D" + std::string(32, '0');
    std::string sent = UnescapeFrame(WriteSectionRequest(5, body).frame);
    EXPECT_TRUE(VerifyFrame(sent));
    EXPECT_EQ(Slice(sent, 17, 52), body);  // after 09 and the section number
}

TEST(SectionRequests, RefusesABodyThatDoesNotFitTheSection) {
    EXPECT_THROW(WriteSectionRequest(4, std::string(46, '0')), ConversionError);
    EXPECT_THROW(WriteSectionRequest(4, std::string(50, '0')), ConversionError);
    EXPECT_THROW(WriteSectionRequest(0, std::string(29, '0') + "G"), ConversionError);
    EXPECT_THROW(WriteSectionRequest(0, ""), ConversionError);
    EXPECT_THROW(WriteSectionRequest(8, ""), std::out_of_range);
    EXPECT_NO_THROW(WriteSectionRequest(7, std::string(58, '0')));
}

}  // namespace
}  // namespace tarnwick

#include "protocol/reply_prologue.h"

#include <gtest/gtest.h>

#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::Reply;

TEST(ReplyPrologue, SortsRepliesIntoTheCommonOutcomes) {
    EXPECT_FALSE(RunReplyPrologue("").bytes);
    EXPECT_EQ(RunReplyPrologue("").result.text, "");

    std::string bad = "7E00820102D75A7E";
    EXPECT_EQ(RunReplyPrologue(bad).result.text, bad + ":帧头/帧尾/校验和/校验码出错！");

    std::string request = BuildFrame("11", "81", "0800");
    EXPECT_EQ(RunReplyPrologue(request).result.text, "非收来自终端的数据！");

    Prologue ok = RunReplyPrologue(Reply("11", "02", "01"));
    ASSERT_TRUE(ok.bytes);
    EXPECT_EQ(ok.result.text, "");
    EXPECT_EQ(ok.bytes->At(5), 0x11u);
    EXPECT_EQ(ok.bytes->At(7), 0x01u);
    EXPECT_FALSE(ok.bytes->Has(20));
    EXPECT_EQ(ok.bytes->At(20), 0u);

    EXPECT_THROW(RunReplyPrologue("7EXX7E"), ConversionError);
}

}  // namespace
}  // namespace tarnwick

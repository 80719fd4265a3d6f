#include "operation/control_decoder.h"

#include <gtest/gtest.h>

#include "support/decode_fixture.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::DecodeFixture;
using testing::Reply;

TEST(ControlDecoder, NamesTheEchoedOperationAndItsResult) {
    struct Case {
        std::string data, text;  // bytes 7, 8 and 9
    };
    const Case cases[] = {
        {"019A09", "对报警主机复位成功!"},
        {"029A05", "联动开启失败!"},
        {"039A06", "联动关闭拒绝!"},
        {"019A07", "报警声开启成功!"},
        {"019A08", "报警声关闭成功!"},
        {"059A0A", "消除报警记忆  返回值S[7]有误!"},
        {"009A0B", "辅助电源复位  返回值S[7]有误!"},
        {"019A0C", "返回值S[9]有误成功!"},
        {"019A04", "返回值S[9]有误成功!"},
        // Not a remote control answer: the exchange shows the reply itself.
        {"019B09", ""},
        {"019A", ""},
        {"01", ""},
    };
    for (const Case& c : cases) {
        DecodeFixture f;
        EXPECT_EQ(DecodeControlReply(Reply("10", "01", c.data), f.ctx).text, c.text) << c.data;
        EXPECT_EQ(f.params.Count(), 0u);
    }
    DecodeFixture f;
    EXPECT_EQ(DecodeControlReply(Reply("10", "02", "019A09"), f.ctx).text, "");
}

}  // namespace
}  // namespace tarnwick

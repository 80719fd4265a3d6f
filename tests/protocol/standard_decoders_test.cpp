#include "app/standard_decoders.h"

#include <gtest/gtest.h>

#include "protocol/conversion_error.h"
#include "protocol/decoder_registry.h"
#include "protocol/frame_codec.h"
#include "support/decode_fixture.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::DecodeFixture;
using testing::Reply;

// Each module class reaches its own decoder: the same restart answer is
// worded by the module it came from. Every answer to a setting or an action
// is an outcome carrying the host's result code, which alone tells success:
// the phone group answer's 00 is a success, a 01 in a word's place is not.
TEST(StandardDecoders, DispatchEachModuleClassToItsDecoder) {
    DecoderRegistry registry;
    RegisterStandardDecoders(registry);
    struct Case {
        std::string cls, cmd, data;
        unsigned resultByte;
        std::string text;
    };
    const Case cases[] = {
        {"01", "0D", "01", 1, "GPRS重新启动成功!"},
        {"01", "02", "00", 1, "GPRS设置电话号码组成功!"},
        {"01", "02", "01", 2, "GPRS设置电话号码组失败!"},
        {"01", "04", "0102", 2, "失败!"},  // byte 8 decides
        {"02", "0D", "01", 1, "重新启动成功!"},
        {"02", "3B", "01", 1, "设置心跳间隔时间成功! 该操作需要重新启动网管主机才能生效。"},
        {"10", "01", "019A09", 1, "对报警主机复位成功!"},
        {"10", "01", "039A06", 3, "联动关闭拒绝!"},
        {"11", "02", "07", 7, "编程报警主机  返回值S[7]有误!"},
        {"12", "01", "020C92", 2, "布撤防操作失败!"},
        // No clock in the fixture: the pairing text starts without a time.
        {"13", "02", "01AB0110", 1, " 无线设备对码: [探测器], 删除无线设备地址成功。"},
        {"13", "03", "02AB0103", 2, " 上报无线设备学习结果:失败!"},
    };
    for (const Case& c : cases) {
        const ReplyDecoder* decoder = registry.Find(c.cls);
        ASSERT_NE(decoder, nullptr) << c.cls;
        DecodeFixture f;
        const ReplyResult r = (*decoder)(Reply(c.cls, c.cmd, c.data), f.ctx);
        EXPECT_EQ(r.text, c.text) << c.cls << c.cmd << c.data;
        EXPECT_EQ(r.kind, ReplyKind::Outcome) << c.cls << c.cmd << c.data;
        EXPECT_EQ(r.resultByte, c.resultByte) << c.cls << c.cmd << c.data;
        EXPECT_EQ(r.Succeeded(), c.resultByte == kHostSucceeded) << c.cls << c.cmd << c.data;
    }
    EXPECT_EQ(registry.Find("03"), nullptr);
}

// The common first steps hold for every decoder, and none of them stores
// anything for a frame it refuses.
TEST(StandardDecoders, RefuseBrokenAndForeignFramesAlike) {
    DecoderRegistry registry;
    RegisterStandardDecoders(registry);
    for (const std::string cls : {"01", "02", "10", "12", "13"}) {
        const ReplyDecoder& decode = *registry.Find(cls);
        DecodeFixture f;
        std::string reply = Reply(cls, "01", "019A09");
        std::string broken = reply;
        broken[broken.size() - 4] = broken[broken.size() - 4] == '1' ? '2' : '1';  // check code
        const ReplyResult bad = decode(broken, f.ctx);
        EXPECT_EQ(bad.kind, ReplyKind::BadFrame) << cls;
        EXPECT_EQ(bad.text, broken + ":帧头/帧尾/校验和/校验码出错！") << cls;
        const ReplyResult foreign = decode(BuildFrame(cls, "81", "019A09"), f.ctx);
        EXPECT_EQ(foreign.kind, ReplyKind::ForeignSender) << cls;
        EXPECT_EQ(foreign.text, "非收来自终端的数据！") << cls;
        EXPECT_FALSE(bad.Succeeded() || foreign.Succeeded()) << cls;
        EXPECT_EQ(decode("", f.ctx).text, "") << cls;
        EXPECT_THROW(decode("7E0G0182" + cls + "017E", f.ctx), ConversionError) << cls;
        EXPECT_EQ(f.params.Count(), 0u) << cls;
    }
}

// A reply that ends right after its command has no result byte: the check
// code is never taken for one.
TEST(StandardDecoders, ReadNoResultFromTheCheckCode) {
    DecoderRegistry registry;
    RegisterStandardDecoders(registry);
    const std::pair<std::string, std::string> cases[] = {{"01", "0D"}, {"01", "02"}, {"01", "3E"},
                                                         {"02", "3B"}, {"02", "3F"}, {"10", "01"},
                                                         {"12", "01"}, {"12", "02"}, {"12", "06"}};
    for (const auto& [cls, cmd] : cases) {
        DecodeFixture f;
        f.session.SetCurrentHost("10.0.0.5");
        f.session.localIpText = [] { return "10.0.0.9"; };
        const ReplyResult r = (*registry.Find(cls))(Reply(cls, cmd, ""), f.ctx);
        EXPECT_EQ(r.kind, ReplyKind::Data) << cls << cmd;
        EXPECT_FALSE(r.resultByte) << cls << cmd;
        EXPECT_EQ(r.text, "") << cls << cmd;
        EXPECT_EQ(f.Stored(), cls == "02" ? "NMReboot=0|" : "") << cls << cmd;
        EXPECT_EQ(f.session.CurrentHost(), "10.0.0.5");
    }
}

}  // namespace
}  // namespace tarnwick

#include "modules/nm_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/command_entry.h"
#include "protocol/hex_text.h"
#include "support/decode_fixture.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::DecodeFixture;
using testing::Reply;

std::string Nm(const std::string& cmd, const std::string& data) {
    return Reply("02", cmd, data);
}

std::string Text(const std::string& text, size_t width) {
    return TextToHexField(text, width);
}

const std::string kDns1 = "31302E302E302E31" + std::string(14, '0');  // 10.0.0.1, raw
const std::string kLocal = "01" + Text("192.168.1.10", 15) + Text("255.255.255.0", 15) +
                           Text("192.168.1.1", 15) + kDns1 + Text("", 15);

TEST(NmDecoder, WordsSettingRepliesAndMarksTheOnesNeedingARestart) {
    const std::string restart = " 该操作需要重新启动网管主机才能生效。";
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"01", "01", "系统时间校准成功!", "0"},
        {"03", "02", "配置终端标识号失败!", "0"},
        {"08", "01", "恢复出厂默认值成功!", "0"},
        {"0A", "01", "设置第1中心服务器域名成功!", "0"},
        {"3A", "07", "设置第2中心服务器域名 返回值S[7]有误!", "0"},
        {"0D", "01", "重新启动成功!", "0"},
        {"04", "0001", "配置中心IP地址成功!", "0"},  // byte 8 decides
        {"04", "0102", "配置中心IP地址失败!", "0"},
        {"3B", "01", "设置心跳间隔时间成功!" + restart, "1"},
        {"3B", "02", "设置心跳间隔时间失败!", "0"},
        {"0E", "01", "设置网络管理成功!" + restart, "1"},
        {"0E", "03", "设置网络管理 返回值S[7]有误!", "0"},
        {"3B", "", "", "0"},  // no result byte: the check code is not one
        {"77", "01", "", "0"},
    };
    for (const auto& [cmd, data, text, reboot] : cases) {
        DecodeFixture f;
        EXPECT_EQ(DecodeNmReply(Nm(cmd, data), f.ctx).text, text) << cmd << " " << data;
        EXPECT_EQ(f.Stored(), "NMReboot=" + reboot + "|") << cmd << " " << data;
    }
}

TEST(NmDecoder, TheRestartMarkDescribesTheLastReplySeen) {
    DecodeFixture f;
    DecodeNmReply(Nm("3B", "01"), f.ctx);
    // A frame error or a foreign sender leaves the mark alone.
    std::string broken = Nm("3F", "01");
    broken[3] = broken[3] == '0' ? '1' : '0';
    EXPECT_EQ(DecodeNmReply(broken, f.ctx).text, broken + ":帧头/帧尾/校验和/校验码出错！");
    EXPECT_EQ(DecodeNmReply(Request(kNmRestartPair).frame, f.ctx).text, "非收来自终端的数据！");
    EXPECT_EQ(f.params.Get("NMReboot"), "1");
    // Any later reply of the module clears it, even a failed query.
    DecodeNmReply(Nm("0C", "02"), f.ctx);
    EXPECT_EQ(f.params.Get("NMReboot"), "0");
}

TEST(NmDecoder, SuccessfulLocalSettingMovesTheHostToTheLocalIpEdit) {
    DecodeFixture f;
    f.session.SetCurrentHost("192.168.1.10");
    std::vector<std::string> moves;
    f.session.localIpText = [] { return " 192.168.1.77 "; };
    f.session.onMovedByModule = [&](const std::string& host) { moves.push_back(host); };

    EXPECT_EQ(DecodeNmReply(Nm("3F", "02"), f.ctx).text, "设置设备本地网络参数失败!");
    EXPECT_EQ(f.session.CurrentHost(), "192.168.1.10");
    EXPECT_TRUE(moves.empty());

    EXPECT_EQ(DecodeNmReply(Nm("3F", "01"), f.ctx).text,
              "设置设备本地网络参数成功! 主机正在重启中,请退到主机搜索界面，并重新搜索...");
    EXPECT_EQ(f.session.CurrentHost(), "192.168.1.77");
    EXPECT_EQ(moves, std::vector<std::string>{"192.168.1.77"});

    // Without a host window there is no edit to read: the host stays put.
    DecodeFixture bare;
    bare.session.SetCurrentHost("10.0.0.5");
    DecodeNmReply(Nm("3F", "01"), bare.ctx);
    EXPECT_EQ(bare.session.CurrentHost(), "10.0.0.5");
}

TEST(NmDecoder, StoresWhatQueryRepliesCarryWithoutTheApnFields) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"0C",
         "01" + Text("654321", 20) + Text("CMNET", 15) + Text("10.1.2.3", 15) + Text("7001", 5) +
             Text("centre.example.net", 50),
         "NMDeviceID=654321|NMIP1=10.1.2.3|NMPort1=7001|NMDomainName1=centre.example.net|"},
        {"3D", "01" + Text("CMNET", 15) + Text("10.1.2.4", 15) + Text("7002", 5) + Text("", 50),
         "NMIP2=10.1.2.4|NMPort2=7002|"},
        {"3E", "011027", "NMHeartbeatInterval=10000|"},
        {"45", "010105", "NMNetMode=01|NMNetSwitch=05|"},
        // The name servers stay raw hex; the other addresses become text.
        {"49", "01" + kLocal,
         "NMLocal=" + kLocal +
             "|NMLocalDHCP=01|NMLocalIP=192.168.1.10|NMLocalMask=255.255.255.0|"
             "NMLocalGateway=192.168.1.1|NMLocalDNS1=" +
             kDns1 + "|NMLocalDNS2=" + std::string(30, '0') + "|"},
        // Failed queries and ones without a result byte only reset the mark.
        {"49", "02" + kLocal, ""},
        {"49", "", ""},
        // Short ones store every complete field and the part present of the one
        // cut; a raw block, a byte or a number that is cut stores nothing.
        {"49", "01" + kLocal.substr(0, kLocal.size() - 2),
         "NMLocalDHCP=01|NMLocalIP=192.168.1.10|NMLocalMask=255.255.255.0|"
         "NMLocalGateway=192.168.1.1|NMLocalDNS1=" +
             kDns1 + "|"},
        {"49", "01" + kLocal.substr(0, 2 + 30), "NMLocalDHCP=01|NMLocalIP=192.168.1.10|"},
        {"49", "01" + kLocal.substr(0, 2 + 8), "NMLocalDHCP=01|NMLocalIP=192.|"},
        {"45", "0101", "NMNetMode=01|"},
        {"3E", "01E8", ""},
        {"0C", "01" + Text("654321", 20), "NMDeviceID=654321|"},
        {"0C", "01" + Text("654321", 20) + Text("CMNET", 15) + "3130",
         "NMDeviceID=654321|NMIP1=10|"},
    };
    for (const auto& [cmd, data, stored] : cases) {
        DecodeFixture f;
        EXPECT_EQ(DecodeNmReply(Nm(cmd, data), f.ctx).text, "") << cmd;
        EXPECT_EQ(f.Stored(), "NMReboot=0|" + stored) << cmd << " " << data;
    }
}

TEST(NmDecoder, BuildsTheRestartFrame) {
    EXPECT_EQ(Request(kNmRestartPair).frame, "7E238201028D107E");
}

}  // namespace
}  // namespace tarnwick

#include "modules/gprs_decoder.h"

#include <gtest/gtest.h>

#include "protocol/command_entry.h"
#include "protocol/hex_text.h"
#include "support/decode_fixture.h"
#include "support/reply_builder.h"

namespace tarnwick {
namespace {

using testing::DecodeFixture;
using testing::Reply;

std::string Gprs(const std::string& cmd, const std::string& data) {
    return Reply("01", cmd, data);
}

std::string Text(const std::string& text, size_t width) {
    return TextToHexField(text, width);
}

std::string LengthPrefixed(const std::string& text) {
    return ByteHex(static_cast<unsigned>(text.size())) + TextToHex(text);
}

// 22-digit phone fields: a number, an erased field, digits without terminator.
const std::string kPhone = "12345E0000000000000000";
const std::string kErased = "E000000000000000000000";
const std::string kBare = "1390012345678901234567";
const std::string kCentre1 = "01" + Text("000123", 20) + Text("CMNET", 15) + Text("10.1.2.3", 15) +
                             Text("7001", 5) + Text("alarm.example.net", 50);
const std::string kVersions = LengthPrefixed("BOOT 1.2") + LengthPrefixed("2.6.32") +
                              LengthPrefixed("") + LengthPrefixed("APP V3.01");
const std::string kServers = "02" + LengthPrefixed("10.0.0.1") + LengthPrefixed("10.0.0.2");

TEST(GprsDecoder, WordsSettingRepliesWithTheirPrefixAndResultByte) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"0D", "01", "GPRS重新启动成功!"},
        {"0D", "02", "GPRS重新启动失败!"},
        {"03", "05", "GPRS配置终端标识号 返回值S[7]有误!"},
        {"08", "00", "GPRS恢复出厂默认值 返回值S[7]有误!"},
        {"09", "01", "GPRS设置网络模块参数成功!"},
        {"0A", "02", "GPRS设置第1中心服务器域名失败!"},
        {"3A", "01", "GPRS设置第2中心服务器域名成功!"},
        {"0B", "01", "GPRS设置短信报警功能开关成功!"},
        {"3B", "01", "GPRS设置心跳间隔时间成功!"},
        {"40", "01", "GPRS设置开机短信开关成功!"},
        {"42", "02", "GPRS设置短信报告开关失败!"},
        {"46", "01", "GPRS修改短信编程密码成功!"},
        // Phone groups answer 00 for success and 01 for failure.
        {"02", "00", "GPRS设置电话号码组成功!"},
        {"02", "01", "GPRS设置电话号码组失败!"},
        {"02", "02", "GPRS设置电话号码组 返回值S[7]有误!"},
        // Server addresses: byte 8 alone decides, with no prefix.
        {"04", "0201", "成功!"},
        {"04", "0102", "失败!"},
        {"04", "0100", " 返回值S[7]有误!"},
        {"77", "01", ""},  // not a reply of this module
    };
    for (const auto& [cmd, data, text] : cases) {
        DecodeFixture f;
        EXPECT_EQ(DecodeGprsReply(Gprs(cmd, data), f.ctx).text, text) << cmd << " " << data;
        EXPECT_EQ(f.params.Count(), 0u);
    }
}

TEST(GprsDecoder, StoresWhatQueryRepliesCarry) {
    std::string alarm;
    for (int i = 1; i <= 8; ++i) alarm += std::to_string(i) + "10E" + std::string(18, '0');
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"0C", kCentre1,
         "GprsDeviceID=000123|GprsAPN1=CMNET|GprsIP1=10.1.2.3|GprsPort1=7001|"
         "GprsDomainName1=alarm.example.net|"},
        {"3D",
         "01" + Text("UNINET", 15) + Text("10.9.8.7", 15) + Text("80", 5) + Text("备用.net", 50),
         "GprsAPN2=UNINET|GprsIP2=10.9.8.7|GprsPort2=80|GprsDomainName2=备用.net|"},
        // 16-bit numbers travel low byte first.
        {"3E", "013C00", "GprsHeartbeatInterval=60|"},
        {"3E", "011027", "GprsHeartbeatInterval=10000|"},
        {"05", "0100" + kPhone, "GprsManagePhone=12345|"},
        {"05", "0101" + kErased + kBare + kPhone,
         "GprsProgPhone=" + kErased + kBare + kPhone + "|GprsProgPhone3=12345|"},
        {"05", "0102" + alarm + "30000003",
         "GprsAlarmPhone=" + alarm +
             "30000003|GprsAlarmPhone1=110|GprsAlarmPhone2=210|GprsAlarmPhone3=310|"
             "GprsAlarmPhone4=410|GprsAlarmPhone5=510|GprsAlarmPhone6=610|GprsAlarmPhone7=710|"
             "GprsAlarmPhone8=810|GprsAlarmPhoneStatus=30000003|"},
        {"05", "0103" + kPhone + "01",
         "GprsSMSPhone_=" + kPhone + "01|GprsSMSPhone=12345|GprsSMSPhoneStatus=01|"},
        // Byte 7 of the version reply is not looked at; an empty version is absent.
        {"06", "0001" + kVersions,
         "GprsBOOTVer=BOOT 1.2|GprsKERNELVer=2.6.32|GprsAPPVer=APP V3.01|"},
        {"07", "01" + kServers,
         "GprsDomainRPIPHex=" + kServers + "|GprsDomainRPIP=10.0.0.1:10.0.0.2:|"},
        {"07", "0100", "GprsDomainRPIPHex=00|"},
        {"41", "0101", "GprsBootSMS=01|"},
        {"43", "0100", "GprsReportSMS=00|"},
        {"44", "0102", "GprsInfoSMS=02|"},
    };
    for (const auto& [cmd, data, stored] : cases) {
        DecodeFixture f;
        EXPECT_EQ(DecodeGprsReply(Gprs(cmd, data), f.ctx).text, "") << cmd;
        EXPECT_EQ(f.Stored(), stored) << cmd << " " << data;
    }
}

TEST(GprsDecoder, FailingQueriesStoreNothingAndShortOnesStoreWhatTheyHold) {
    const std::pair<std::string, std::string> nothing[] = {
        {"0C", "02" + kCentre1.substr(2)},  // failing result
        {"0C", ""},                         // no result byte is never a success
        {"3E", "013C"},                     // a number without its high byte
        {"05", "0104" + kPhone},            // unknown group
        {"05", "0200" + kPhone},            // failing result
        {"06", "0100" + kVersions},         // byte 8 decides
        {"41", "01"},
    };
    for (const auto& [cmd, data] : nothing) {
        DecodeFixture f;
        EXPECT_EQ(DecodeGprsReply(Gprs(cmd, data), f.ctx).text, "");
        EXPECT_EQ(f.params.Count(), 0u) << cmd << " " << data;
    }
    // Every complete field, the part present of the one cut, nothing after it.
    const std::tuple<std::string, std::string, std::string> shortReplies[] = {
        {"0C", "01" + Text("000123", 20) + "434D4E", "GprsDeviceID=000123|GprsAPN1=CMN|"},
        {"0C", "01" + Text("000123", 20), "GprsDeviceID=000123|"},
        {"05", "0103" + kPhone, "GprsSMSPhone=12345|"},  // raw group and status need it whole
        {"05", "0101" + kErased + kPhone.substr(0, 8), "GprsProgPhone2=12345|"},
        {"06", "0001" + kVersions.substr(0, kVersions.size() - 2),
         "GprsBOOTVer=BOOT 1.2|GprsKERNELVer=2.6.32|GprsAPPVer=APP V3.0|"},
        {"06", "0001" + LengthPrefixed("BOOT 1.2") + "20" + Text("2.6", 3),
         "GprsBOOTVer=BOOT 1.2|GprsKERNELVer=2.6|"},
        {"07", "0102" + LengthPrefixed("10.0.0.1"),
         "GprsDomainRPIPHex=02" + LengthPrefixed("10.0.0.1") + "|GprsDomainRPIP=10.0.0.1:|"},
        {"07", "0102" + LengthPrefixed("10.0.0.1") + "08" + Text("10.0", 4),
         "GprsDomainRPIPHex=02" + LengthPrefixed("10.0.0.1") + "08" + Text("10.0", 4) +
             "|GprsDomainRPIP=10.0.0.1:10.0:|"},
    };
    for (const auto& [cmd, data, stored] : shortReplies) {
        DecodeFixture f;
        EXPECT_EQ(DecodeGprsReply(Gprs(cmd, data), f.ctx).text, "");
        EXPECT_EQ(f.Stored(), stored) << cmd << " " << data;
    }
}

TEST(GprsDecoder, ReadsListsAndBuildsRequests) {
    const std::string versions = Gprs("06", "0001" + kVersions);
    EXPECT_EQ(HexToText(DecodeVersionList(versions, 1)), "2.6.32");
    EXPECT_EQ(DecodeVersionList(versions, 4), "");
    EXPECT_EQ(DecodeServerIpList(Gprs("07", "01" + kServers)), "10.0.0.1:10.0.0.2:");

    EXPECT_EQ(Request(kGprsQueryParams1Pair).frame, "7E1F8201018C0E7E");
    EXPECT_EQ(Request(kGprsQueryManagePhonePair, kGprsManagePhoneGroup).frame,
              "7E118201018500077E");
    EXPECT_EQ(Request(kGprsQueryVersionPair, kGprsVersionQueryData).frame, "7E31820101860F177E");
}

}  // namespace
}  // namespace tarnwick

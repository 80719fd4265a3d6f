// What a simulated host keeps: writes and commands change its state, and the
// next read through the real decoders shows it.
#include <gtest/gtest.h>

#include <set>

#include "modules/gprs_decoder.h"
#include "modules/nm_decoder.h"
#include "operation/alarm_host_decoder.h"
#include "operation/control_decoder.h"
#include "programming/programming_requests.h"
#include "protocol/hex_text.h"
#include "support/lab_fixture.h"

namespace tarnwick::testing {
namespace {

class HostStateInLab : public LabFixture {
  protected:
    std::string Read(const CommandEntry& r) { return tdm->exchanger.Exchange(r).text; }
    std::string Status() { return Exchange(kStatusQueryPair, kStatusQueryData); }
    std::string Control(const std::string& code) {
        return Exchange(kRemoteControlPair, "0A" + code);
    }
    std::string Arm(const std::string& code) {
        return Exchange(kArmingPair, "03A6" + code + "FFFF");
    }
    std::string History(int first) {
        tdm->params.Clear();
        const std::string data = ZeroPadLeft(ByteHex(static_cast<unsigned>(first >> 8)) +
                                                 ByteHex(static_cast<unsigned>(first & 0xFF)),
                                             4) +
                                 ByteHex(static_cast<unsigned>((first + 19) >> 8)) +
                                 ByteHex(static_cast<unsigned>((first + 19) & 0xFF));
        return Exchange(kAlarmHistoryPair, data);
    }
};

TEST_F(HostStateInLab, SectionWriteIsReadBackAndARefusedWriteChangesNothing) {
    const std::string wireless = "930110930110930110930110930110930110";
    auto sim = StartOneHost(R"("sections": {"05": ")" + wireless +
                            R"("}, "faults": [{"match": "1182", "data": "0905", "result": 3}])");
    std::string zones;
    for (int z = 0; z < 6; ++z) zones += "1A211010";

    EXPECT_EQ(Read(WriteSectionRequest(4, zones)), "编程报警主机成功!");
    Read(ReadSectionRequest(4));
    EXPECT_EQ(tdm->params.Get("Prog04"), zones);
    EXPECT_EQ(tdm->params.Get("Prog04_6"), "1A211010");

    EXPECT_EQ(Read(WriteSectionRequest(5, "9C0111" + wireless.substr(6))), "编程报警主机拒绝!");
    Read(ReadSectionRequest(5));
    EXPECT_EQ(tdm->params.Get("Prog05"), wireless);
}

TEST_F(HostStateInLab, RemoteControlAndArmingShowInTheNextStatus) {
    auto sim = StartOneHost(
        R"("status": {"system": "13", "mode": "00"},
           "faults": [{"match": "1081", "data": "0A09", "result": 3}])");

    EXPECT_EQ(Control("05"), "联动开启成功!");
    Status();
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "53");
    EXPECT_EQ(Control("07"), "报警声开启成功!");
    Status();
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "73");
    EXPECT_EQ(Control("09"), "对报警主机复位拒绝!");
    Status();
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "73");

    EXPECT_NE(Arm("63").find("网络远程布防[操作员1]成功!"), std::string::npos);
    Status();
    EXPECT_EQ(tdm->params.Get("KeepAwayMode"), "01");
    EXPECT_EQ(tdm->params.Get("Defence1_8"), "00");
    Arm("62");
    Status();
    EXPECT_EQ(tdm->params.Get("KeepAwayMode"), "02");
    EXPECT_NE(Arm("68").find("网络远程撤防"), std::string::npos);
    Status();
    EXPECT_EQ(tdm->params.Get("KeepAwayMode"), "00");
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "53");  // disarming silences the siren
    EXPECT_EQ(Control("06"), "联动关闭成功!");
    Status();
    EXPECT_EQ(tdm->params.Get("SystemStatus"), "13");
}

TEST_F(HostStateInLab, ModuleSettingsAreReadBack) {
    auto sim = StartOneHost(R"("gprs": {"heartbeat": 60}, "network": {"netMode": "01"})");

    EXPECT_EQ(Exchange(kGprsSetHeartbeatPair, "5A00"), "GPRS设置心跳间隔时间成功!");
    Exchange(kGprsQueryHeartbeatPair);
    EXPECT_EQ(tdm->params.Get("GprsHeartbeatInterval"), "90");

    const std::string smsCentre = std::string("13912345678E") + std::string(10, '0');
    EXPECT_EQ(Exchange(kGprsSetPhoneGroupPair, "4A03" + smsCentre + "01"),
              "GPRS设置电话号码组成功!");
    Exchange(kGprsQuerySmsPhonePair, "03");
    EXPECT_EQ(tdm->params.Get("GprsSMSPhone"), "13912345678");
    EXPECT_EQ(tdm->params.Get("GprsSMSPhoneStatus"), "01");

    const std::string set = Exchange(kNmSetNetSwitchPair, "0005");
    EXPECT_EQ(set.rfind("设置网络管理成功!", 0), 0u) << set;
    EXPECT_EQ(tdm->params.Get("NMReboot"), "1");
    Exchange(kNmQueryNetSwitchPair);
    EXPECT_EQ(tdm->params.Get("NMNetMode"), "00");
    EXPECT_EQ(tdm->params.Get("NMNetSwitch"), "05");
    EXPECT_EQ(tdm->params.Get("NMReboot"), "0");
}

TEST_F(HostStateInLab, ModuleQueriesFillEveryKeyTheirPagesRead) {
    auto sim = StartOneHost(R"(
        "identity": {"deviceId": "100777", "mask": "255.255.0.0"},
        "gprs": {"deviceId": "000123", "apn1": "CMNET", "ip1": "10.231.200.1", "port1": "7000",
                 "domain1": "centre1.alarm.lan", "ip2": "10.231.200.2", "port2": "7001",
                 "domain2": "centre2.alarm.lan", "alarmPhones": ["13900000001"],
                 "alarmPhoneStatus": "30000000", "dnsServers": ["10.231.200.53", "10.231.200.54"],
                 "versions": ["BOOT V1", "KERNEL V2.6", "ROOTFS V3", "APP V4"],
                 "bootSms": "01", "reportSms": "00", "infoSms": "02"},
        "network": {"ip1": "10.231.201.1", "port1": "8000", "domain2": "backup.alarm.lan",
                    "heartbeat": 45, "dns1": "10.0.0.1"})");
    const DeviceParams& p = tdm->params;

    Exchange(kGprsQueryParams1Pair);
    EXPECT_EQ(p.Get("GprsDeviceID"), "000123");
    EXPECT_EQ(p.Get("GprsAPN1"), "CMNET");
    EXPECT_EQ(p.Get("GprsIP1"), "10.231.200.1");
    EXPECT_EQ(p.Get("GprsPort1"), "7000");
    EXPECT_EQ(p.Get("GprsDomainName1"), "centre1.alarm.lan");
    Exchange(kGprsQueryParams2Pair);
    EXPECT_EQ(p.Get("GprsIP2"), "10.231.200.2");
    EXPECT_EQ(p.Get("GprsDomainName2"), "centre2.alarm.lan");
    Exchange(kGprsQueryAlarmPhonePair, "02");
    EXPECT_EQ(p.Get("GprsAlarmPhone1"), "13900000001");
    EXPECT_EQ(p.Get("GprsAlarmPhone2"), "");
    EXPECT_EQ(p.Get("GprsAlarmPhoneStatus"), "30000000");
    Exchange(kGprsQueryDnsPair);
    EXPECT_EQ(p.Get("GprsDomainRPIP"), "10.231.200.53:10.231.200.54:");
    Exchange(kGprsQueryVersionPair, "0F");
    EXPECT_EQ(p.Get("GprsKERNELVer"), "KERNEL V2.6");
    EXPECT_EQ(p.Get("GprsAPPVer"), "APP V4");
    Exchange(kGprsQueryBootSmsPair);
    Exchange(kGprsQueryReportSmsPair);
    Exchange(kGprsQueryInfoSmsPair);
    EXPECT_EQ(p.Get("GprsBootSMS") + p.Get("GprsReportSMS") + p.Get("GprsInfoSMS"), "010002");

    Exchange(kNmQueryParams1Pair);
    EXPECT_EQ(p.Get("NMDeviceID"), "100777");
    EXPECT_EQ(p.Get("NMIP1"), "10.231.201.1");
    EXPECT_EQ(p.Get("NMPort1"), "8000");
    Exchange(kNmQueryParams2Pair);
    EXPECT_EQ(p.Get("NMDomainName2"), "backup.alarm.lan");
    Exchange(kNmQueryHeartbeatPair);
    EXPECT_EQ(p.Get("NMHeartbeatInterval"), "45");
    Exchange(kNmQueryLocalPair, "00");
    EXPECT_EQ(p.Get("NMLocalIP"), lab->hostIps[0]);
    EXPECT_EQ(p.Get("NMLocalMask"), "255.255.0.0");
    EXPECT_EQ(p.Get("NMLocalDNS1"), "31302E302E302E31" + std::string(14, '0'));
}

TEST_F(HostStateInLab, AlarmHistoryComesInPagesOfTwentyWithEveryKindOfRecord) {
    auto sim = StartOneHost(R"("history": 65)");
    std::set<std::string> kinds;
    for (int first = 1; first <= 41; first += 20) {
        History(first);
        for (int n = 1; n <= 20; ++n) {
            const std::string record = tdm->params.Get("AlarmInfo" + std::to_string(n));
            ASSERT_EQ(record.size(), 22u) << first << "+" << n;
            EXPECT_EQ(HexToInt(record.substr(0, 4)), first + n - 1);
            kinds.insert(record.substr(4, 2));
        }
        EXPECT_FALSE(tdm->params.Has("AlarmInfo21"));
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"00", "90", "92", "93"}));

    // The last page is short; an arming adds a record after the last one.
    History(61);
    EXPECT_TRUE(tdm->params.Has("AlarmInfo5"));
    EXPECT_FALSE(tdm->params.Has("AlarmInfo6"));
    Arm("63");
    History(61);
    EXPECT_EQ(tdm->params.Get("AlarmInfo6").substr(0, 6), "004292");
}

}  // namespace
}  // namespace tarnwick::testing

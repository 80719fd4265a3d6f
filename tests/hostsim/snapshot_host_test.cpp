#include "hostsim/snapshot_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>

#include "hostsim/fields.h"
#include "hostsim/host_state.h"
#include "hostsim/responder.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {
namespace {

using nlohmann::json;

json Snapshot() {
    json j = {{"format", 1},          {"host", "10.231.1.5"}, {"model", "TWK-16 V2.30"},
              {"moduleVersion", "K"}, {"time", "t"},          {"toolVersion", "1"}};
    for (size_t i = 0; i < kSectionDigits.size(); ++i)
        j["sections"]["0" + std::to_string(i)] = std::string(kSectionDigits[i], '0');
    j["keys"] = json::object();
    return j;
}

std::string Refusal(const std::string& text) {
    try {
        HostFromSnapshotText(text, 1);
    } catch (const SnapshotRefused& e) {
        return e.what();
    }
    return "played";
}

TEST(SnapshotHost, NamesWhyAFileCannotBePlayed) {
    const std::string whole = Snapshot().dump();
    const std::pair<std::function<void(json&)>, const char*> cases[] = {
        {[](json& j) { j["format"] = kPlayedSnapshotFormat + 1; }, "snapshot format 3"},
        {[](json& j) { j.erase("sections"); }, "no field \"sections\""},
        {[](json& j) { j["sections"]["03"] = "1234"; }, "section 03 holds 4 digits"},
        {[](json& j) { j["sections"]["07"] = std::string(58, 'G'); }, "section 07"},
        {[](json& j) { j["model"] = "ZX-9 V1"; }, "unknown model \"ZX-9 V1\""},
        {[](json& j) { j["keys"]["NMNetMode"] = 1; }, "NMNetMode is not text"},
        {[](json& j) { j["keys"]["NMNetMode"] = "1"; }, "NMNetMode needs 2 hex digits"},
        {[](json& j) { j["keys"]["GprsHeartbeatInterval"] = "65536"; }, "GprsHeartbeatInterval"},
    };
    for (const auto& [change, expected] : cases) {
        json j = Snapshot();
        change(j);
        EXPECT_NE(Refusal(j.dump()).find(expected), std::string::npos) << Refusal(j.dump());
    }
    EXPECT_NE(Refusal(whole.substr(0, whole.size() / 2)).find("cut short"), std::string::npos);
    EXPECT_NE(Refusal("PK\x03\x04 a workbook").find("not JSON"), std::string::npos);
    EXPECT_NE(Refusal("[1, 2]").find("not a JSON object"), std::string::npos);
}

// A backup that keeps no code in clear plays the default codes in their places.
TEST(SnapshotHost, PlaysTheDefaultCodesWhereTheFileKeepsNone) {
    json j = Snapshot();
    j["format"] = 2;
    j["sections"]["00"] = "******01****02****03****04****";
    EXPECT_EQ(HostFromSnapshot(j, 1).sections[0], "123456011234022345030000040000");
}

std::string ReplyData(SimHost& host, const std::string& classAndCommand, const std::string& data) {
    Request request;
    request.moduleClass = classAndCommand.substr(0, 2);
    request.command = classAndCommand.substr(2, 2);
    request.data = data;
    return Respond(host, request).value().data;
}

// The raw keys come back digit for digit in the replies they were stored
// from (after the result byte and any echoed byte), whatever their case.
TEST(SnapshotHost, RepliesCarryWhatTheFileHolds) {
    json j = Snapshot();
    const std::string local = "00" + Field("192.168.7.9", 15) + Field("255.255.255.0", 15) +
                              Field("192.168.7.1", 15) + Field("8.8.8.8", 15) + Field("", 15);
    const std::string progPhones = PhoneField("1") + PhoneField("22") + PhoneField("333");
    const std::string names = "02" + LengthPrefixed("1.2.3.4") + LengthPrefixed("10.0.0.53");
    j["model"] = "TWK-8 V1.07";
    j["keys"] = {{"NMLocal", local},
                 {"gprsprogphone", progPhones},
                 {"GprsDomainRPIPHex", names},
                 {"GprsSMSPhone_", PhoneField("95511") + "00"},
                 {"NMDeviceID", "204811"},
                 {"GprsDomainName1", "中心一"},
                 {"NMNetMode", "00"},
                 {"NMNetSwitch", "05"},
                 {"GprsHeartbeatInterval", "300"},
                 {"KeepAwayMode", "02"}};
    SimHost host = HostFromSnapshotText(j.dump(), 1);
    EXPECT_EQ(ReplyData(host, "02D9", "00"), "01" + local);
    EXPECT_EQ(ReplyData(host, "0185", "01"), "0101" + progPhones);
    EXPECT_EQ(ReplyData(host, "0185", "03"), "0103" + PhoneField("95511") + "00");
    EXPECT_EQ(ReplyData(host, "0187", ""), "01" + names);
    EXPECT_EQ(ReplyData(host, "02D5", ""), "010005");
    EXPECT_EQ(ReplyData(host, "01CE", ""), "01" + LowByteFirst(300));
    EXPECT_EQ(ReplyData(host, "1282", "06F2").substr(6, 2), "02");
    // A text the file lacks was empty: the tool keeps no key for it.
    EXPECT_EQ(ReplyData(host, "028C", "").substr(112, 100), Field("", 50));
    EXPECT_EQ(ReplyData(host, "018C", "").substr(112, 100), Field("中心一", 50));
    EXPECT_EQ(ReplyData(host, "0185", "00"), "0100" + PhoneField(""));
    // The search answer: the module's address and device ID, the model's host type.
    const std::string search = ReplyData(host, "02D7", "");
    EXPECT_EQ(HexToText(search.substr(0, 30)), "192.168.7.9");
    EXPECT_EQ(HexToText(search.substr(40, 40)), "204811");
    EXPECT_EQ(HexToText(search.substr(180, 100)), "八防区报警主机");
    EXPECT_EQ(host.address, "10.231.1.5");
}

// Every setting's row takes what fits and refuses the rest unchanged.
TEST(SnapshotHost, SettingsTakeWhatFitsAndRefuseTheRestUnchanged) {
    struct Case {
        const char* request;
        std::string data;
        bool taken;
    };
    const Case cases[] = {
        {"01CB", "2C01", true},
        {"01CB", "2C", false},
        {"018B", "02", true},
        {"018B", "03", false},
        {"01D6", Field("000000", 6) + Field("246810", 6), true},
        {"01D6", Field("111111", 6) + Field("246810", 6), false},
        {"028E", "0107", true},
        {"028E", "0108", false},
        {"028A", "00", false},
        {"018A", "00", true},
    };
    for (const Case& c : cases) {
        SimHost host = HostFromSnapshotText(Snapshot().dump(), 1);
        const json before = HostState(host);
        Request request;
        request.moduleClass = std::string(c.request, 2);
        request.command = std::string(c.request + 2, 2);
        request.data = c.data;
        const Reply reply = Respond(host, request).value();
        EXPECT_EQ(reply.data, c.taken ? "01" : "02") << c.request << " " << c.data;
        EXPECT_EQ(reply.changed, c.taken) << c.request << " " << c.data;
        if (!c.taken) {
            EXPECT_EQ(HostState(host), before) << c.request << " " << c.data;
        }
    }
}

}  // namespace
}  // namespace tarnwick::hostsim

// Module class 01: the GPRS module's queries and settings.
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"
#include "server_list.h"

namespace tarnwick::hostsim {
namespace {

// Phone group data as the module holds it (the same layout in 82 and 05).
std::string PhoneGroup(const GprsModule& g, int group) {
    switch (group) {
        case 0:
            return g.managePhone;
        case 1:
            return g.progPhones[0] + g.progPhones[1] + g.progPhones[2];
        case 2: {
            std::string all;
            for (const auto& p : g.alarmPhones) all += p;
            return all + g.alarmPhoneStatus;
        }
        case 3:
            return g.smsCentre + g.smsCentreStatus;
        default:
            return {};
    }
}

constexpr size_t kGroupDigits[] = {22, 66, 184, 24};

void StorePhoneGroup(GprsModule& g, int group, const std::string& d) {
    auto phone = [&](size_t i) { return d.substr(22 * i, 22); };
    if (group == 0) g.managePhone = phone(0);
    if (group == 1)
        for (size_t i = 0; i < 3; ++i) g.progPhones[i] = phone(i);
    if (group == 2) {
        for (size_t i = 0; i < 8; ++i) g.alarmPhones[i] = phone(i);
        g.alarmPhoneStatus = d.substr(176, 8);
    }
    if (group == 3) {
        g.smsCentre = phone(0);
        g.smsCentreStatus = d.substr(22, 2);
    }
}

Reply Outcome(const std::string& command, int result, const std::string& note) {
    return Reply{"01", command, ByteHex(static_cast<unsigned>(result)), false, note};
}

}  // namespace

std::optional<Reply> RespondGprs(SimHost& host, const Request& request) {
    GprsModule& g = host.gprs;
    const std::string& cmd = request.command;
    const std::string& data = request.data;
    auto ok = [&](bool natural = true) { return request.Result(natural ? 1 : 2); };
    auto hex = [](int v) { return ByteHex(static_cast<unsigned>(v)); };

    if (cmd == "8C") {
        int r = ok();
        std::string d = hex(r);
        if (r == 1)
            d += Field(g.deviceId, 20) + Field(g.apn1, 15) + Field(g.ip1, 15) + Field(g.port1, 5) +
                 Field(g.domain1, 50);
        return Reply{"01", "0C", d, false, "terminal parameters 1"};
    }
    if (cmd == "CD") {
        int r = ok();
        std::string d = hex(r);
        if (r == 1)
            d += Field(g.apn2, 15) + Field(g.ip2, 15) + Field(g.port2, 5) + Field(g.domain2, 50);
        return Reply{"01", "3D", d, false, "terminal parameters 2"};
    }
    if (cmd == "CE") {
        int r = ok();
        return Reply{"01", "3E", hex(r) + (r == 1 ? LowByteFirst(g.heartbeat) : ""), false,
                     "heartbeat interval"};
    }
    if (cmd == "85") {
        const int group = DataByte(data, 1);
        int r = ok(group >= 0 && group <= 3);
        return Reply{"01", "05",
                     hex(r) + hex(group < 0 ? 0 : group) + (r == 1 ? PhoneGroup(g, group) : ""),
                     false, "phone group"};
    }
    if (cmd == "87") {
        int r = ok();
        std::string d = hex(r);
        if (r == 1) {
            d += hex(static_cast<int>(g.dnsServers.size()));
            for (const auto& s : g.dnsServers) d += LengthPrefixed(s);
        }
        return Reply{"01", "07", d, false, "name servers"};
    }
    if (cmd == "D4") return Reply{"01", "44", hex(ok()) + g.infoSms, false, "information SMS"};
    if (cmd == "D1") return Reply{"01", "41", hex(ok()) + g.bootSms, false, "power-on SMS"};
    if (cmd == "D3") return Reply{"01", "43", hex(ok()) + g.reportSms, false, "SMS report"};
    if (cmd == "86") {
        // Byte 7 echoes the request, byte 8 is the result.
        int r = ok();
        std::string d = (data.empty() ? std::string("0F") : data.substr(0, 2)) + hex(r);
        if (r == 1)
            for (const auto& v : g.versions) d += LengthPrefixed(v);
        return Reply{"01", "06", d, false, "software versions"};
    }
    if (cmd == "83") {
        int r = ok(data.size() >= 40);
        if (r == 1) g.deviceId = HexToText(DataBytes(data, 1, 20));
        return Outcome("03", r, "terminal ID");
    }
    if (cmd == "8A" || cmd == "CA") {
        // A length of 0 clears the name.
        int r = ok(DataByte(data, 1) >= 0);
        if (r == 1) (cmd == "8A" ? g.domain1 : g.domain2) = ParseLengthPrefixedName(data);
        return Outcome(cmd == "8A" ? "0A" : "3A", r, "centre server domain name");
    }
    if (cmd == "84") {
        std::vector<ServerEntry> entries;
        const bool parsed = ParseServerList(data, entries);
        int r = ok(parsed);
        if (r == 1 && !entries.empty() && entries[0].type == 0) {
            g.ip1 = entries[0].ip;
            g.port1 = entries[0].port;
            if (entries.size() > 1) g.ip2 = entries[1].ip, g.port2 = entries[1].port;
        } else if (r == 1) {
            g.dnsServers.clear();
            for (const auto& e : entries) g.dnsServers.push_back(e.ip);
        }
        // The result is the second byte.
        return Reply{"01", "04", "00" + hex(r), false, "server list"};
    }
    if (cmd == "CB") {
        int r = ok(data.size() >= 4);
        if (r == 1) g.heartbeat = ReadLowByteFirst(data);
        return Outcome("3B", r, "heartbeat interval set");
    }
    if (cmd == "8B") {
        const int value = DataByte(data, 1);
        int r = ok(value >= 0 && value <= 2);
        if (r == 1) g.infoSms = hex(value);
        return Outcome("0B", r, "SMS alarm switch");
    }
    if (cmd == "89") {
        int r = ok(data.size() >= 96);
        if (r == 1) {
            g.apn1 = HexToText(DataBytes(data, 1, 15));
            g.user = HexToText(DataBytes(data, 16, 15));
            g.password = HexToText(DataBytes(data, 31, 18));
        }
        return Outcome("09", r, "network parameters");
    }
    if (cmd == "D6") {
        const bool right = HexToText(DataBytes(data, 1, 6)) == g.smsPassword && data.size() >= 24;
        int r = ok(right);
        if (r == 1) g.smsPassword = HexToText(DataBytes(data, 7, 6));
        return Outcome("46", r, "SMS programming password");
    }
    if (cmd == "D0" || cmd == "D2") {
        const int value = DataByte(data, 1);
        int r = ok(value == 0 || value == 1);
        if (r == 1) (cmd == "D0" ? g.bootSms : g.reportSms) = hex(value);
        return Outcome(cmd == "D0" ? "40" : "42", r, "SMS switch");
    }
    if (cmd == "82") {
        // Here 00 means success and 01 failure.
        const int group = DataByte(data, 2);
        const std::string groupData = data.size() > 4 ? data.substr(4) : "";
        const bool fits = DataByte(data, 1) == 0x4A && group >= 0 && group <= 3 &&
                          groupData.size() == kGroupDigits[group];
        int r = request.Result(fits ? 0 : 1);
        if (r == 0) StorePhoneGroup(g, group, groupData);
        return Outcome("02", r, "phone group set");
    }
    if (cmd == "88") {
        int r = ok();
        if (r == 1) g = host.gprsDefaults;
        return Outcome("08", r, "factory defaults");
    }
    if (cmd == "8D") return Outcome("0D", ok(), "restart");
    return std::nullopt;
}

}  // namespace tarnwick::hostsim

// Module class 02: the network module, which also answers the broadcast
// search and the broadcast address change.
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"
#include "server_list.h"

namespace tarnwick::hostsim {
namespace {

std::string Hex(int v) {
    return ByteHex(static_cast<unsigned>(v));
}

Reply Outcome(const std::string& command, int result, const std::string& note) {
    return Reply{"02", command, Hex(result), false, note};
}

std::string SearchAnswer(const Identity& id) {
    return Field(id.ip, 15) + Field(id.port, 5) + Field(id.deviceId, 20) +
           Field(id.moduleType, 50) + Field(id.hostType, 50) + Field(id.mask, 15) +
           Field(id.gateway, 15);
}

bool AllAddresses(std::initializer_list<std::string> texts) {
    for (const auto& t : texts)
        if (!IsValidIPv4(t)) return false;
    return true;
}

}  // namespace

std::optional<Reply> RespondNetwork(SimHost& host, const Request& request) {
    NetworkModule& m = host.network;
    Identity& id = host.identity;
    const std::string& cmd = request.command;
    const std::string& data = request.data;
    auto ok = [&](bool natural = true) { return request.Result(natural ? 1 : 2); };

    if (cmd == "D7") return Reply{"02", "47", SearchAnswer(id), true, "search answer"};
    if (cmd == "DB") {
        // Only the host whose present address is named answers.
        if (HexToText(DataBytes(data, 1, 15)) != id.ip) return std::nullopt;
        const std::string ip = HexToText(DataBytes(data, 16, 15));
        const std::string mask = HexToText(DataBytes(data, 31, 15));
        const std::string gateway = HexToText(DataBytes(data, 46, 15));
        int r = ok(AllAddresses({ip, mask, gateway}));
        if (r == 1) id.ip = ip, id.mask = mask, id.gateway = gateway;
        return Reply{"02", "4B", Hex(r) + Field(ip, 15), true, "address change result"};
    }
    if (cmd == "8C") {
        int r = ok();
        std::string d = Hex(r);
        if (r == 1)
            d += Field(id.deviceId, 20) + Field("", 15) + Field(m.ip1, 15) + Field(m.port1, 5) +
                 Field(m.domain1, 50);
        return Reply{"02", "0C", d, false, "terminal parameters 1"};
    }
    if (cmd == "CD") {
        int r = ok();
        std::string d = Hex(r);
        if (r == 1)
            d += Field("", 15) + Field(m.ip2, 15) + Field(m.port2, 5) + Field(m.domain2, 50);
        return Reply{"02", "3D", d, false, "terminal parameters 2"};
    }
    if (cmd == "CE") {
        int r = ok();
        return Reply{"02", "3E", Hex(r) + (r == 1 ? LowByteFirst(m.heartbeat) : ""), false,
                     "heartbeat interval"};
    }
    if (cmd == "D5") {
        int r = ok();
        return Reply{"02", "45", Hex(r) + (r == 1 ? m.netMode + m.netSwitch : ""), false,
                     "network management switch"};
    }
    if (cmd == "D9") {
        int r = ok();
        std::string d = Hex(r);
        if (r == 1)
            d += m.dhcp + Field(id.ip, 15) + Field(id.mask, 15) + Field(id.gateway, 15) + m.dns1 +
                 m.dns2;
        return Reply{"02", "49", d, false, "local network parameters"};
    }
    if (cmd == "83") {
        int r = ok(data.size() >= 40);
        if (r == 1) id.deviceId = HexToText(DataBytes(data, 1, 20));
        return Outcome("03", r, "terminal ID");
    }
    if (cmd == "8A" || cmd == "CA") {
        int r = ok(DataByte(data, 1) > 0);
        if (r == 1) (cmd == "8A" ? m.domain1 : m.domain2) = ParseLengthPrefixedName(data);
        return Outcome(cmd == "8A" ? "0A" : "3A", r, "centre server domain name");
    }
    if (cmd == "84") {
        std::vector<ServerEntry> entries;
        int r = ok(ParseServerList(data, entries) && entries.size() == 2);
        if (r == 1) {
            m.ip1 = entries[0].ip, m.port1 = entries[0].port;
            m.ip2 = entries[1].ip, m.port2 = entries[1].port;
        }
        return Reply{"02", "04", "00" + Hex(r), false, "centre addresses"};
    }
    if (cmd == "CB") {
        int r = ok(data.size() >= 4);
        if (r == 1) m.heartbeat = ReadLowByteFirst(data);
        return Outcome("3B", r, "heartbeat interval set");
    }
    if (cmd == "8E") {
        const int mode = DataByte(data, 1);
        const int sw = DataByte(data, 2);
        int r = ok((mode == 0 || mode == 1) && sw >= 0 && sw <= 7);
        if (r == 1) m.netMode = Hex(mode), m.netSwitch = Hex(sw);
        return Outcome("0E", r, "network management set");
    }
    if (cmd == "CF") {
        // DHCP flag, 01 00, address, mask, gateway, two name servers.
        const std::string ip = HexToText(DataBytes(data, 4, 15));
        const std::string mask = HexToText(DataBytes(data, 19, 15));
        const std::string gateway = HexToText(DataBytes(data, 34, 15));
        int r = ok(data.size() >= 156 && AllAddresses({ip, mask, gateway}));
        if (r == 1) {
            m.dhcp = DataBytes(data, 1, 1);
            id.ip = ip, id.mask = mask, id.gateway = gateway;
            m.dns1 = DataBytes(data, 49, 15);
            m.dns2 = DataBytes(data, 64, 15);
        }
        return Outcome("3F", r, "local network parameters set (the lab address stays)");
    }
    if (cmd == "81") {
        int r = ok(data.size() >= 14);
        if (r == 1) host.clock = data.substr(0, 14);
        return Outcome("01", r, "time calibration to " + host.clock);
    }
    if (cmd == "88") {
        int r = ok();
        if (r == 1) m = host.networkDefaults;
        return Outcome("08", r, "factory defaults");
    }
    if (cmd == "8D") return Outcome("0D", ok(), "restart");
    return std::nullopt;
}

}  // namespace tarnwick::hostsim

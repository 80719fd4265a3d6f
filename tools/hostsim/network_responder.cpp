// Module class 02: the network module, which also answers the broadcast
// search and the broadcast address change; one table row per command.
#include "command_table.h"
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"
#include "server_list.h"

namespace tarnwick::hostsim {
namespace {

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

std::optional<Reply> Search(SimHost& host, const Request&) {
    return Reply{"02", "47", SearchAnswer(host.identity), true, "search answer"};
}

// Only the host whose present address is named answers.
std::optional<Reply> ChangeAddress(SimHost& host, const Request& request) {
    Identity& id = host.identity;
    const std::string& data = request.data;
    if (HexToText(DataBytes(data, 1, 15)) != id.ip) return std::nullopt;
    const std::string ip = HexToText(DataBytes(data, 16, 15));
    const std::string mask = HexToText(DataBytes(data, 31, 15));
    const std::string gateway = HexToText(DataBytes(data, 46, 15));
    const int r = request.Result(AllAddresses({ip, mask, gateway}) ? 1 : 2);
    if (r == 1) id.ip = ip, id.mask = mask, id.gateway = gateway;
    return Reply{"02", "4B", ResultHex(r) + Field(ip, 15), true, "address change result", r == 1};
}

std::optional<Reply> SetCentres(SimHost& host, const Request& request) {
    NetworkModule& m = host.network;
    std::vector<ServerEntry> entries;
    const bool fits = ParseServerList(request.data, entries) && entries.size() == 2;
    const int r = request.Result(fits ? 1 : 2);
    if (r == 1) {
        m.ip1 = entries[0].ip, m.port1 = entries[0].port;
        m.ip2 = entries[1].ip, m.port2 = entries[1].port;
    }
    return Reply{"02", "04", "00" + ResultHex(r), false, "centre addresses", r == 1};
}

// DHCP flag, 01 00, address, mask, gateway, two name servers.
bool LocalFits(const SimHost&, std::string_view data) {
    return data.size() >= 156 &&
           AllAddresses({HexToText(DataBytes(data, 4, 15)), HexToText(DataBytes(data, 19, 15)),
                         HexToText(DataBytes(data, 34, 15))});
}

void SetLocal(SimHost& host, std::string_view data) {
    host.network.dhcp = DataBytes(data, 1, 1);
    host.identity.ip = HexToText(DataBytes(data, 4, 15));
    host.identity.mask = HexToText(DataBytes(data, 19, 15));
    host.identity.gateway = HexToText(DataBytes(data, 34, 15));
    host.network.dns1 = DataBytes(data, 49, 15);
    host.network.dns2 = DataBytes(data, 64, 15);
}

std::optional<Reply> SetClock(SimHost& host, const Request& request) {
    const int r = request.Result(request.data.size() >= 14 ? 1 : 2);
    if (r == 1) host.clock = request.data.substr(0, 14);
    return Reply{"02", "01", ResultHex(r), false, "time calibration to " + host.clock};
}

const Command kNetworkCommands[] = {
    {.request = "D7", .reply = "47", .answer = Search},
    {.request = "DB", .reply = "4B", .answer = ChangeAddress},
    {"8C", "0C", "terminal parameters 1",
     [](const SimHost& h, const Request&) {
         const NetworkModule& m = h.network;
         return Field(h.identity.deviceId, 20) + Field("", 15) + Field(m.ip1, 15) +
                Field(m.port1, 5) + Field(m.domain1, 50);
     }},
    {"CD", "3D", "terminal parameters 2",
     [](const SimHost& h, const Request&) {
         const NetworkModule& m = h.network;
         return Field("", 15) + Field(m.ip2, 15) + Field(m.port2, 5) + Field(m.domain2, 50);
     }},
    {"CE", "3E", "heartbeat interval",
     [](const SimHost& h, const Request&) { return LowByteFirst(h.network.heartbeat); }},
    {"D5", "45", "network management switch",
     [](const SimHost& h, const Request&) { return h.network.netMode + h.network.netSwitch; }},
    {"D9", "49", "local network parameters",
     [](const SimHost& h, const Request&) {
         const Identity& id = h.identity;
         return h.network.dhcp + Field(id.ip, 15) + Field(id.mask, 15) + Field(id.gateway, 15) +
                h.network.dns1 + h.network.dns2;
     }},
    {.request = "84", .reply = "04", .answer = SetCentres},
    {.request = "81", .reply = "01", .answer = SetClock},
    {.request = "83",
     .reply = "03",
     .note = "terminal ID",
     .accepts = [](const SimHost&, std::string_view d) { return d.size() >= 40; },
     .apply = [](SimHost& h,
                 std::string_view d) { h.identity.deviceId = HexToText(DataBytes(d, 1, 20)); }},
    {.request = "8A",
     .reply = "0A",
     .note = "centre server domain name",
     .accepts = [](const SimHost&, std::string_view d) { return DataByte(d, 1) > 0; },
     .apply = [](SimHost& h,
                 std::string_view d) { h.network.domain1 = ParseLengthPrefixedName(d); }},
    {.request = "CA",
     .reply = "3A",
     .note = "centre server domain name",
     .accepts = [](const SimHost&, std::string_view d) { return DataByte(d, 1) > 0; },
     .apply = [](SimHost& h,
                 std::string_view d) { h.network.domain2 = ParseLengthPrefixedName(d); }},
    {.request = "CB",
     .reply = "3B",
     .note = "heartbeat interval set",
     .accepts = [](const SimHost&, std::string_view d) { return d.size() >= 4; },
     .apply = [](SimHost& h, std::string_view d) { h.network.heartbeat = ReadLowByteFirst(d); }},
    {.request = "8E",
     .reply = "0E",
     .note = "network management set",
     .accepts =
         [](const SimHost&, std::string_view d) {
             const int mode = DataByte(d, 1), sw = DataByte(d, 2);
             return (mode == 0 || mode == 1) && sw >= 0 && sw <= 7;
         },
     .apply =
         [](SimHost& h, std::string_view d) {
             h.network.netMode = ResultHex(DataByte(d, 1));
             h.network.netSwitch = ResultHex(DataByte(d, 2));
         }},
    {.request = "CF",
     .reply = "3F",
     .note = "local network parameters set (the lab address stays)",
     .accepts = LocalFits,
     .apply = SetLocal},
    {.request = "88",
     .reply = "08",
     .note = "factory defaults",
     .apply = [](SimHost& h, std::string_view) { h.network = h.networkDefaults; }},
    {.request = "8D", .reply = "0D", .note = "restart"},
};

}  // namespace

std::optional<Reply> RespondNetwork(SimHost& host, const Request& request) {
    return Dispatch(kNetworkCommands, "02", host, request);
}

}  // namespace tarnwick::hostsim

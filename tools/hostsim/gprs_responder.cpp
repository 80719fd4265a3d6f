// Module class 01: the GPRS module's queries and settings, one table row
// per command.
#include "command_table.h"
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

std::optional<Reply> QueryPhoneGroup(SimHost& host, const Request& request) {
    const int group = DataByte(request.data, 1);
    const int r = request.Result(group >= 0 && group <= 3 ? 1 : 2);
    return Reply{"01", "05",
                 ResultHex(r) + ResultHex(group < 0 ? 0 : group) +
                     (r == 1 ? PhoneGroup(host.gprs, group) : ""),
                 false, "phone group"};
}

// Here 00 means success and 01 failure.
std::optional<Reply> SetPhoneGroup(SimHost& host, const Request& request) {
    const std::string& data = request.data;
    const int group = DataByte(data, 2);
    const std::string groupData = data.size() > 4 ? data.substr(4) : "";
    const bool fits = DataByte(data, 1) == 0x4A && group >= 0 && group <= 3 &&
                      groupData.size() == kGroupDigits[group];
    const int r = request.Result(fits ? 0 : 1);
    if (r == 0) StorePhoneGroup(host.gprs, group, groupData);
    return Reply{"01", "02", ResultHex(r), false, "phone group set", r == 0};
}

// Byte 7 echoes the request, byte 8 is the result.
std::optional<Reply> Versions(SimHost& host, const Request& request) {
    const int r = request.Result(1);
    std::string d =
        (request.data.empty() ? std::string("0F") : request.data.substr(0, 2)) + ResultHex(r);
    if (r == 1)
        for (const auto& v : host.gprs.versions) d += LengthPrefixed(v);
    return Reply{"01", "06", d, false, "software versions"};
}

// Centre addresses (type 00 entries) or name servers; the result is the
// second byte.
std::optional<Reply> SetServers(SimHost& host, const Request& request) {
    GprsModule& g = host.gprs;
    std::vector<ServerEntry> entries;
    const int r = request.Result(ParseServerList(request.data, entries) ? 1 : 2);
    if (r == 1 && !entries.empty() && entries[0].type == 0) {
        g.ip1 = entries[0].ip;
        g.port1 = entries[0].port;
        if (entries.size() > 1) g.ip2 = entries[1].ip, g.port2 = entries[1].port;
    } else if (r == 1) {
        g.dnsServers.clear();
        for (const auto& e : entries) g.dnsServers.push_back(e.ip);
    }
    return Reply{"01", "04", "00" + ResultHex(r), false, "server list", r == 1};
}

std::string Switch(int value) {
    return ResultHex(value);
}

const Command kGprsCommands[] = {
    {"8C", "0C", "terminal parameters 1",
     [](const SimHost& h, const Request&) {
         const GprsModule& g = h.gprs;
         return Field(g.deviceId, 20) + Field(g.apn1, 15) + Field(g.ip1, 15) + Field(g.port1, 5) +
                Field(g.domain1, 50);
     }},
    {"CD", "3D", "terminal parameters 2",
     [](const SimHost& h, const Request&) {
         const GprsModule& g = h.gprs;
         return Field(g.apn2, 15) + Field(g.ip2, 15) + Field(g.port2, 5) + Field(g.domain2, 50);
     }},
    {"CE", "3E", "heartbeat interval",
     [](const SimHost& h, const Request&) { return LowByteFirst(h.gprs.heartbeat); }},
    {"87", "07", "name servers",
     [](const SimHost& h, const Request&) {
         std::string d = Switch(static_cast<int>(h.gprs.dnsServers.size()));
         for (const auto& s : h.gprs.dnsServers) d += LengthPrefixed(s);
         return d;
     }},
    {"D4", "44", "information SMS",
     [](const SimHost& h, const Request&) { return h.gprs.infoSms; }},
    {"D1", "41", "power-on SMS", [](const SimHost& h, const Request&) { return h.gprs.bootSms; }},
    {"D3", "43", "SMS report", [](const SimHost& h, const Request&) { return h.gprs.reportSms; }},
    {.request = "85", .reply = "05", .answer = QueryPhoneGroup},
    {.request = "86", .reply = "06", .answer = Versions},
    {.request = "84", .reply = "04", .answer = SetServers},
    {.request = "82", .reply = "02", .answer = SetPhoneGroup},
    {.request = "83",
     .reply = "03",
     .note = "terminal ID",
     .accepts = [](const SimHost&, std::string_view d) { return d.size() >= 40; },
     .apply = [](SimHost& h,
                 std::string_view d) { h.gprs.deviceId = HexToText(DataBytes(d, 1, 20)); }},
    // A length of 0 clears the name.
    {.request = "8A",
     .reply = "0A",
     .note = "centre server domain name",
     .accepts = [](const SimHost&, std::string_view d) { return DataByte(d, 1) >= 0; },
     .apply = [](SimHost& h, std::string_view d) { h.gprs.domain1 = ParseLengthPrefixedName(d); }},
    {.request = "CA",
     .reply = "3A",
     .note = "centre server domain name",
     .accepts = [](const SimHost&, std::string_view d) { return DataByte(d, 1) >= 0; },
     .apply = [](SimHost& h, std::string_view d) { h.gprs.domain2 = ParseLengthPrefixedName(d); }},
    {.request = "CB",
     .reply = "3B",
     .note = "heartbeat interval set",
     .accepts = [](const SimHost&, std::string_view d) { return d.size() >= 4; },
     .apply = [](SimHost& h, std::string_view d) { h.gprs.heartbeat = ReadLowByteFirst(d); }},
    {.request = "8B",
     .reply = "0B",
     .note = "SMS alarm switch",
     .accepts = [](const SimHost&,
                   std::string_view d) { return DataByte(d, 1) >= 0 && DataByte(d, 1) <= 2; },
     .apply = [](SimHost& h, std::string_view d) { h.gprs.infoSms = Switch(DataByte(d, 1)); }},
    {.request = "89",
     .reply = "09",
     .note = "network parameters",
     .accepts = [](const SimHost&, std::string_view d) { return d.size() >= 96; },
     .apply =
         [](SimHost& h, std::string_view d) {
             h.gprs.apn1 = HexToText(DataBytes(d, 1, 15));
             h.gprs.user = HexToText(DataBytes(d, 16, 15));
             h.gprs.password = HexToText(DataBytes(d, 31, 18));
         }},
    {.request = "D6",
     .reply = "46",
     .note = "SMS programming password",
     .accepts =
         [](const SimHost& h, std::string_view d) {
             return HexToText(DataBytes(d, 1, 6)) == h.gprs.smsPassword && d.size() >= 24;
         },
     .apply = [](SimHost& h,
                 std::string_view d) { h.gprs.smsPassword = HexToText(DataBytes(d, 7, 6)); }},
    {.request = "D0",
     .reply = "40",
     .note = "SMS switch",
     .accepts = [](const SimHost&,
                   std::string_view d) { return DataByte(d, 1) == 0 || DataByte(d, 1) == 1; },
     .apply = [](SimHost& h, std::string_view d) { h.gprs.bootSms = Switch(DataByte(d, 1)); }},
    {.request = "D2",
     .reply = "42",
     .note = "SMS switch",
     .accepts = [](const SimHost&,
                   std::string_view d) { return DataByte(d, 1) == 0 || DataByte(d, 1) == 1; },
     .apply = [](SimHost& h, std::string_view d) { h.gprs.reportSms = Switch(DataByte(d, 1)); }},
    {.request = "88",
     .reply = "08",
     .note = "factory defaults",
     .apply = [](SimHost& h, std::string_view) { h.gprs = h.gprsDefaults; }},
    {.request = "8D", .reply = "0D", .note = "restart"},
};

}  // namespace

std::optional<Reply> RespondGprs(SimHost& host, const Request& request) {
    return Dispatch(kGprsCommands, "01", host, request);
}

}  // namespace tarnwick::hostsim

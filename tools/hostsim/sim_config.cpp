#include "sim_config.h"

#include <arpa/inet.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "fields.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {
namespace {

using nlohmann::json;

void CheckKeys(const json& j, std::initializer_list<const char*> known, const std::string& where) {
    if (!j.is_object()) throw std::runtime_error(where + " must be a JSON object");
    for (const auto& [key, value] : j.items()) {
        bool found = false;
        for (const char* k : known) found = found || key == k;
        if (!found) throw std::runtime_error("unknown field \"" + key + "\" in " + where);
    }
}

template <typename T>
void Read(const json& j, const char* key, T& target) {
    if (j.contains(key)) target = j.at(key).get<T>();
}

uint8_t HexByte(const json& j, const char* key, uint8_t fallback) {
    if (!j.contains(key)) return fallback;
    const std::string text = ToUpper(j.at(key).get<std::string>());
    if (text.size() != 2 || !IsHexText(text))
        throw std::runtime_error(std::string("status field \"") + key + "\" needs two hex digits");
    return static_cast<uint8_t>(HexToInt(text));
}

void ReadIdentity(const json& j, Identity& id) {
    CheckKeys(j, {"ip", "port", "deviceId", "moduleType", "hostType", "mask", "gateway"},
              "identity");
    Read(j, "ip", id.ip);
    Read(j, "port", id.port);
    Read(j, "deviceId", id.deviceId);
    Read(j, "moduleType", id.moduleType);
    Read(j, "hostType", id.hostType);
    Read(j, "mask", id.mask);
    Read(j, "gateway", id.gateway);
}

void ReadGprs(const json& j, GprsModule& g) {
    CheckKeys(j, {"deviceId",    "apn1",
                  "ip1",         "port1",
                  "domain1",     "apn2",
                  "ip2",         "port2",
                  "domain2",     "user",
                  "password",    "heartbeat",
                  "managePhone", "progPhones",
                  "alarmPhones", "alarmPhoneStatus",
                  "smsCentre",   "smsCentreStatus",
                  "dnsServers",  "versions",
                  "bootSms",     "reportSms",
                  "infoSms",     "smsPassword"},
              "gprs");
    for (auto [key, field] : {std::pair{"deviceId", &g.deviceId},
                              {"apn1", &g.apn1},
                              {"ip1", &g.ip1},
                              {"port1", &g.port1},
                              {"domain1", &g.domain1},
                              {"apn2", &g.apn2},
                              {"ip2", &g.ip2},
                              {"port2", &g.port2},
                              {"domain2", &g.domain2},
                              {"user", &g.user},
                              {"password", &g.password},
                              {"alarmPhoneStatus", &g.alarmPhoneStatus},
                              {"smsCentreStatus", &g.smsCentreStatus},
                              {"bootSms", &g.bootSms},
                              {"reportSms", &g.reportSms},
                              {"infoSms", &g.infoSms},
                              {"smsPassword", &g.smsPassword}})
        Read(j, key, *field);
    Read(j, "heartbeat", g.heartbeat);
    if (j.contains("managePhone")) g.managePhone = PhoneField(j["managePhone"].get<std::string>());
    if (j.contains("smsCentre")) g.smsCentre = PhoneField(j["smsCentre"].get<std::string>());
    auto phones = [&](const char* key, auto& target) {
        if (!j.contains(key)) return;
        const auto list = j.at(key).get<std::vector<std::string>>();
        for (size_t i = 0; i < target.size(); ++i)
            target[i] = PhoneField(i < list.size() ? list[i] : "");
    };
    phones("progPhones", g.progPhones);
    phones("alarmPhones", g.alarmPhones);
    Read(j, "dnsServers", g.dnsServers);
    if (j.contains("versions")) {
        const auto list = j.at("versions").get<std::vector<std::string>>();
        for (size_t i = 0; i < g.versions.size() && i < list.size(); ++i) g.versions[i] = list[i];
    }
}

void ReadNetwork(const json& j, NetworkModule& m) {
    CheckKeys(j,
              {"ip1", "port1", "domain1", "ip2", "port2", "domain2", "heartbeat", "netMode",
               "netSwitch", "dhcp", "dns1", "dns2"},
              "network");
    for (auto [key, field] : {std::pair{"ip1", &m.ip1},
                              {"port1", &m.port1},
                              {"domain1", &m.domain1},
                              {"ip2", &m.ip2},
                              {"port2", &m.port2},
                              {"domain2", &m.domain2},
                              {"netMode", &m.netMode},
                              {"netSwitch", &m.netSwitch},
                              {"dhcp", &m.dhcp}})
        Read(j, key, *field);
    Read(j, "heartbeat", m.heartbeat);
    if (j.contains("dns1")) m.dns1 = Field(j["dns1"].get<std::string>(), 15);
    if (j.contains("dns2")) m.dns2 = Field(j["dns2"].get<std::string>(), 15);
}

void ReadUpgrade(const json& j, Upgrade& u) {
    CheckKeys(j, {"report", "reportDelayMs"}, "upgrade");
    Read(j, "report", u.report);
    Read(j, "reportDelayMs", u.reportDelayMs);
    u.report = ToUpper(u.report);
    if (!u.report.empty() && (u.report.size() != 2 || !IsHexText(u.report)))
        throw std::runtime_error("upgrade report needs two hex digits or empty text");
}

void ReadStatus(const json& j, WorkingStatus& s) {
    CheckKeys(j, {"system", "mode", "zones1_8", "zones9_16", "bypass1_8", "bypass9_16", "csq"},
              "status");
    s.system = HexByte(j, "system", s.system);
    s.mode = HexByte(j, "mode", s.mode);
    s.zones1_8 = HexByte(j, "zones1_8", s.zones1_8);
    s.zones9_16 = HexByte(j, "zones9_16", s.zones9_16);
    s.bypass1_8 = HexByte(j, "bypass1_8", s.bypass1_8);
    s.bypass9_16 = HexByte(j, "bypass9_16", s.bypass9_16);
    if (j.contains("csq")) s.csq = static_cast<uint8_t>(j["csq"].get<int>());
}

void ReadSections(const json& j, SimHost& host) {
    if (!j.is_object()) throw std::runtime_error("sections must be a JSON object");
    for (const auto& [key, value] : j.items()) {
        const int n = key.size() == 2 && IsHexText(key) ? HexToInt(key) : -1;
        if (n < 0 || n > 7) throw std::runtime_error("unknown section \"" + key + "\"");
        const std::string body = ToUpper(value.get<std::string>());
        if (body.size() != kSectionDigits[static_cast<size_t>(n)] || !IsHexText(body))
            throw std::runtime_error("section " + key + " needs " +
                                     std::to_string(kSectionDigits[static_cast<size_t>(n)]) +
                                     " hex digits");
        host.sections[static_cast<size_t>(n)] = body;
    }
}

// "pairing": {"learnAfterMs": 2000, "duplicate": false, "paired": ["010C02"],
// "missing": ["010703"]}; slots are six hex digits.
void ReadPairing(const json& j, Pairing& p) {
    CheckKeys(j, {"learnAfterMs", "duplicate", "paired", "missing"}, "pairing");
    Read(j, "learnAfterMs", p.learnAfterMs);
    Read(j, "duplicate", p.duplicate);
    for (const char* key : {"paired", "missing"}) {
        if (!j.contains(key)) continue;
        auto& slots = std::string(key) == "paired" ? p.paired : p.missing;
        slots.clear();
        for (const auto& s : j[key]) {
            const std::string slot = ToUpper(s.get<std::string>());
            if (slot.size() != 6 || !IsHexText(slot))
                throw std::runtime_error("a pairing slot needs 6 hex digits");
            slots.push_back(slot);
        }
    }
}

}  // namespace

uint32_t ParseAddress(const std::string& dotted) {
    in_addr a{};
    if (::inet_pton(AF_INET, dotted.c_str(), &a) != 1)
        throw std::runtime_error("\"" + dotted + "\" is not an IPv4 address");
    return ntohl(a.s_addr);
}

std::string FormatAddress(uint32_t address) {
    in_addr a{htonl(address)};
    char text[INET_ADDRSTRLEN];
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

void ApplyHostJson(const json& j, SimHost& host) {
    CheckKeys(j,
              {"address", "identity", "installerCode", "sections", "gprs", "network", "status",
               "model", "operatorNumber", "history", "pairing", "faults", "upgrade"},
              "a host");
    if (j.contains("identity")) {
        ReadIdentity(j["identity"], host.identity);
        host.gprs.deviceId = host.identity.deviceId;
    }
    if (j.contains("sections")) ReadSections(j["sections"], host);
    if (j.contains("installerCode")) SetInstallerCode(host, j["installerCode"].get<std::string>());
    if (j.contains("gprs")) ReadGprs(j["gprs"], host.gprs);
    if (j.contains("network")) ReadNetwork(j["network"], host.network);
    if (j.contains("status")) ReadStatus(j["status"], host.status);
    if (j.contains("upgrade")) ReadUpgrade(j["upgrade"], host.upgrade);
    Read(j, "model", host.model);
    if (j.contains("operatorNumber"))
        host.operatorNumber = static_cast<uint8_t>(j["operatorNumber"].get<int>());
    if (j.contains("history")) {
        const json& h = j["history"];
        if (h.is_number()) {
            host.history = GenerateHistory(h.get<int>());
        } else {
            host.history.clear();
            for (const auto& r : h) {
                const std::string record = ToUpper(r.get<std::string>());
                if (record.size() != 22 || !IsHexText(record))
                    throw std::runtime_error("an alarm record needs 22 hex digits");
                host.history.push_back(record);
            }
        }
    }
    if (j.contains("pairing")) ReadPairing(j["pairing"], host.pairing);
    if (j.contains("faults")) {
        auto more = ParseFaults(j["faults"]);
        host.faults.insert(host.faults.end(), more.begin(), more.end());
    }
    host.gprsDefaults = host.gprs;
    host.networkDefaults = host.network;
}

std::vector<SimHost> GenerateHosts(int count, const std::string& baseIp) {
    const uint32_t base = ParseAddress(baseIp);
    std::vector<SimHost> hosts;
    for (int i = 0; i < count; ++i)
        hosts.push_back(DefaultHost(FormatAddress(base + static_cast<uint32_t>(i)), i + 1));
    return hosts;
}

void ApplyConfig(const json& j, SimConfig& config) {
    CheckKeys(j, {"answerSpreadMs", "faults", "generate", "hosts"}, "the configuration");
    Read(j, "answerSpreadMs", config.answerSpreadMs);
    if (j.contains("faults")) {
        auto more = ParseFaults(j["faults"]);
        config.faults.insert(config.faults.end(), more.begin(), more.end());
    }
    if (j.contains("generate")) {
        const json& g = j["generate"];
        CheckKeys(g, {"count", "baseIp", "template"}, "generate");
        auto hosts = GenerateHosts(g.value("count", 1), g.value("baseIp", std::string()));
        for (SimHost& h : hosts)
            if (g.contains("template")) ApplyHostJson(g["template"], h);
        config.hosts.insert(config.hosts.end(), hosts.begin(), hosts.end());
    }
    if (j.contains("hosts")) {
        for (const json& item : j["hosts"]) {
            if (!item.contains("address"))
                throw std::runtime_error("every host needs the \"address\" it is played at");
            const std::string address = item["address"].get<std::string>();
            ParseAddress(address);
            SimHost host = DefaultHost(address, static_cast<int>(config.hosts.size()) + 1);
            ApplyHostJson(item, host);
            config.hosts.push_back(std::move(host));
        }
    }
}

SimConfig LoadConfigFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    SimConfig config;
    try {
        ApplyConfig(json::parse(in), config);
    } catch (const json::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    return config;
}

}  // namespace tarnwick::hostsim

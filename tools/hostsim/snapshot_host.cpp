#include "snapshot_host.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <unordered_map>

#include "fields.h"
#include "protocol/hex_text.h"
#include "protocol/name_value_list.h"
#include "sim_config.h"

namespace tarnwick::hostsim {
namespace {

using nlohmann::json;

constexpr char kMaskedCodeDigit = '*';

// The models the simulator plays: the model text's first word, and the host
// type its search answer names.
struct KnownModel {
    const char* family;
    const char* hostType;
};
constexpr KnownModel kKnownModels[] = {
    {"TWK-8", "八防区报警主机"},
    {"TWK-16", "十六防区报警主机"},
    {"TWK-32", "三十二防区报警主机"},
};

// The file's keys by folded name; as in the tool's store, the first of names
// that differ only in case wins.
class Keys {
  public:
    explicit Keys(const json& keys) {
        for (const auto& [name, value] : keys.items()) {
            if (!value.is_string())
                throw SnapshotRefused("not a snapshot: the value of key " + name + " is not text");
            values_.emplace(FoldedName(name), value.get<std::string>());
        }
    }
    std::optional<std::string> Find(const char* name) const {
        const auto found = values_.find(FoldedName(name));
        if (found == values_.end()) return std::nullopt;
        return found->second;
    }
    // Raw hex of `digits` digits (0: any even number), upper-cased.
    std::optional<std::string> Hex(const char* name, size_t digits) const {
        std::optional<std::string> value = Find(name);
        if (!value) return value;
        *value = ToUpper(*value);
        if ((digits && value->size() != digits) || !IsHexText(*value))
            throw SnapshotRefused("key " + std::string(name) + " needs " +
                                  (digits ? std::to_string(digits) + " " : std::string()) +
                                  "hex digits, holds \"" + *value + "\"");
        return value;
    }

  private:
    std::unordered_map<std::string, std::string> values_;
};

template <typename Module>
using TextField = std::pair<const char*, std::string Module::*>;

constexpr TextField<Identity> kIdentityTexts[] = {{"NMDeviceID", &Identity::deviceId}};
constexpr TextField<NetworkModule> kNetworkTexts[] = {{"NMIP1", &NetworkModule::ip1},
                                                      {"NMPort1", &NetworkModule::port1},
                                                      {"NMDomainName1", &NetworkModule::domain1},
                                                      {"NMIP2", &NetworkModule::ip2},
                                                      {"NMPort2", &NetworkModule::port2},
                                                      {"NMDomainName2", &NetworkModule::domain2}};
constexpr TextField<GprsModule> kGprsTexts[] = {{"GprsDeviceID", &GprsModule::deviceId},
                                                {"GprsAPN1", &GprsModule::apn1},
                                                {"GprsIP1", &GprsModule::ip1},
                                                {"GprsPort1", &GprsModule::port1},
                                                {"GprsDomainName1", &GprsModule::domain1},
                                                {"GprsAPN2", &GprsModule::apn2},
                                                {"GprsIP2", &GprsModule::ip2},
                                                {"GprsPort2", &GprsModule::port2},
                                                {"GprsDomainName2", &GprsModule::domain2}};
// Switch bytes kept as their two hex digits.
constexpr std::pair<const char*, std::string NetworkModule::*> kNetworkSwitches[] = {
    {"NMNetMode", &NetworkModule::netMode}, {"NMNetSwitch", &NetworkModule::netSwitch}};
constexpr std::pair<const char*, std::string GprsModule::*> kGprsSwitches[] = {
    {"GprsInfoSMS", &GprsModule::infoSms},
    {"GprsBootSMS", &GprsModule::bootSms},
    {"GprsReportSMS", &GprsModule::reportSms}};
constexpr const char* kVersionKeys[] = {"GprsBOOTVer", "GprsKERNELVer", "GprsRootFSVer",
                                        "GprsAPPVer"};
constexpr std::pair<const char*, uint8_t WorkingStatus::*> kStatusBytes[] = {
    {"SystemStatus", &WorkingStatus::system}, {"KeepAwayMode", &WorkingStatus::mode},
    {"Defence1_8", &WorkingStatus::zones1_8}, {"Defence9_16", &WorkingStatus::zones9_16},
    {"ByPass1_8", &WorkingStatus::bypass1_8}, {"ByPass9_16", &WorkingStatus::bypass9_16}};

// The tool keeps no key for an empty text: a text key the file lacks is empty.
template <typename Module, size_t N>
void ReadTexts(const Keys& keys, const TextField<Module> (&fields)[N], Module& module) {
    for (const auto& [key, field] : fields) module.*field = keys.Find(key).value_or("");
}

unsigned Number(const Keys& keys, const char* key, unsigned fallback, unsigned most) {
    const std::optional<std::string> v = keys.Find(key);
    if (!v) return fallback;
    const bool digits =
        !v->empty() && v->size() <= 5 && v->find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::stoul(*v) > most)
        throw SnapshotRefused("key " + std::string(key) + " needs a number up to " +
                              std::to_string(most) + ", holds \"" + *v + "\"");
    return static_cast<unsigned>(std::stoul(*v));
}

// The raw server list of reply 07: a count, then length-prefixed addresses.
std::vector<std::string> NameServers(const std::string& hex) {
    std::vector<std::string> servers;
    const int count = DataByte(hex, 1);
    size_t at = 2;
    for (int i = 0; i < count; ++i) {
        const int length = DataByte(hex, at);
        if (length < 0 || DataByte(hex, at + static_cast<size_t>(length)) < 0)
            throw SnapshotRefused("key GprsDomainRPIPHex is cut short");
        servers.push_back(HexToText(DataBytes(hex, at + 1, static_cast<size_t>(length))));
        at += 1 + static_cast<size_t>(length);
    }
    return servers;
}

void ReadGprs(const Keys& keys, GprsModule& g) {
    ReadTexts(keys, kGprsTexts, g);
    for (const auto& [key, field] : kGprsSwitches)
        if (const std::optional<std::string> v = keys.Hex(key, 2)) g.*field = *v;
    for (size_t i = 0; i < std::size(kVersionKeys); ++i)
        g.versions[i] = keys.Find(kVersionKeys[i]).value_or("");
    g.heartbeat = Number(keys, "GprsHeartbeatInterval", g.heartbeat, 0xFFFF);
    g.managePhone = PhoneField(keys.Find("GprsManagePhone").value_or(""));
    if (const std::optional<std::string> v = keys.Hex("GprsProgPhone", 66))
        for (size_t i = 0; i < 3; ++i) g.progPhones[i] = v->substr(22 * i, 22);
    if (const std::optional<std::string> v = keys.Hex("GprsAlarmPhone", 184)) {
        for (size_t i = 0; i < 8; ++i) g.alarmPhones[i] = v->substr(22 * i, 22);
        g.alarmPhoneStatus = v->substr(176);
    }
    if (const std::optional<std::string> v = keys.Hex("GprsSMSPhone_", 24)) {
        g.smsCentre = v->substr(0, 22);
        g.smsCentreStatus = v->substr(22);
    }
    if (const std::optional<std::string> v = keys.Hex("GprsDomainRPIPHex", 0))
        g.dnsServers = NameServers(*v);
}

// The local network block of reply 49: DHCP flag, address, mask, gateway
// and the two name server fields, 15 bytes each.
void ReadLocal(const Keys& keys, SimHost& host) {
    const std::optional<std::string> block = keys.Hex("NMLocal", 152);
    if (!block) return;
    host.network.dhcp = block->substr(0, 2);
    host.identity.ip = HexToText(block->substr(2, 30));
    host.identity.mask = HexToText(block->substr(32, 30));
    host.identity.gateway = HexToText(block->substr(62, 30));
    host.network.dns1 = block->substr(92, 30);
    host.network.dns2 = block->substr(122, 30);
}

void ReadNetwork(const Keys& keys, SimHost& host) {
    ReadTexts(keys, kIdentityTexts, host.identity);
    ReadTexts(keys, kNetworkTexts, host.network);
    for (const auto& [key, field] : kNetworkSwitches)
        if (const std::optional<std::string> v = keys.Hex(key, 2)) host.network.*field = *v;
    host.network.heartbeat = Number(keys, "NMHeartbeatInterval", host.network.heartbeat, 0xFFFF);
    ReadLocal(keys, host);
}

void ReadStatus(const Keys& keys, WorkingStatus& s) {
    for (const auto& [key, field] : kStatusBytes)
        if (const std::optional<std::string> v = keys.Hex(key, 2))
            s.*field = static_cast<uint8_t>(HexToInt(*v));
    s.csq = static_cast<uint8_t>(Number(keys, "GPRSCSQ", s.csq, 255));
}

const json& Member(const json& j, const char* name, bool (json::*is)() const noexcept) {
    if (!j.contains(name) || !(j[name].*is)())
        throw SnapshotRefused(std::string("not a snapshot: no field \"") + name + "\"");
    return j[name];
}

void ReadSections(const json& sections, SimHost& host) {
    for (size_t i = 0; i < host.sections.size(); ++i) {
        const std::string code = "0" + std::to_string(i);
        std::string body =
            ToUpper(Member(sections, code.c_str(), &json::is_string).get<std::string>());
        // A code the file does not hold in clear: the default host's digit.
        for (size_t p = 0; p < body.size() && p < host.sections[i].size(); ++p)
            if (body[p] == kMaskedCodeDigit) body[p] = host.sections[i][p];
        if (body.size() != kSectionDigits[i] || !IsHexText(body))
            throw SnapshotRefused("section " + code + " holds " + std::to_string(body.size()) +
                                  " digits, needs " + std::to_string(kSectionDigits[i]) +
                                  " hex digits");
        host.sections[i] = body;
    }
}

}  // namespace

std::string HostTypeOfModel(const std::string& model) {
    const std::string family = model.substr(0, model.find(' '));
    for (const KnownModel& m : kKnownModels)
        if (family == m.family) return m.hostType;
    return {};
}

SimHost HostFromSnapshot(const json& j, int index) {
    if (!j.is_object()) throw SnapshotRefused("not a snapshot: not a JSON object");
    const int format = Member(j, "format", &json::is_number_integer).get<int>();
    if (format < 1 || format > kPlayedSnapshotFormat)
        throw SnapshotRefused("snapshot format " + std::to_string(format) +
                              " is not played (up to " + std::to_string(kPlayedSnapshotFormat) +
                              ")");
    const std::string address = Member(j, "host", &json::is_string).get<std::string>();
    const std::string model = Member(j, "model", &json::is_string).get<std::string>();
    const std::string hostType = HostTypeOfModel(model);
    if (hostType.empty()) throw SnapshotRefused("unknown model \"" + model + "\"");
    const json& keyObject = Member(j, "keys", &json::is_object);
    if (keyObject.size() > kMaxSnapshotKeys)
        throw SnapshotRefused("not a snapshot: " + std::to_string(keyObject.size()) + " keys");
    SimHost host = DefaultHost(address, index);
    host.model = model;
    host.identity.hostType = hostType;
    ReadSections(Member(j, "sections", &json::is_object), host);
    Keys keys(keyObject);
    ReadNetwork(keys, host);
    ReadGprs(keys, host.gprs);
    ReadStatus(keys, host.status);
    return host;
}

SimHost HostFromSnapshotText(const std::string& text, int index) {
    json j;
    try {
        j = json::parse(text);
    } catch (const json::parse_error& e) {
        if (e.byte >= text.size()) throw SnapshotRefused("cut short (the JSON ends early)");
        throw SnapshotRefused("not a snapshot: not JSON (" + std::string(e.what()) + ")");
    }
    return HostFromSnapshot(j, index);
}

SimHost ReadSnapshotFile(const std::string& path, int index) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) throw SnapshotRefused("no such file or folder");
    if (!std::filesystem::is_regular_file(path, error))
        throw SnapshotRefused("not a snapshot: not a regular file");
    if (std::filesystem::file_size(path, error) > kMaxSnapshotFileBytes)
        throw SnapshotRefused("not a snapshot: larger than " +
                              std::to_string(kMaxSnapshotFileBytes / (1024 * 1024)) + " MB");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SnapshotRefused("cannot be read");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return HostFromSnapshotText(text, index);
}

}  // namespace tarnwick::hostsim

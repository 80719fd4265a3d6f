#include "host_state.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

#include "protocol/hex_text.h"
#include "sim_config.h"

namespace tarnwick::hostsim {
namespace {

using nlohmann::json;

// The dialled digits of a phone field, which PhoneField turns back into it.
std::string Digits(const std::string& field) {
    return field.substr(0, field.find('E'));
}

template <size_t N>
json DigitList(const std::array<std::string, N>& fields) {
    json list = json::array();
    for (const auto& f : fields) list.push_back(Digits(f));
    return list;
}

json GprsState(const GprsModule& g) {
    return {{"deviceId", g.deviceId},
            {"apn1", g.apn1},
            {"ip1", g.ip1},
            {"port1", g.port1},
            {"domain1", g.domain1},
            {"apn2", g.apn2},
            {"ip2", g.ip2},
            {"port2", g.port2},
            {"domain2", g.domain2},
            {"user", g.user},
            {"password", g.password},
            {"heartbeat", g.heartbeat},
            {"managePhone", Digits(g.managePhone)},
            {"progPhones", DigitList(g.progPhones)},
            {"alarmPhones", DigitList(g.alarmPhones)},
            {"alarmPhoneStatus", g.alarmPhoneStatus},
            {"smsCentre", Digits(g.smsCentre)},
            {"smsCentreStatus", g.smsCentreStatus},
            {"dnsServers", g.dnsServers},
            {"versions", g.versions},
            {"bootSms", g.bootSms},
            {"reportSms", g.reportSms},
            {"infoSms", g.infoSms},
            {"smsPassword", g.smsPassword}};
}

json NetworkState(const NetworkModule& m) {
    return {{"ip1", m.ip1},
            {"port1", m.port1},
            {"domain1", m.domain1},
            {"ip2", m.ip2},
            {"port2", m.port2},
            {"domain2", m.domain2},
            {"heartbeat", m.heartbeat},
            {"netMode", m.netMode},
            {"netSwitch", m.netSwitch},
            {"dhcp", m.dhcp},
            {"dns1", HexToText(m.dns1)},
            {"dns2", HexToText(m.dns2)}};
}

json StatusState(const WorkingStatus& s) {
    return {{"system", ByteHex(s.system)},
            {"mode", ByteHex(s.mode)},
            {"zones1_8", ByteHex(s.zones1_8)},
            {"zones9_16", ByteHex(s.zones9_16)},
            {"bypass1_8", ByteHex(s.bypass1_8)},
            {"bypass9_16", ByteHex(s.bypass9_16)},
            {"csq", s.csq}};
}

void WriteWhole(const std::string& path, const std::string& text) {
    const std::string partial = path + "." + std::to_string(::getpid()) + ".partial";
    // Made new: never written through a link or a pipe left under the name.
    ::unlink(partial.c_str());
    const int fd =
        ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw std::runtime_error(partial + ": " + std::strerror(errno));
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const int error = done == text.size() && ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (error != 0 || std::rename(partial.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(error ? error : errno);
        ::unlink(partial.c_str());
        throw std::runtime_error(path + ": " + why);
    }
}

}  // namespace

json HostState(const SimHost& host) {
    const Identity& id = host.identity;
    json sections;
    for (size_t i = 0; i < host.sections.size(); ++i)
        sections["0" + std::to_string(i)] = host.sections[i];
    return {{"identity",
             {{"ip", id.ip},
              {"port", id.port},
              {"deviceId", id.deviceId},
              {"moduleType", id.moduleType},
              {"hostType", id.hostType},
              {"mask", id.mask},
              {"gateway", id.gateway}}},
            {"sections", sections},
            {"gprs", GprsState(host.gprs)},
            {"network", NetworkState(host.network)},
            {"status", StatusState(host.status)},
            {"model", host.model},
            {"operatorNumber", host.operatorNumber},
            {"history", host.history},
            {"pairing",
             {{"learnAfterMs", host.pairing.learnAfterMs},
              {"duplicate", host.pairing.duplicate},
              {"paired", host.pairing.paired},
              {"missing", host.pairing.missing}}}};
}

void ApplyHostState(const json& state, SimHost& host) {
    const GprsModule gprsDefaults = host.gprsDefaults;
    const NetworkModule networkDefaults = host.networkDefaults;
    ApplyHostJson(state, host);
    host.gprsDefaults = gprsDefaults;
    host.networkDefaults = networkDefaults;
}

StateStore::StateStore(std::string folder) : folder_(std::move(folder)) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (!std::filesystem::is_directory(folder_))
        throw std::runtime_error("--state " + folder_ + ": not a folder that can be made");
}

void StateStore::NameStates(std::vector<SimHost>& hosts) {
    std::set<std::string> used;
    for (SimHost& h : hosts) {
        const std::string base = h.stateName.empty() ? h.address : h.stateName;
        h.stateName = base;
        for (int n = 2; !used.insert(h.stateName).second; ++n)
            h.stateName = base + "~" + std::to_string(n);
    }
}

std::string StateStore::PathOf(const SimHost& host) const {
    return folder_ + "/" + host.stateName + ".json";
}

bool StateStore::Load(SimHost& host) const {
    const std::string path = PathOf(host);
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    try {
        SimHost loaded = host;  // a bad field leaves the host as it was
        ApplyHostState(json::parse(in), loaded);
        host = std::move(loaded);
    } catch (const std::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    return true;
}

void StateStore::Save(const SimHost& host) const {
    WriteWhole(PathOf(host), HostState(host).dump(2) + "\n");
}

void StateStore::Forget(const SimHost& host) const {
    ::unlink(PathOf(host).c_str());
}

}  // namespace tarnwick::hostsim

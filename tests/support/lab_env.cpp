#include "support/lab_env.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <sstream>

namespace tarnwick::testing {
namespace {

std::string Var(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

}  // namespace

std::optional<LabEnv> LabEnv::FromEnvironment() {
    LabEnv lab;
    lab.name = Var("TARNWICK_LAB_NAME");
    lab.toolNs = Var("TARNWICK_LAB_TOOL_NS");
    lab.toolIp = Var("TARNWICK_LAB_TOOL_IP");
    lab.hostNs = Words(Var("TARNWICK_LAB_HOST_NS"));
    lab.hostIps = Words(Var("TARNWICK_LAB_HOST_IPS"));
    lab.packNs = Var("TARNWICK_LAB_PACK_NS");
    lab.packBaseIp = Var("TARNWICK_LAB_PACK_BASE_IP");
    lab.packCount = std::atoi(Var("TARNWICK_LAB_PACK_COUNT").c_str());
    lab.hostsim = Var("TARNWICK_HOSTSIM");
    if (lab.name.empty() || lab.toolIp.empty() || lab.hostsim.empty()) return std::nullopt;
    return lab;
}

std::string LabEnv::PackAddress(int i) const {
    in_addr a{};
    ::inet_pton(AF_INET, packBaseIp.c_str(), &a);
    a.s_addr = htonl(ntohl(a.s_addr) + static_cast<uint32_t>(i));
    char text[INET_ADDRSTRLEN];
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

}  // namespace tarnwick::testing

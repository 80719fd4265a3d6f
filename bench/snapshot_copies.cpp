#include "snapshot_copies.h"

#include <arpa/inet.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "backup/snapshot_file.h"
#include "protocol/hex_text.h"

namespace tarnwick::bench {
namespace {

std::string Address(uint32_t hostOrder) {
    in_addr a{htonl(hostOrder)};
    char text[INET_ADDRSTRLEN];
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

void Set(ConfigSnapshot& s, const std::string& key, const std::string& value) {
    for (auto& [name, v] : s.keys)
        if (name == key) v = value;
}

}  // namespace

int WriteSnapshotCopies(const std::string& templatePath, const std::string& folder, int count,
                        const std::string& baseIp) {
    try {
        const ConfigSnapshot original = ReadSnapshotFile(templatePath);
        in_addr base{};
        if (::inet_pton(AF_INET, baseIp.c_str(), &base) != 1) throw SnapshotError(baseIp);
        std::filesystem::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            ConfigSnapshot s = original;
            s.host = Address(ntohl(base.s_addr) + static_cast<uint32_t>(i));
            std::string local;
            for (const auto& [name, value] : s.keys)
                if (name == "NMLocal") local = value;
            // The address field of the local network block, after the DHCP flag.
            if (local.size() >= 32) local.replace(2, 30, TextToHexField(s.host, 15));
            const std::string id = std::to_string(200000 + i);
            Set(s, "NMLocal", local);
            Set(s, "NMLocalIP", s.host);
            Set(s, "NMDeviceID", id);
            Set(s, "GprsDeviceID", id);
            std::ofstream(folder + "/" + s.host + ".json") << SnapshotToJson(s);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "snapshot copies: %s\n", e.what());
        return 1;
    }
    std::printf("  %d snapshot files written from %s\n", count, templatePath.c_str());
    return 0;
}

}  // namespace tarnwick::bench

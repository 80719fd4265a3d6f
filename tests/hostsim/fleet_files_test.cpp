// The simulator's hosts from snapshot files, and their states across runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "hostsim/from_files.h"
#include "hostsim/host_state.h"
#include "hostsim/sim_config.h"
#include "support/temp_dir.h"

namespace tarnwick::hostsim {
namespace {

using nlohmann::json;
using testing::TempDir;

std::string SnapshotText(const std::string& host, const std::string& model = "TWK-16 V2.30") {
    json j = {{"format", 1}, {"host", host}, {"model", model}, {"keys", json::object()}};
    for (size_t i = 0; i < kSectionDigits.size(); ++i)
        j["sections"]["0" + std::to_string(i)] = std::string(kSectionDigits[i], '1');
    return j.dump(2);
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

FromFiles From(const std::string& path, const std::string& baseIp = "", bool renumber = false) {
    FromFiles from;
    from.paths = {path};
    from.baseIp = baseIp;
    from.renumber = renumber;
    return from;
}

std::vector<std::string> Addresses(const LoadedHosts& loaded) {
    std::vector<std::string> out;
    for (const SimHost& h : loaded.hosts) out.push_back(h.address + "=" + h.identity.ip);
    return out;
}

TEST(FleetFiles, AFolderPlaysItsSnapshotsAndNamesTheFilesItSkips) {
    TempDir dir;
    Write(dir.File("b.json"), SnapshotText("10.231.16.2"));
    Write(dir.File("a.json"), SnapshotText("10.231.16.1"));
    Write(dir.File("cut.json"), SnapshotText("10.231.16.3").substr(0, 200));
    Write(dir.File("other.json"), SnapshotText("10.231.16.4", "ZX-9 V1"));
    Write(dir.File("notes.txt"), "not played");
    const LoadedHosts loaded = LoadFromFiles(From(dir.Path().string()), {});
    EXPECT_EQ(Addresses(loaded),
              (std::vector<std::string>{"10.231.16.1=10.231.16.1", "10.231.16.2=10.231.16.2"}));
    ASSERT_EQ(loaded.skipped.size(), 2u);
    EXPECT_EQ(loaded.skipped[0], dir.File("cut.json") + ": cut short (the JSON ends early)");
    EXPECT_EQ(loaded.skipped[1], dir.File("other.json") + ": unknown model \"ZX-9 V1\"");
    EXPECT_EQ(loaded.hosts[0].stateName, "a");
    EXPECT_EQ(LoadFromFiles(From(dir.File("none")), {}).skipped[0],
              dir.File("none") + ": no such file or folder");
}

TEST(FleetFiles, ClashingAddressesArePlayedFromTheBaseOnward) {
    TempDir dir;
    Write(dir.File("a.json"), SnapshotText("10.231.16.1"));
    Write(dir.File("b.json"), SnapshotText("10.231.16.1"));
    const std::string folder = dir.Path().string();
    EXPECT_THROW(LoadFromFiles(From(folder), {}), std::runtime_error);
    // The base's first address is taken by another host, so the files go after it.
    const LoadedHosts clashed = LoadFromFiles(From(folder, "10.231.16.1"), {"10.231.16.1"});
    EXPECT_EQ(Addresses(clashed),
              (std::vector<std::string>{"10.231.16.2=10.231.16.2", "10.231.16.3=10.231.16.3"}));
    EXPECT_NE(clashed.renumbered.find("a.json names 10.231.16.1, which another host has"),
              std::string::npos);
    Write(dir.File("b.json"), SnapshotText("10.231.16.9"));
    EXPECT_EQ(Addresses(LoadFromFiles(From(folder, "10.231.17.1"), {})),
              (std::vector<std::string>{"10.231.16.1=10.231.16.1", "10.231.16.9=10.231.16.9"}));
    EXPECT_EQ(Addresses(LoadFromFiles(From(folder, "10.231.17.1", true), {})),
              (std::vector<std::string>{"10.231.17.1=10.231.17.1", "10.231.17.2=10.231.17.2"}));
}

TEST(FleetFiles, AKeptStateGivesTheHostBackAndABadOneLeavesItAsItStarts) {
    TempDir dir;
    std::vector<SimHost> hosts = {DefaultHost("10.231.1.1", 1), DefaultHost("10.231.1.2", 2)};
    hosts[1].stateName = "10.231.1.1";  // a file named like the other host's address
    StateStore::NameStates(hosts);
    EXPECT_EQ(hosts[1].stateName, "10.231.1.1~2");
    const StateStore store(dir.File("state"));
    SimHost& changed = hosts[0];
    changed.sections[4] = std::string(kSectionDigits[4], '7');
    changed.gprs.alarmPhones[2] = "1234567890123456789012";
    changed.network.dns2 = std::string(30, '0');
    changed.status.zones9_16 = 0x81;
    changed.pairing.paired = {"010C02"};
    AppendHistory(changed, 0x90, 0x08, 0x04, 0, 0x03);
    store.Save(changed);
    SimHost fresh = DefaultHost("10.231.1.1", 1);
    fresh.stateName = changed.stateName;
    ASSERT_TRUE(store.Load(fresh));
    EXPECT_EQ(HostState(fresh), HostState(changed));
    struct stat info {};
    ASSERT_EQ(::stat(store.PathOf(changed).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("state")),
                            std::filesystem::directory_iterator()),
              1);

    Write(store.PathOf(changed), R"({"sections": {"04": "12"}})");
    SimHost untouched = DefaultHost("10.231.1.1", 1);
    untouched.stateName = changed.stateName;
    const json before = HostState(untouched);
    EXPECT_THROW(store.Load(untouched), std::runtime_error);
    EXPECT_EQ(HostState(untouched), before);
    store.Forget(changed);
    EXPECT_FALSE(store.Load(untouched));
}

}  // namespace
}  // namespace tarnwick::hostsim

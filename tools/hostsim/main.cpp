// tarnwick-hostsim: one or many simulated alarm hosts speaking the device side
// of the protocol, for the network tests, the demo and installer training.
// Run it only inside the lab's network namespaces (tests/lab/lab.sh).
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "common/lab_namespace.h"
#include "sim_options.h"
#include "sim_server.h"

using namespace tarnwick::hostsim;

namespace {

// Written whole, then renamed, so that a reader never sees half of it.
void WriteReadyFile(const std::string& path) {
    if (path.empty()) return;
    const std::string partial = path + ".part";
    std::ofstream(partial) << ::getpid() << "\n";
    std::rename(partial.c_str(), path.c_str());
}

// The kept states replace what the hosts start from, unless --reset.
std::unique_ptr<StateStore> OpenState(const Options& o, SimConfig& config) {
    if (o.stateDir.empty()) return nullptr;
    auto store = std::make_unique<StateStore>(o.stateDir);
    StateStore::NameStates(config.hosts);
    for (SimHost& host : config.hosts) {
        try {
            if (o.reset)
                store->Forget(host);
            else
                store->Load(host);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tarnwick-hostsim: state not taken, %s plays as it starts: %s\n",
                         host.address.c_str(), e.what());
        }
    }
    return store;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Options o = ParseArguments(argc, argv);
        if (o.help) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        SimConfig config = Assemble(o);
        // Answering broadcasts on port 5200 of a real network would reach real
        // installers' tools: only a lab namespace will do.
        if (!tarnwick::lab::InNamedNetworkNamespace())
            throw std::runtime_error(
                "not inside a lab network namespace; start the simulator with "
                "tests/lab/lab.sh exec <namespace> ...");
        const std::unique_ptr<StateStore> store = OpenState(o, config);
        SimLog log(o.logPath);
        for (const SimHost& host : config.hosts)
            if (!host.source.empty()) log.Note("playing " + host.source + " at " + host.address);
        SimServer server(std::move(config), log, o.port);
        server.KeepStateIn(store.get());
        if (!o.scriptPath.empty()) server.Play(LoadScript(o.scriptPath));
        server.Open();
        WriteReadyFile(o.readyFile);
        server.Run();
        return 0;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "tarnwick-hostsim: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnwick-hostsim: %s\n", e.what());
        return 2;
    }
}

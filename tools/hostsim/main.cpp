// tarnwick-hostsim: one or many simulated alarm hosts speaking the device side
// of the protocol, for the network tests, the demo and installer training.
// Run it only inside the lab's network namespaces (tests/lab/lab.sh).
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "common/lab_namespace.h"
#include "protocol/timing.h"
#include "sim_config.h"
#include "sim_log.h"
#include "sim_server.h"

using namespace tarnwick::hostsim;

namespace {

constexpr const char* kUsage =
    "usage: tarnwick-hostsim [--config FILE] [--hosts N --base-ip A.B.C.D]\n"
    "                        [--log FILE] [--ready-file FILE] [--port N]\n"
    "                        [--silent] [--fault JSON]... [--answer-spread-ms N]\n"
    "  --config FILE         hosts, state and faults as JSON (see sim_config.h)\n"
    "  --hosts N --base-ip   N default hosts at consecutive addresses\n"
    "  --log FILE            datagram log (default: standard error)\n"
    "  --ready-file FILE     written with the process id once the port is bound\n"
    "  --silent              no host answers anything\n"
    "  --fault JSON          a fault rule for every host, e.g.\n"
    "                        '{\"match\":\"1181\",\"data\":\"0804\",\"strays\":2}'\n"
    "  --answer-spread-ms N  search answers of many hosts spread over N ms\n"
    "example (two hosts on the packed addresses of a lab):\n"
    "  tests/lab/lab.sh up try 0 2\n"
    "  tests/lab/lab.sh exec twlab-try-pack tarnwick-hostsim --config tools/hostsim/example.json\n";

}  // namespace

int main(int argc, char** argv) {
    try {
        SimConfig config;
        std::string logPath, readyFile, baseIp;
        int generated = 0;
        uint16_t port = tarnwick::kHostPort;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
                return argv[++i];
            };
            if (arg == "--config") {
                SimConfig loaded = LoadConfigFile(value());
                config.hosts.insert(config.hosts.end(), loaded.hosts.begin(), loaded.hosts.end());
                config.faults.insert(config.faults.end(), loaded.faults.begin(),
                                     loaded.faults.end());
                if (loaded.answerSpreadMs) config.answerSpreadMs = loaded.answerSpreadMs;
            } else if (arg == "--hosts") {
                generated = std::stoi(value());
            } else if (arg == "--base-ip") {
                baseIp = value();
            } else if (arg == "--log") {
                logPath = value();
            } else if (arg == "--ready-file") {
                readyFile = value();
            } else if (arg == "--port") {
                port = static_cast<uint16_t>(std::stoi(value()));
            } else if (arg == "--silent") {
                FaultRule silence;
                silence.silent = true;
                config.faults.push_back(silence);
            } else if (arg == "--fault") {
                config.faults.push_back(ParseFault(nlohmann::json::parse(value())));
            } else if (arg == "--answer-spread-ms") {
                config.answerSpreadMs = std::stoi(value());
            } else if (arg == "--help" || arg == "-h") {
                std::fputs(kUsage, stdout);
                return 0;
            } else {
                throw std::runtime_error("unknown argument " + arg);
            }
        }
        if (generated > 0) {
            if (baseIp.empty()) throw std::runtime_error("--hosts needs --base-ip");
            auto hosts = GenerateHosts(generated, baseIp);
            config.hosts.insert(config.hosts.end(), hosts.begin(), hosts.end());
        }
        if (config.hosts.empty()) throw std::runtime_error("no host to play");
        // Answering broadcasts on port 5200 of a real network would reach real
        // installers' tools: only a lab namespace will do.
        if (!tarnwick::lab::InNamedNetworkNamespace())
            throw std::runtime_error(
                "not inside a lab network namespace; start the simulator with "
                "tests/lab/lab.sh exec <namespace> ...");
        SimLog log(logPath);
        SimServer server(std::move(config), log, port);
        server.Open();
        if (!readyFile.empty()) {
            // Written whole, then renamed, so that a reader never sees half of it.
            const std::string partial = readyFile + ".part";
            std::ofstream(partial) << ::getpid() << "\n";
            std::rename(partial.c_str(), readyFile.c_str());
        }
        server.Run();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnwick-hostsim: %s\n%s", e.what(), kUsage);
        return 2;
    }
}

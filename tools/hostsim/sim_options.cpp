#include "sim_options.h"

#include <cstdio>
#include <functional>
#include <nlohmann/json.hpp>

#include "protocol/timing.h"

namespace tarnwick::hostsim {

const char* const kUsage =
    "usage: tarnwick-hostsim [--config FILE] [--hosts N] [--from FILE|DIR]... [--base-ip A.B.C.D]\n"
    "                        [--renumber] [--state DIR [--reset]] [--script FILE]\n"
    "                        [--log FILE] [--ready-file FILE] [--port N]\n"
    "                        [--silent] [--fault JSON]... [--answer-spread-ms N]\n"
    "  --config FILE         hosts, state and faults as JSON (see sim_config.h)\n"
    "  --hosts N             N default hosts at consecutive addresses from --base-ip\n"
    "  --from FILE|DIR       one host per snapshot file of tarnwick-cli backup (a folder:\n"
    "                        its *.json files), at the files' addresses; from --base-ip\n"
    "                        on when they clash or with --renumber\n"
    "  --state DIR           each host's state kept in DIR across runs, one file a host\n"
    "  --reset               start from the files again, forgetting the kept states\n"
    "  --script FILE         scripted alarms, faults, silent spells and garbled replies\n"
    "                        at given seconds (see script.h)\n"
    "  --log FILE            datagram log (default: standard error)\n"
    "  --ready-file FILE     written with the process id once the port is bound\n"
    "  --silent              no host answers anything\n"
    "  --fault JSON          a fault rule for every host, e.g.\n"
    "                        '{\"match\":\"1181\",\"data\":\"0804\",\"strays\":2}'\n"
    "  --answer-spread-ms N  search answers of many hosts spread over N ms\n"
    "Files that are no snapshot, of an unknown model or cut short are named and\n"
    "skipped; the exit status is 2 when no host is left to play.\n"
    "example (two hosts on the packed addresses of a lab):\n"
    "  tests/lab/lab.sh up try 0 2\n"
    "  tests/lab/lab.sh exec twlab-try-pack tarnwick-hostsim --config tools/hostsim/example.json\n";

namespace {

int Number(const std::string& option, const std::string& text) {
    try {
        size_t used = 0;
        const int n = std::stoi(text, &used);
        if (used == text.size() && n >= 0) return n;
    } catch (const std::exception&) {
    }
    throw UsageError(option + " needs a number, not \"" + text + "\"");
}

void AddConfig(const std::string& path, SimConfig& config) {
    SimConfig loaded = LoadConfigFile(path);
    config.hosts.insert(config.hosts.end(), loaded.hosts.begin(), loaded.hosts.end());
    config.faults.insert(config.faults.end(), loaded.faults.begin(), loaded.faults.end());
    if (loaded.answerSpreadMs) config.answerSpreadMs = loaded.answerSpreadMs;
}

// Takes one option and its value; false for an option it does not know.
bool TakeOption(const std::string& arg, const std::function<std::string()>& value, Options& o) {
    if (arg == "--config")
        AddConfig(value(), o.config);
    else if (arg == "--hosts")
        o.generated = Number(arg, value());
    else if (arg == "--base-ip")
        o.baseIp = o.from.baseIp = value();
    else if (arg == "--from")
        o.from.paths.push_back(value());
    else if (arg == "--renumber")
        o.from.renumber = true;
    else if (arg == "--state")
        o.stateDir = value();
    else if (arg == "--reset")
        o.reset = true;
    else if (arg == "--script")
        o.scriptPath = value();
    else if (arg == "--log")
        o.logPath = value();
    else if (arg == "--ready-file")
        o.readyFile = value();
    else if (arg == "--port")
        o.port = static_cast<uint16_t>(Number(arg, value()));
    else if (arg == "--silent") {
        FaultRule silence;
        silence.silent = true;
        o.config.faults.push_back(silence);
    } else if (arg == "--fault")
        o.config.faults.push_back(ParseFault(nlohmann::json::parse(value())));
    else if (arg == "--answer-spread-ms")
        o.config.answerSpreadMs = Number(arg, value());
    else if (arg == "--help" || arg == "-h")
        o.help = true;
    else
        return false;
    return true;
}

}  // namespace

Options ParseArguments(int argc, char** argv) {
    Options o;
    o.port = kHostPort;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError(arg + " needs a value");
            return argv[++i];
        };
        if (!TakeOption(arg, value, o)) throw UsageError("unknown argument " + arg);
    }
    if (o.reset && o.stateDir.empty()) throw UsageError("--reset needs --state");
    if (o.generated > 0 && o.baseIp.empty()) throw UsageError("--hosts needs --base-ip");
    return o;
}

SimConfig Assemble(Options& o) {
    SimConfig config = std::move(o.config);
    if (o.generated > 0) {
        auto hosts = GenerateHosts(o.generated, o.baseIp);
        config.hosts.insert(config.hosts.end(), hosts.begin(), hosts.end());
        // Files renumbered play after the generated hosts.
        o.from.baseIp = FormatAddress(ParseAddress(o.baseIp) + static_cast<uint32_t>(o.generated));
    }
    if (!o.from.paths.empty()) {
        std::vector<std::string> taken;
        for (const SimHost& h : config.hosts) taken.push_back(h.address);
        LoadedHosts loaded = LoadFromFiles(o.from, taken);
        for (const std::string& why : loaded.skipped)
            std::fprintf(stderr, "tarnwick-hostsim: skipped %s\n", why.c_str());
        if (!loaded.renumbered.empty() && !o.from.renumber)
            std::fprintf(stderr,
                         "tarnwick-hostsim: the files' addresses clash (%s): played from %s on\n",
                         loaded.renumbered.c_str(), o.from.baseIp.c_str());
        for (SimHost& h : loaded.hosts) config.hosts.push_back(std::move(h));
    }
    if (config.hosts.empty()) throw std::runtime_error("no host to play");
    return config;
}

}  // namespace tarnwick::hostsim

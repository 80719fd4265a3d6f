// search: the host list's broadcast; prints every host that answered.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "storage/replacement_file.h"

namespace tarnwick::cli {
namespace {

// The JSON names of the host list's columns 1 to 7.
constexpr const char* kColumnKeys[HostListModel::kColumns] = {
    nullptr, "address", "port", "deviceId", "moduleType", "hostType", "mask", "gateway"};

void PrintHosts(const HostListModel& list, bool json) {
    if (json) {
        nlohmann::ordered_json doc;
        doc["command"] = "search";
        doc["ok"] = true;
        doc["hosts"] = nlohmann::ordered_json::array();
        for (int row = 1; row < list.NextRow(); ++row) {
            nlohmann::ordered_json host;
            for (int c = 1; c < HostListModel::kColumns; ++c)
                host[kColumnKeys[c]] = list.Field(row, c);
            doc["hosts"].push_back(host);
        }
        PrintJson(doc);
        return;
    }
    for (int row = 0; row < list.NextRow(); ++row) {
        for (int c = 1; c < HostListModel::kColumns; ++c)
            std::cout << (c > 1 ? "\t" : "") << list.Field(row, c);
        std::cout << "\n";
    }
    std::cout.flush();
}

}  // namespace

Command AddSearchCommand(CLI::App& app) {
    struct Options {
        bool json = false;
        std::string out;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub =
        app.add_subcommand("search", "Broadcast the search and list the hosts that answer");
    sub->add_flag("--json", o->json, "One JSON document on standard output");
    sub->add_option("-o,--out", o->out, "Also write the addresses found as a host list file");
    return {sub, [o] {
                CliHost tool;
                const HostListModel list = tool.Search();
                PrintHosts(list, o->json);
                if (!o->out.empty()) {
                    std::string addresses;
                    for (int row = 1; row < list.NextRow(); ++row)
                        addresses += list.Field(row, 1) + "\n";
                    try {
                        ReplaceFileContent(o->out, addresses, FileAccess::AsUsual);
                    } catch (const FileWriteError& e) {
                        std::cerr << o->out << ": 写入失败（" << e.what() << "）\n";
                        return kExitFailed;
                    }
                }
                std::cerr << "找到 " << list.NextRow() - 1 << " 台主机" << std::endl;
                return kExitOk;
            }};
}

}  // namespace tarnwick::cli

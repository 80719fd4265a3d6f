#pragma once
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "hosts/host_list_file.h"
#include "hosts/host_target.h"

namespace tarnwick::cli {

class CliHost;

// What one host command did with one host.
struct HostResult {
    std::string address;
    bool ok = false;
    std::string message;
    std::string file;              // the file written, if any
    nlohmann::ordered_json extra;  // command-specific fields of the JSON output
    std::string report;            // printed below the host's line in text output
    HostTarget target;             // where the host is reached (its address is `address`)
};

// Runs `work` for every host, at most `jobs` hosts at once, each thread
// with a CliHost of its own on `database` that its hosts take in turn. The
// database is made once before the threads start. `work` fills the result,
// which starts as a success; whatever it throws marks the host failed with
// the exception's text, together with any box the flow showed. Results come back in the order of
// `hosts`; when standard error is a terminal, one progress line is written there as each host
// ends.
struct HostOptions;
std::vector<HostResult> ForEachHost(const std::vector<HostTarget>& hosts,
                                    const HostOptions& options,
                                    const std::function<void(CliHost&, HostResult&)>& work);

// Standard output: one JSON document, or a line per host (address, 成功 or
// 失败, message, file) with its report below. Standard error names the
// failed hosts. Returns the exit status: 0 when every host succeeded.
int PrintResults(const std::string& command, const std::vector<HostResult>& results,
                 const std::vector<HostListFile::Skipped>& skipped, bool json);

// The document as standard output shows it: two blanks of indent (or, with
// `indent` -1, one line), and text that is not UTF-8 (a file name, a line of
// a host list) with U+FFFD for each bad byte, so that the document is never
// lost after the work is done.
std::string JsonText(const nlohmann::ordered_json& doc, int indent = 2);
void PrintJson(const nlohmann::ordered_json& doc);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

}  // namespace tarnwick::cli

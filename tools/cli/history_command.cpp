// history: each host's whole alarm history into one workbook.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "operation/alarm_info_page.h"
#include "output_files.h"

namespace tarnwick::cli {

Command AddHistoryCommand(CLI::App& app) {
    struct Options {
        HostOptions hosts;
        std::string out;
        int pageLimit = 0;
    };
    auto o = std::make_shared<Options>();
    CLI::App* sub =
        app.add_subcommand("history", "Write each host's whole alarm history into a workbook");
    AddHostOptions(*sub, o->hosts);
    sub->add_option("-o,--out", o->out,
                    "Workbook (one host), or folder of <address>.xlsx workbooks")
        ->required();
    sub->add_option("--limit-pages", o->pageLimit, "Read at most this many pages of 20 records")
        ->check(CLI::PositiveNumber);
    return {sub, [o] {
                const HostTargets targets = ResolveHosts(o->hosts);
                const std::string code = InstallerCode(o->hosts.code);
                const auto results =
                    ForEachHost(targets.hosts, o->hosts, [&](CliHost& host, HostResult& r) {
                        const std::string file =
                            OutputFileFor(o->out, r.address, kExportExtension, targets.fromFile);
                        const HistoryExport done = host.History(r.target, code, file, o->pageLimit);
                        const AlarmHistory& h = done.history;
                        r.file = done.path;
                        r.message = std::to_string(h.records.size()) + "条警情记录";
                        if (h.numbersRanOut)
                            r.message += std::string("（") + kRecordNumbersRanOutText + "）";
                        else if (!h.complete)
                            r.message += "（已读满" + std::to_string(h.pages) + "页）";
                        if (done.unreadable > 0)
                            r.message +=
                                "，其中" + std::to_string(done.unreadable) + "条的防区无法识别";
                        r.extra["records"] = h.records.size();
                        r.extra["pages"] = h.pages;
                        r.extra["complete"] = h.complete;
                        r.extra["unreadable"] = done.unreadable;
                    });
                return PrintResults("history", results, targets.skipped, o->hosts.json);
            }};
}

}  // namespace tarnwick::cli

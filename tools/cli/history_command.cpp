// history: each host's whole alarm history into one workbook.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli_host.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "operation/alarm_info_page.h"
#include "output_files.h"
#include "storage/xlsx_spreadsheet.h"

namespace tarnwick::cli {
namespace {

// The records each host has in the archive, in the history's workbook.
template <class Options>
int FromArchive(const Options& o, const HostTargets& targets) {
    if (o.hosts.database.empty()) throw UsageError("--from-archive 须与 --database 一起使用");
    const auto results = ForEachHost(targets.hosts, o.hosts, [&](CliHost& host, HostResult& r) {
        const std::string file = WithExportExtension(
            OutputFileFor(o.out, r.address, kExportExtension, targets.fromFile));
        const std::vector<std::string> records = host.ArchivedHistory(r.address);
        int unreadable = 0;
        const SheetCells cells = AlarmHistorySheet(records, host.Data().alarmCodes,
                                                   host.Data().operateCodes, unreadable);
        XlsxSpreadsheet().SaveWorkbook(file, kExportSheetName, cells);
        r.file = file;
        r.message = "存档中" + std::to_string(records.size()) + "条警情记录";
        r.extra["records"] = records.size();
        r.extra["unreadable"] = unreadable;
    });
    return PrintResults("history", results, targets.skipped, o.hosts.json);
}

}  // namespace

Command AddHistoryCommand(CLI::App& app) {
    struct Options {
        HostOptions hosts;
        std::string out;
        int pageLimit = 0;
        bool fromArchive = false;
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
    sub->add_flag("--from-archive", o->fromArchive,
                  "Export the records the archive of --database holds, without reading the host");
    return {sub, [o] {
                const HostTargets targets = ResolveHosts(o->hosts);
                if (o->fromArchive) return FromArchive(*o, targets);
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

// sites: the site book of --database, listed, added to, removed from,
// imported from and exported to CSV.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_database.h"
#include "commands.h"
#include "host_options.h"
#include "host_runs.h"
#include "protocol/local_networks.h"
#include "storage/site_csv.h"

namespace tarnwick::cli {
namespace {

struct Options {
    std::string database;
    bool json = false;
    // add
    std::string name;
    std::string address;
    std::string port;
    std::string notes;
    // import and export
    std::string file;
    bool dryRun = false;
};

void PrintSites(const std::vector<Site>& sites, bool json) {
    if (json) {
        nlohmann::ordered_json doc;
        doc["command"] = "sites list";
        doc["ok"] = true;
        doc["sites"] = nlohmann::ordered_json::array();
        for (const Site& s : sites)
            doc["sites"].push_back({{"name", s.name},
                                    {"address", s.address},
                                    {"port", s.port},
                                    {"notes", s.notes},
                                    {"deviceId", s.deviceId},
                                    {"hostType", s.hostType},
                                    {"moduleType", s.moduleType},
                                    {"lastSeen", s.lastSeen},
                                    {"lastBackup", s.lastBackup}});
        // The last backup's path may hold text that is not UTF-8.
        PrintJson(doc);
        return;
    }
    std::cout << kSiteNameCaption << "\t" << kSiteAddressCaption << "\t" << kSitePortCaption << "\t"
              << kSiteDeviceIdCaption << "\t" << kSiteHostTypeCaption << "\t"
              << kSiteLastSeenCaption << "\t" << kSiteLastBackupCaption << "\t" << kSiteNotesCaption
              << "\n";
    for (const Site& s : sites)
        std::cout << s.name << "\t" << s.address << "\t" << s.port << "\t" << s.deviceId << "\t"
                  << s.hostType << "\t" << s.lastSeen << "\t" << s.lastBackup << "\t" << s.notes
                  << "\n";
    std::cout.flush();
    std::cerr << "站点簿中有 " << sites.size() << " 个站点" << std::endl;
}

// The book of --database, made or brought up to date first.
std::unique_ptr<DatabasePort> OpenBook(const Options& o) {
    return OpenCliDatabase(o.database);
}

int List(const Options& o) {
    const auto db = OpenBook(o);
    PrintSites(SiteBook(*db).List(), o.json);
    return kExitOk;
}

int Add(const Options& o) {
    const auto db = OpenBook(o);
    const std::string problem =
        SiteBook(*db, LocalIPv4Networks()).Add({o.name, o.address, o.port, o.notes});
    if (!problem.empty()) throw UsageError("sites add: " + problem + "未记入站点簿。");
    std::cout << "站点“" << o.name << "”已记入站点簿" << std::endl;
    return kExitOk;
}

int Remove(const Options& o) {
    const auto db = OpenBook(o);
    if (!SiteBook(*db).Remove(o.name)) {
        std::cerr << "sites remove: 站点簿中没有站点“" << o.name << "”" << std::endl;
        return kExitFailed;
    }
    std::cout << "站点“" << o.name << "”已从站点簿中删除" << std::endl;
    return kExitOk;
}

int Import(const Options& o) {
    const auto db = OpenBook(o);
    SiteBook book(*db, LocalIPv4Networks());
    const SiteImport import =
        ImportSiteCsvFile(book, o.file, o.dryRun ? ImportMode::DryRun : ImportMode::Store);
    if (!import.problem.empty()) throw UsageError(o.file + ": 没有导入任何站点：" + import.problem);
    for (const std::string& warning : import.warnings)
        std::cerr << o.file << ": " << warning << "\n";
    for (const SkippedLine& s : import.skipped)
        std::cerr << o.file << ":" << s.line << ": " << SkippedReasonText(s.reason, import.dryRun)
                  << "\n";
    std::cout << (import.dryRun ? "可导入 " : "已导入 ") << import.imported.size()
              << " 个站点（文件编码：" << import.encoding << "）"
              << (import.dryRun ? "，站点簿未改动" : "") << std::endl;
    return import.skipped.empty() ? kExitOk : kExitFailed;
}

int Export(const Options& o) {
    const auto db = OpenBook(o);
    SiteBook book(*db);
    if (o.file.empty() || o.file == "-") {
        std::cout << SiteCsvText(book.List()) << std::flush;
        return kExitOk;
    }
    const size_t count = ExportSiteCsvFile(book, o.file);
    std::cerr << count << " 个站点已导出到 " << o.file << std::endl;
    return kExitOk;
}

}  // namespace

Command AddSitesCommand(CLI::App& app) {
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand("sites", "The site book: hosts kept by name");
    sub->require_subcommand(1);
    // --database may follow the verb too.
    sub->fallthrough();
    sub->add_option("--database", o->database,
                    "db.mdb or postgresql:// address of the database that keeps the site book")
        ->required();
    CLI::App* list = sub->add_subcommand("list", "List every site");
    list->add_flag("--json", o->json, "One JSON document on standard output");
    CLI::App* add = sub->add_subcommand("add", "Add a site");
    add->add_option("name", o->name, "Site name")->required();
    add->add_option("address", o->address, "IPv4 address of its host")->required();
    add->add_option("--port", o->port, "Port of its host (default 5200)");
    add->add_option("--notes", o->notes, "Notes");
    CLI::App* remove = sub->add_subcommand("remove", "Remove a site");
    remove->add_option("name", o->name, "Site name")->required();
    CLI::App* import =
        sub->add_subcommand("import", "Add the sites of a CSV file (UTF-8, else read as GBK)");
    import->add_option("file", o->file, "CSV file with a header line")->required();
    import->add_flag("--dry-run", o->dryRun, "Check every line and report, store nothing");
    CLI::App* exportFile = sub->add_subcommand("export", "Write every site to a CSV file");
    exportFile->add_option("-o,--out", o->file, "CSV file (default: standard output)");
    return {sub, [o, list, add, remove, import, exportFile] {
                if (list->parsed()) return List(*o);
                if (add->parsed()) return Add(*o);
                if (remove->parsed()) return Remove(*o);
                if (import->parsed()) return Import(*o);
                if (exportFile->parsed()) return Export(*o);
                return kExitUsage;
            }};
}

}  // namespace tarnwick::cli

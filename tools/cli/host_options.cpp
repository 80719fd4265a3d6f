#include "host_options.h"

#include <termios.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

#include "cli_database.h"
#include "protocol/local_networks.h"
#include "protocol/name_value_list.h"
#include "protocol/unicast_address.h"
#include "storage/postgres_database.h"
#include "storage/small_file.h"

namespace tarnwick::cli {
namespace {

constexpr const char* kCodePrompt = "安装员密码: ";

// One line from the terminal with its echo off, the terminal put back as it
// was whatever happens.
std::string ReadWithoutEcho() {
    termios saved{};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The text of a host list, refused unless it is a regular file of at most
// kMaxHostListBytes: a device or a pipe would be read without end.
std::string ReadHostListFile(const std::string& path) {
    try {
        return ReadSmallFile(path, kMaxHostListBytes);
    } catch (const FileReadError& e) {
        switch (e.What()) {
            case FileReadError::Kind::NotAFile:
                throw UsageError(path + ": 不是普通文件");
            case FileReadError::Kind::TooLarge:
                throw UsageError(path + ": 文件过大（主机列表最多" +
                                 std::to_string(kMaxHostListBytes / (1024 * 1024)) + "MB）");
            case FileReadError::Kind::CannotOpen:
                break;
        }
        throw UsageError(path + ": 无法打开（" + e.what() + "）");
    }
}

}  // namespace

void AddHostOptions(CLI::App& command, HostOptions& options) {
    CLI::Option* host = command.add_option("--host", options.host, "Host address");
    CLI::Option* hosts = command.add_option(
        "--hosts", options.hostsFile,
        "File of host addresses or site names, one a line ('#' starts a comment)");
    CLI::Option* site =
        command.add_option("--site", options.site, "Site of the site book (needs --database)");
    host->excludes(hosts);
    host->excludes(site);
    hosts->excludes(site);
    command.add_option(
        "--code", options.code,
        std::string("Installer code (else $") + kCodeVariable + ", else asked on the terminal)");
    command.add_option("--database", options.database,
                       "db.mdb or postgresql:// address of the database that keeps the "
                       "operation log, the archives and the site book (default: a scratch one)");
    command.add_option("--operator", options.operatorName,
                       "Operator named in the operation log (default: the user name)");
    command.add_flag("--json", options.json, "One JSON document on standard output");
    command.add_option("--jobs", options.jobs, "Hosts talked to at once")
        ->check(CLI::Range(1, 64))
        ->capture_default_str();
}

HostTargets ResolveHosts(const HostOptions& options) {
    HostTargets targets;
    const std::vector<LocalNetwork> local = LocalIPv4Networks();
    if (!options.host.empty()) {
        const CheckedAddress checked = CheckHostAddress(options.host, local);
        if (!checked.problem.empty())
            throw UsageError("--host " + options.host + ": " + checked.problem);
        targets.hosts.push_back({checked.address, kHostPort, {}});
        return targets;
    }
    if (!options.site.empty()) {
        if (options.database.empty()) throw UsageError("--site 须与 --database 一起使用");
        for (const Site& s : BookedSites(options.database))
            if (SameName(s.name, options.site)) {
                const CheckedAddress checked = CheckHostAddress(s.address, local);
                if (!checked.problem.empty())
                    throw UsageError("--site " + options.site + ": " + s.address + " " +
                                     checked.problem);
                targets.hosts.push_back({checked.address, s.port, s.name});
                return targets;
            }
        throw UsageError("--site " + options.site + ": 站点簿中没有这个站点");
    }
    if (options.hostsFile.empty()) throw UsageError("须以 --host、--hosts 或 --site 指定主机");
    const std::string text = ReadHostListFile(options.hostsFile);
    std::vector<Site> sites;
    if (!options.database.empty()) {
        try {
            sites = BookedSites(options.database);
        } catch (const UsageError& e) {
            // A team database that cannot be reached: the addresses of the
            // list are still reached, its site names are skipped.
            if (!IsPostgresUrl(options.database)) throw;
            SayOnce(e.what());
        }
    }
    const HostListFile list = ParseHostList(text, local, sites);
    for (const HostListFile::Skipped& s : list.skipped)
        std::cerr << options.hostsFile << ":" << s.line << ": " << s.text << ": " << s.reason
                  << "，已跳过\n";
    if (list.hosts.empty()) throw UsageError(options.hostsFile + ": 没有主机地址");
    targets.hosts = list.hosts;
    targets.skipped = list.skipped;
    targets.fromFile = true;
    return targets;
}

std::vector<Site> BookedSites(const std::string& database) {
    const std::unique_ptr<DatabasePort> db = OpenCliDatabase(database);
    try {
        return SiteBook(*db).List();
    } catch (const DatabaseError& e) {
        throw UsageError(MaskedLocation(database) + ": 站点簿无法读取：" + e.what());
    }
}

std::vector<Site> SitesToReach(const std::string& database) {
    const SitesToTalkTo usable = UsableSites(BookedSites(database), LocalIPv4Networks());
    for (const std::string& warning : usable.warnings)
        std::cerr << database << ": " << warning << "\n";
    return usable.sites;
}

std::string InstallerCode(const std::string& option) {
    if (!option.empty()) return option;
    if (const char* env = std::getenv(kCodeVariable); env && *env) return env;
    if (::isatty(STDIN_FILENO) != 1)
        throw UsageError(std::string("缺少安装员密码: 用 --code 或环境变量 ") + kCodeVariable +
                         " 给出");
    std::cerr << kCodePrompt << std::flush;
    std::string code = ReadWithoutEcho();
    if (code.empty()) throw UsageError("缺少安装员密码");
    return code;
}

}  // namespace tarnwick::cli

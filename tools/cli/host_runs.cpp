#include "host_runs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "cli_host.h"
#include "host_options.h"
#include "protocol/timing.h"
#include "storage/postgres_database.h"
#include "storage/schema_migrations.h"
#include "storage/sqlite_database.h"

namespace tarnwick::cli {
namespace {

constexpr const char* kSucceededText = "成功";
constexpr const char* kFailedText = "失败";

// The text of a failure without the address in front, which the result
// line shows already.
std::string WithoutAddress(const std::string& text, const std::string& address) {
    const std::string prefix = address + ": ";
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
}

void RunOne(CliHost& host, const std::function<void(CliHost&, HostResult&)>& work,
            HostResult& result) {
    result.ok = true;
    host.Operator().boxes.clear();
    try {
        work(host, result);
        return;
    } catch (const std::exception& e) {
        result.ok = false;
        result.message = WithoutAddress(e.what(), result.address);
    } catch (...) {
        // Nothing may end the other hosts' threads.
        result.ok = false;
        result.message = "未知错误";
    }
    for (const std::string& box : host.Operator().boxes)
        if (result.message.find(box) == std::string::npos) result.message += "; " + box;
}

// "[k/n] address 成功: message".
class Progress {
  public:
    explicit Progress(size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}
    void Ended(const HostResult& r) {
        if (!shown_) return;
        std::lock_guard<std::mutex> lock(mutex_);
        std::cerr << "[" << ++done_ << "/" << total_ << "] " << r.address << " "
                  << (r.ok ? kSucceededText : kFailedText)
                  << (r.message.empty() ? "" : ": " + r.message) << std::endl;
    }

  private:
    size_t total_;
    bool shown_;
    size_t done_ = 0;
    std::mutex mutex_;
};

}  // namespace

std::string JsonText(const nlohmann::ordered_json& doc, int indent) {
    return doc.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void PrintJson(const nlohmann::ordered_json& doc) {
    std::cout << JsonText(doc) << std::endl;
}

std::vector<HostResult> ForEachHost(const std::vector<HostTarget>& hosts,
                                    const HostOptions& options,
                                    const std::function<void(CliHost&, HostResult&)>& work) {
    std::vector<HostResult> results(hosts.size());
    // Made once, with the site book's tables, before any thread opens it.
    // A team database is made ready by the first program that reaches it,
    // and keeps its rows in the outbox while it cannot be reached.
    std::string noDatabase;
    if (!options.database.empty() && !IsPostgresUrl(options.database)) {
        try {
            EnsureDatabase(options.database);
        } catch (const std::exception& e) {
            noDatabase = e.what();
        }
        if (noDatabase.empty()) {
            try {
                SqliteDatabase db(options.database);
                MigrateSchema(db);
            } catch (const DatabaseError&) {
                // The site book stays unwritten; the rest works without it.
            }
        }
    }
    Progress progress(hosts.size());
    std::atomic<size_t> next{0};
    auto worker = [&] {
        // One core for all the hosts a thread takes: building it costs more
        // than a host's whole backup.
        std::unique_ptr<CliHost> host;
        std::string broken = noDatabase;
        for (size_t i = next++; i < hosts.size(); i = next++) {
            HostResult& r = results[i];
            r.target = hosts[i];
            r.address = hosts[i].address;
            try {
                if (!host && broken.empty())
                    host = std::make_unique<CliHost>(options.database, options.operatorName);
            } catch (const std::exception& e) {
                broken = e.what();
            }
            if (host) {
                RunOne(*host, work, r);
            } else {
                r.ok = false;
                r.message = broken;
            }
            progress.Ended(r);
        }
    };
    const size_t threads = std::min(hosts.size(), static_cast<size_t>(std::max(options.jobs, 1)));
    std::vector<std::thread> running;
    for (size_t t = 1; t < threads; ++t) running.emplace_back(worker);
    worker();
    for (std::thread& t : running) t.join();
    return results;
}

int PrintResults(const std::string& command, const std::vector<HostResult>& results,
                 const std::vector<HostListFile::Skipped>& skipped, bool json) {
    std::vector<std::string> failed;
    for (const HostResult& r : results)
        if (!r.ok) failed.push_back(r.address);
    if (json) {
        nlohmann::ordered_json doc;
        doc["command"] = command;
        doc["ok"] = failed.empty();
        doc["hosts"] = nlohmann::ordered_json::array();
        for (const HostResult& r : results) {
            nlohmann::ordered_json host;
            host["address"] = r.address;
            if (!r.target.site.empty()) host["site"] = r.target.site;
            if (r.target.port != kHostPort) host["port"] = r.target.port;
            host["ok"] = r.ok;
            host["message"] = r.message;
            if (!r.file.empty()) host["file"] = r.file;
            if (r.extra.is_object())
                for (const auto& [key, value] : r.extra.items()) host[key] = value;
            doc["hosts"].push_back(host);
        }
        doc["skippedLines"] = nlohmann::ordered_json::array();
        for (const HostListFile::Skipped& s : skipped)
            doc["skippedLines"].push_back(
                {{"line", s.line}, {"text", s.text}, {"reason", s.reason}});
        PrintJson(doc);
    } else {
        for (const HostResult& r : results) {
            std::cout << r.address;
            if (!r.target.site.empty()) std::cout << "（" << r.target.site << "）";
            std::cout << "  " << (r.ok ? kSucceededText : kFailedText);
            if (!r.message.empty()) std::cout << "  " << r.message;
            if (!r.file.empty()) std::cout << "  → " << r.file;
            std::cout << "\n" << r.report;
        }
        std::cout.flush();
    }
    if (!failed.empty()) {
        std::cerr << results.size() << " 台主机中 " << failed.size() << " 台失败:";
        for (const std::string& a : failed) std::cerr << " " << a;
        std::cerr << std::endl;
    }
    return failed.empty() ? kExitOk : kExitFailed;
}

}  // namespace tarnwick::cli

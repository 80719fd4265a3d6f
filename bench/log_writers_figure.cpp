#include "log_writers_figure.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <thread>
#include <vector>

#include "storage/code_tables.h"
#include "storage/database_opening.h"
#include "storage/postgres_database.h"

namespace tarnwick::bench {

int MeasureLogWriters(const std::string& location, int rows) {
    constexpr int kWriters = 4;
    OpenedDatabase opened = OpenDatabase(location);
    if (!opened.problem.empty()) {
        std::fprintf(stderr, "%s\n", opened.problem.c_str());
        return 1;
    }
    const std::string tag =
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    const auto start = std::chrono::steady_clock::now();
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            OpenedDatabase mine = OpenDatabase(location);
            SystemClock clock;
            HostSession session;
            OperationLog log(*mine.db, clock, session);
            for (int i = 0; i < rows; ++i)
                if (!log.Write(tag + "-" + std::to_string(w) + "-" + std::to_string(i), "").empty())
                    ++failures;
        });
    for (std::thread& t : writers) t.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::set<std::string> seen;
    for (const DbRow& row : opened.db->SelectWith(
             "SELECT OperationInfo FROM OperationLog WHERE OperationInfo LIKE :Tag",
             {{"Tag", tag + "-%"}}))
        seen.insert(DbColumn(row, "OperationInfo"));
    const bool whole = failures == 0 && seen.size() == static_cast<size_t>(kWriters * rows);
    const std::string engine = IsPostgresUrl(location) ? "PostgreSQL" : "SQLite";
    std::printf("operation-log rows, %d writers at once (%s): %.0f rows/s, %zu of %d kept%s\n",
                kWriters, engine.c_str(), kWriters * rows / seconds, seen.size(), kWriters * rows,
                whole ? "" : "   [budget missed: every row kept]");
    return whole ? 0 : 1;
}

}  // namespace tarnwick::bench

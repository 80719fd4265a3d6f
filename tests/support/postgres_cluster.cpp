#include "support/postgres_cluster.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "storage/postgres_database.h"

#ifndef TARNWICK_SOURCE_DIR
#error "TARNWICK_SOURCE_DIR names the sources"
#endif

namespace tarnwick::testing {

PostgresCluster::PostgresCluster()
    : dir_(std::make_unique<TempDir>()), folder_(dir_->Path().string()), owned_(true) {
    Script("start");
}

PostgresCluster::PostgresCluster(std::string folder) : folder_(std::move(folder)), owned_(false) {}

PostgresCluster::~PostgresCluster() {
    if (owned_) Script("stop");
}

void PostgresCluster::Script(const std::string& verb) const {
    const std::string command = std::string(TARNWICK_SOURCE_DIR) +
                                "/tests/support/postgres_cluster.sh " + verb + " '" + folder_ + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("postgres_cluster.sh " + verb + " failed in " + folder_);
}

std::string PostgresCluster::Url(const std::string& database, const std::string& user,
                                 const std::string& password) const {
    return "postgresql:///" + database + "?host=" + folder_ + "&user=" + user +
           (password.empty() ? "" : "&password=" + password);
}

std::string PostgresCluster::FreshDatabase() {
    static std::atomic<int> counter{0};
    const std::string name =
        "tarnwick_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    PostgresDatabase(Url("postgres")).Execute("CREATE DATABASE " + name, {});
    return Url(name);
}

void PostgresCluster::Pause() {
    Script("pause");
}

void PostgresCluster::Resume() {
    Script("start");
}

PostgresCluster& SharedPostgres() {
    static const std::unique_ptr<PostgresCluster> cluster = [] {
        const char* running = std::getenv("TARNWICK_TEST_POSTGRES");
        return running && *running ? std::make_unique<PostgresCluster>(running)
                                   : std::make_unique<PostgresCluster>();
    }();
    return *cluster;
}

}  // namespace tarnwick::testing

#pragma once
#include <memory>
#include <string>

#include "support/temp_dir.h"

namespace tarnwick::testing {

// A private PostgreSQL server (tests/support/postgres_cluster.sh): its own
// folder, a Unix socket in it, no TCP. Stopped and removed with the object.
class PostgresCluster {
  public:
    // Starts a new cluster in a temporary folder; throws std::runtime_error
    // with the server's own words when it cannot.
    PostgresCluster();
    // A cluster already running in `folder` (started by ctest before the
    // tests); it is left running.
    explicit PostgresCluster(std::string folder);
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // The address of `database` for `user` (and `password`).
    std::string Url(const std::string& database, const std::string& user = "tarnwick",
                    const std::string& password = {}) const;
    // A new empty database of its own name; its address.
    std::string FreshDatabase();
    // Stops the server (as if it went away) and starts it again.
    void Pause();
    void Resume();

  private:
    void Script(const std::string& verb) const;
    std::unique_ptr<TempDir> dir_;
    std::string folder_;
    bool owned_;
};

// The cluster of this test process: the one $TARNWICK_TEST_POSTGRES names
// (ctest starts it before the tests), else one started on first use and
// stopped when the process ends.
PostgresCluster& SharedPostgres();

}  // namespace tarnwick::testing

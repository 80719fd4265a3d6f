#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "storage/sqlite_database.h"
#include "support/hostsim_process.h"
#include "support/lab_env.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace tarnwick::testing {

// A data module on real UDP endpoints, run inside the lab's tool namespace,
// with a fresh database and a recording operator. Outside a lab the tests are
// skipped; in a namespace that is not the lab's they fail without sending.
class LabFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a simulator in `ns` playing the hosts of `configJson`.
    std::unique_ptr<HostsimProcess> StartHostsim(const std::string& ns,
                                                 const std::string& configJson,
                                                 const std::vector<std::string>& args = {});
    // A host at the first single-host address with extra JSON fields, e.g.
    // R"("faults": [{"match": "1181", "strays": 2}])".
    std::unique_ptr<HostsimProcess> StartOneHost(const std::string& fields = "");
    // The text of the exchange of Request(pair, data) to the host at the first
    // single-host address.
    std::string Exchange(std::string_view pair, std::string_view data = {});

    std::optional<LabEnv> lab;
    TempDir dir;
    RecordingOperator op;
    SystemClock clock;
    std::unique_ptr<SqliteDatabase> db;
    std::unique_ptr<DataModule> tdm;
};

// A lab fixture with the host window and its standard pages on the lab's
// data module, gone before the data module is.
class LabWindowFixture : public LabFixture {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<HostWindow> window;
};

}  // namespace tarnwick::testing

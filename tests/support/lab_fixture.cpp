#include "support/lab_fixture.h"

#include "app/standard_decoders.h"
#include "app/standard_pages.h"
#include "app/standard_ports.h"
#include "common/lab_namespace.h"
#include "protocol/command_entry.h"
#include "protocol/frame_codec.h"
#include "protocol/timing.h"
#include "storage/schema_migrations.h"

namespace tarnwick::testing {

void LabFixture::SetUp() {
    lab = LabEnv::FromEnvironment();
    if (!lab) GTEST_SKIP() << "needs the lab: run through tests/lab/run_network_tests.sh";
    if (!lab::InNamedNetworkNamespace())
        GTEST_FAIL() << "the lab's variables are set but this is not a lab namespace; "
                        "nothing is sent";
    ASSERT_FALSE(lab->hostNs.empty());
    EnsureDatabase(dir.File("db.mdb"));
    db = std::make_unique<SqliteDatabase>(dir.File("db.mdb"));
    // As start-up leaves it: the seed's tables and those added since.
    MigrateSchema(*db);
    tdm = std::make_unique<DataModule>(op, *db, clock, DataModule::UdpEndpoints(op), kHostPort);
    RegisterStandardDecoders(tdm->decoders);
    AttachStandardPorts(*tdm);
    ASSERT_EQ(tdm->LoadCodeTables(), "");
    tdm->session.SetCurrentHost(lab->hostIps[0]);
}

void LabFixture::TearDown() {
    tdm.reset();
}

void LabWindowFixture::SetUp() {
    LabFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    window = std::make_unique<HostWindow>(*tdm);
    AssembleStandardPages(*window);
}

void LabWindowFixture::TearDown() {
    window.reset();
    LabFixture::TearDown();
}

std::unique_ptr<HostsimProcess> LabFixture::StartHostsim(const std::string& ns,
                                                         const std::string& configJson,
                                                         const std::vector<std::string>& args) {
    return std::make_unique<HostsimProcess>(lab->hostsim, ns, configJson, args);
}

std::unique_ptr<HostsimProcess> LabFixture::StartOneHost(const std::string& fields) {
    std::string host = R"({"address": ")" + lab->hostIps[0] + "\"";
    if (!fields.empty()) host += ", " + fields;
    return StartHostsim(lab->hostNs[0], R"({"hosts": [)" + host + "}]}");
}

std::string LabFixture::Exchange(std::string_view pair, std::string_view data) {
    return tdm->exchanger.Exchange(Request(pair, data)).text;
}

}  // namespace tarnwick::testing

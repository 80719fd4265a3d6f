#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/standard_pages.h"
#include "backup/config_actions.h"
#include "backup/snapshot_reads.h"
#include "hosts/login.h"
#include "modules/nm_decoder.h"
#include "support/config_host.h"
#include "support/host_window_fixture.h"
#include "support/recording_operator.h"

namespace tarnwick::testing {

// The host window with its configuration actions, logged in with the sample
// host's installer code, on a host answering every read.
struct ActionsFixture : HostWindowFixture {
    ActionsFixture() {
        AssembleScratchPages(scratch);
        login.password = "123456";
        Answer(SampleBodies());
        actions.showComparison = [this](const ComparisonTable& t) { shown = t; };
    }
    // The host now holds `bodies`.
    void Answer(const SectionArray& bodies) {
        *host = bodies;
        // Blank centre addresses are written as 0.0.0.0 with every restore.
        f.client().responder =
            ConfigHost(SnapshotReads(window), host, {kNmSetCentreIpPair, kNmSetLocalPair});
    }
    // Backs the host up into `name` in the test folder; the path written.
    std::string BackUp(const std::string& name) {
        const std::string path = f.dir.File(name);
        actions.chooseBackupPath = [path](const std::string&) { return path; };
        actions.Backup();
        return WithExtension(path);
    }
    static std::string WithExtension(const std::string& path) {
        return path.find(".json") == std::string::npos ? path + ".json" : path;
    }
    std::vector<RecordingOperator::Box>& boxes() { return f.op.boxes; }
    bool Idle() const {
        return window.pcMainEnabled && window.bottomEnabled && !f.tdm->flowRunning;
    }

    HostWindow scratch{*f.tdm};
    LoginDialog login;
    // The backups are sealed, so that they read back whole.
    CodeKeys codes{"test passphrase", f.dir.File("team.key"), DerivationCost::Least};
    ConfigActions actions{window, scratch, login, codes};
    std::shared_ptr<SectionArray> host = std::make_shared<SectionArray>();
    std::optional<ComparisonTable> shown;
};

// Section 04 with zone 3 of another type.
SectionArray ZoneThreeChanged();

// Whether anything stands under the path.
bool Exists(const std::string& path);

// Every section write the client sent.
std::vector<int> SectionWrites(const ActionsFixture& a);

}  // namespace tarnwick::testing

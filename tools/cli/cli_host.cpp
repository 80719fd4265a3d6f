#include "cli_host.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/standard_decoders.h"
#include "app/standard_pages.h"
#include "backup/snapshot_reads.h"
#include "protocol/timing.h"

#ifndef TARNWICK_VERSION
#define TARNWICK_VERSION "unknown"
#endif

namespace tarnwick::cli {

CliHost::CliHost() {
    char folder[] = "/tmp/tarnwick-cli-XXXXXX";
    const char* made = ::mkdtemp(folder);
    if (!made) throw SnapshotError("无法建立临时目录");
    dir_ = made;
    EnsureDatabase(dir_ + "/db.mdb");
    db_ = std::make_unique<SqliteDatabase>(dir_ + "/db.mdb");
    tdm_ =
        std::make_unique<DataModule>(op_, *db_, clock_, DataModule::UdpEndpoints(op_), kHostPort);
    RegisterStandardDecoders(tdm_->decoders);
    tdm_->LoadCodeTables();
    window_ = std::make_unique<HostWindow>(*tdm_);
    AssembleStandardPages(*window_);
}

CliHost::~CliHost() {
    window_.reset();
    tdm_.reset();
    db_.reset();
    std::remove((dir_ + "/db.mdb").c_str());
    ::rmdir(dir_.c_str());
}

ConfigSnapshot CliHost::Backup(const std::string& host, const std::string& installerCode) {
    tdm_->session.SetCurrentHost(host);
    return TakeSnapshot(*tdm_, SnapshotReads(*window_), installerCode, TARNWICK_VERSION);
}

}  // namespace tarnwick::cli

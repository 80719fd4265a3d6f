#include "cli_host.h"

#include <filesystem>

#include "app/standard_decoders.h"
#include "app/standard_pages.h"
#include "backup/snapshot_file.h"
#include "backup/snapshot_reads.h"
#include "cli_database.h"
#include "host_options.h"
#include "hosts/host_search.h"
#include "operation/alarm_info_page.h"
#include "operation/remote_commands.h"
#include "programming/programming_requests.h"
#include "protocol/hex_text.h"
#include "protocol/timing.h"
#include "storage/archives.h"
#include "storage/schema_migrations.h"
#include "storage/site_book.h"
#include "storage/sqlite_database.h"
#include "storage/xlsx_spreadsheet.h"

#ifndef TARNWICK_VERSION
#define TARNWICK_VERSION "unknown"
#endif

namespace tarnwick::cli {
namespace {

const std::string kInstallerKey(kInstallerCodeKey);

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

CliHost::CliHost(const std::string& database, const std::string& operatorName) {
    if (database.empty()) {
        scratch_ = true;
        db_ = SqliteDatabase::InMemory();
    } else {
        db_ = OpenCliDatabaseWithOutbox(database).db;
    }
    tdm_ =
        std::make_unique<DataModule>(op_, *db_, clock_, DataModule::UdpEndpoints(op_), kHostPort);
    if (!operatorName.empty()) {
        Workplace workplace = ThisWorkplace();
        workplace.operatorName = operatorName;
        tdm_->operationLog.SetWorkplace(workplace);
    }
    RegisterStandardDecoders(tdm_->decoders);
    tdm_->LoadCodeTables();
    window_ = std::make_unique<HostWindow>(*tdm_);
    AssembleStandardPages(*window_);
}

CliHost::~CliHost() {
    window_.reset();
    tdm_.reset();
}

void CliHost::Select(const HostTarget& host) {
    tdm_->session.SetCurrentHost(host.address, host.port);
}

void CliHost::Login(const HostTarget& host, const std::string& installerCode) {
    Select(host);
    tdm_->params.Set(kInstallerKey, "");
    const CommandEntry read = InstallerCodeRequest();
    tdm_->exchanger.Exchange(read);
    if (!tdm_->params.Has(kInstallerKey)) throw HostError(read.pair + ": 主机无应答");
    if (tdm_->params.Get(kInstallerKey) != installerCode) throw HostError("安装员密码有误");
}

ConfigSnapshot CliHost::Backup(const HostTarget& host, const std::string& installerCode) {
    Select(host);
    return TakeSnapshot(*tdm_, SnapshotReads(*window_), installerCode, TARNWICK_VERSION);
}

HistoryExport CliHost::History(const HostTarget& host, const std::string& installerCode,
                               const std::string& path, int pageLimit) {
    Login(host, installerCode);
    XlsxSpreadsheet spreadsheet;
    try {
        return ExportWholeHistory(*tdm_, spreadsheet, path, pageLimit);
    } catch (const SpreadsheetError& e) {
        // The port gives the reason alone; the installer needs the file too.
        throw HostError(WithExportExtension(path) + ": 写入失败（" + e.what() + "）");
    }
}

std::string CliHost::TimeSync(const HostTarget& host, const std::string& installerCode) {
    Login(host, installerCode);
    op_.boxes.clear();
    SyncHostTime(*window_);
    // The page shows the host's answer in a box and nothing without one.
    if (op_.boxes.empty()) throw HostError("系统时间校准: 主机无应答");
    // Its first line is the host's answer; a line about the operation log may follow.
    const std::string answer = op_.boxes.front().substr(0, op_.boxes.front().find('\r'));
    if (!EndsWith(answer, ResultText(1))) throw HostError(op_.boxes.front());
    return answer;
}

std::string CliHost::RecordBackup(const std::string& address, const std::string& path) {
    if (scratch_) return {};
    try {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(path, error);
        SiteBook(*db_).RecordBackup(address, error ? path : full.string());
    } catch (const std::exception& e) {
        return std::string(kSiteBookUnwritableText) + e.what();
    }
    return {};
}

std::string CliHost::ArchiveBackup(const ConfigSnapshot& snapshot, CodeKeys& keys) {
    if (scratch_) return {};
    return ArchiveSnapshot(*tdm_, snapshot, keys);
}

std::vector<std::string> CliHost::ArchivedHistory(const std::string& host) {
    return ArchivedAlarmRecords(*db_, host);
}

HostListModel CliHost::Search() {
    HostListWindowModel list;
    RunHostSearch(*tdm_, list);
    if (!op_.boxes.empty()) {
        // Another program listens on the host port: nothing this run can do.
        if (op_.boxes.back() == PortInUseText()) throw UsageError(op_.boxes.back());
        throw HostError(op_.boxes.back());
    }
    return list.list;
}

}  // namespace tarnwick::cli

#include "hosts/site_book_window.h"

#include "protocol/local_networks.h"
#include "protocol/operator_port.h"
#include "protocol/text_helpers.h"
#include "storage/file_paths.h"
#include "storage/site_csv.h"

namespace tarnwick {
namespace {

constexpr const char* kGrid = "strgridSites";
constexpr const char* kState = "lblSiteBookState";
constexpr uint32_t kAwayColor = 0xC00000;
constexpr const char* kChangingButtons[] = {"bbtnAddSite", "bbtnEditSite", "bbtnRemoveSite",
                                            "bbtnImportSites"};
constexpr const char* kCaptions[] = {
    kSiteNameCaption,       kSiteAddressCaption,  kSitePortCaption,
    kSiteNotesCaption,      kSiteDeviceIdCaption, kSiteHostTypeCaption,
    kSiteModuleTypeCaption, kSiteLastSeenCaption, kSiteLastBackupCaption};

std::vector<std::string> GridRow(const Site& s) {
    return {s.name,       s.address,  std::to_string(s.port),
            s.notes,      s.deviceId, s.hostType,
            s.moduleType, s.lastSeen, s.lastBackup};
}

}  // namespace

SiteEditDialog::SiteEditDialog() {
    AddCaptionedEdits(controls, kFields);
    controls.Button("bbtnSiteOK", "确定");
    controls.Button("bbtnSiteCancel", "取消");
}

void SiteEditDialog::Fill(const SiteInput& input) {
    controls["edtSiteName"].text = input.name;
    controls["edtSiteIP"].text = input.address;
    controls["edtSitePort"].text = input.port;
    controls["edtSiteNotes"].text = input.notes;
    controls.Changed();
}

SiteInput SiteEditDialog::Typed() const {
    return {controls["edtSiteName"].text, controls["edtSiteIP"].text, controls["edtSitePort"].text,
            controls["edtSiteNotes"].text};
}

std::string ImportSitesQuestion(size_t sites) {
    return "是否将这" + std::to_string(sites) + "个站点导入站点簿？";
}

std::string RemoveSiteQuestion(const std::string& name) {
    return "确定要从站点簿中删除站点“" + name + "”吗？";
}

SiteBookWindow::SiteBookWindow(OperatorPort& op, DatabasePort& db)
    : op_(op), book_(db, LocalIPv4Networks()) {
    Control& grid = controls.Add(kGrid, ControlKind::Grid);
    grid.caption = kSiteBookTitle;
    grid.cells.push_back(std::vector<std::string>(std::begin(kCaptions), std::end(kCaptions)));
    controls.Button("bbtnAddSite", "添加...");
    controls.Button("bbtnEditSite", "编辑...");
    controls.Button("bbtnRemoveSite", "删除");
    controls.Button("bbtnImportSites", "导入...");
    controls.Button("bbtnExportSites", "导出...");
    controls.Button("bbtnCloseSites", "关闭");
    controls.Label(kState);
    controls.OnClick("bbtnAddSite", [this] { Guarded([this] { Add(); }); });
    controls.OnClick("bbtnEditSite", [this] { Guarded([this] { Edit(); }); });
    controls.OnClick("bbtnRemoveSite", [this] { Guarded([this] { Remove(); }); });
    controls.OnClick("bbtnImportSites", [this] { Guarded([this] { Import(); }); });
    controls.OnClick("bbtnExportSites", [this] { Guarded([this] { Export(); }); });
}

void SiteBookWindow::Guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const DatabaseError& e) {
        if (!IsConnectionLost(e)) {
            op_.Error(kSiteBookProblemText + std::string(e.what()));
            return;
        }
        ShowReachable(false);
        op_.Error(std::string(kSiteBookAwayText) + "，未作改动。\r\n" + e.what());
    }
}

void SiteBookWindow::ShowReachable(bool reachable) {
    controls[kState].text = reachable ? "" : kSiteBookAwayText;
    controls[kState].color = reachable ? std::nullopt : std::optional<uint32_t>(kAwayColor);
    for (const char* button : kChangingButtons) controls[button].enabled = reachable;
    controls["bbtnEditSite"].enabled = reachable && selected > 0;
    controls["bbtnRemoveSite"].enabled = reachable && selected > 0;
    controls.Changed();
}

void SiteBookWindow::Reload() {
    const std::string keep = Selected() ? Selected()->name : std::string();
    bool reachable = true;
    try {
        sites_ = book_.List();
    } catch (const DatabaseError& e) {
        // A team database away: the book last read stays on show.
        reachable = !IsConnectionLost(e);
        if (reachable) {
            sites_.clear();
            op_.Error(kSiteBookProblemText + std::string(e.what()));
        }
    }
    Control& grid = controls[kGrid];
    grid.cells.resize(1);
    for (const Site& s : sites_) grid.cells.push_back(GridRow(s));
    selected = sites_.empty() ? 0 : 1;
    Select(keep);
    ShowReachable(reachable);
}

void SiteBookWindow::Select(const std::string& name) {
    for (size_t i = 0; i < sites_.size(); ++i)
        if (sites_[i].name == name) selected = static_cast<int>(i) + 1;
}

const Site* SiteBookWindow::Selected() const {
    if (selected < 1 || selected > static_cast<int>(sites_.size())) return nullptr;
    return &sites_[static_cast<size_t>(selected - 1)];
}

void SiteBookWindow::EditUntilStored(const std::function<std::string(const SiteInput&)>& store) {
    while (true) {
        if (!edit.show || !edit.show(edit)) return;
        const std::string problem = store(edit.Typed());
        if (problem.empty()) break;
        op_.Warning(problem);
    }
    Reload();
    Select(Trim(edit.Typed().name));
    controls.Changed();
}

void SiteBookWindow::Add() {
    edit.title = kAddSiteTitle;
    edit.Fill({"", "", std::to_string(kHostPort), ""});
    EditUntilStored([this](const SiteInput& input) { return book_.Add(input); });
}

void SiteBookWindow::Edit() {
    const Site* site = Selected();
    if (!site) return;
    const std::string name = site->name;
    edit.title = kEditSiteTitle;
    edit.Fill({site->name, site->address, std::to_string(site->port), site->notes});
    EditUntilStored([this, name](const SiteInput& input) { return book_.Update(name, input); });
}

void SiteBookWindow::Remove() {
    const Site* site = Selected();
    if (!site) return;
    const std::string name = site->name;
    if (!op_.Ask(RemoveSiteQuestion(name))) return;
    // Asked first: a team database away would keep the removal for later.
    book_.Find(name);
    book_.Remove(name);
    Reload();
}

void SiteBookWindow::Import() {
    if (!chooseImportPath) return;
    const std::string path = chooseImportPath();
    if (path.empty()) return;
    // The report comes first as a dry run: its 否 (the default) stores nothing.
    const SiteImport preview = ImportSiteCsvFile(book_, path, ImportMode::DryRun);
    if (!preview.problem.empty() || preview.imported.empty()) {
        op_.Warning(SiteImportReportText(preview));
        return;
    }
    if (!op_.Ask(SiteImportReportText(preview) + "\r\n\r\n" +
                 ImportSitesQuestion(preview.imported.size())))
        return;
    const SiteImport import = ImportSiteCsvFile(book_, path);
    Reload();
    if (import.problem.empty() && import.skipped.empty() && import.warnings.empty())
        op_.Information(SiteImportReportText(import));
    else
        op_.Warning(SiteImportReportText(import));
}

void SiteBookWindow::Export() {
    if (!chooseExportPath) return;
    std::string path = chooseExportPath(std::string(kSiteBookTitle) + ".csv");
    if (path.empty()) return;
    path = WithDefaultExtension(path, "csv");
    size_t exported = 0;
    try {
        exported = ExportSiteCsvFile(book_, path);
    } catch (const DatabaseError&) {
        throw;
    } catch (const std::exception& e) {
        op_.Warning(std::string("站点簿导出失败：") + e.what());
        return;
    }
    op_.Information("站点簿的" + std::to_string(exported) + "个站点已导出到\r\n" + path);
}

}  // namespace tarnwick

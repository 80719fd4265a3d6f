#pragma once
#include <functional>
#include <string>
#include <vector>

#include "hosts/captioned_edits.h"
#include "hosts/page_model.h"
#include "protocol/unicast_address.h"
#include "storage/site_book.h"

namespace tarnwick {

class OperatorPort;
class DatabasePort;

// The dialog that adds or edits one site, without its widgets: name,
// address, port and notes. Its title says which of the two it does.
class SiteEditDialog {
  public:
    SiteEditDialog();
    // The four edits with their labels, in reading order.
    static constexpr CaptionedEdit kFields[] = {
        {"edtSiteName", "lblSiteName", kSiteNameCaption},
        {"edtSiteIP", "lblSiteIP", kSiteAddressCaption, kIPv4TextLength, KeyFilter::Address},
        {"edtSitePort", "lblSitePort", kSitePortCaption, 5, KeyFilter::Digits},
        {"edtSiteNotes", "lblSiteNotes", kSiteNotesCaption}};

    void Fill(const SiteInput& input);
    SiteInput Typed() const;

    PageModel controls;
    std::string title;
    // Shows the dialog modally; true for OK, false for Cancel.
    std::function<bool(SiteEditDialog&)> show;
};

inline constexpr const char* kSiteBookTitle = "站点簿";
inline constexpr const char* kSitesAction = "站点...";
inline constexpr const char* kAddSiteTitle = "添加站点";
inline constexpr const char* kEditSiteTitle = "编辑站点";
inline constexpr const char* kSiteCsvFilter = "*.csv";
inline constexpr const char* kImportSitesTitle = "选择要导入站点簿的CSV文件";
inline constexpr const char* kExportSitesTitle = "将站点簿导出为CSV文件";
inline constexpr const char* kSiteBookProblemText = "站点簿无法使用：";
// While the team database cannot be reached: the book shown is the one last
// read, and it takes no changes.
inline constexpr const char* kSiteBookAwayText = "团队数据库无法连接，站点簿为上次读取的内容";

// The site book window without its widgets: the grid of every site and the
// buttons that add, edit, remove, import and export. Every change is stored
// at once; a wrong field is named in a box and the dialog comes back with
// the text kept. While the team database cannot be reached the grid keeps
// the book last read, the window says so, and changes are refused. An
// import shows its report as a dry run first and stores the sites only when
// the operator answers 是.
class SiteBookWindow {
  public:
    SiteBookWindow(OperatorPort& op, DatabasePort& db);

    // The grid from the book.
    void Reload();
    // The sites the grid shows, in its order (row 1 is the first).
    const std::vector<Site>& Sites() const { return sites_; }
    // Selects the row of the site named `name`, if listed.
    void Select(const std::string& name);

    PageModel controls;
    // The data row (1-based) selected in the grid, 0 for none.
    int selected = 0;
    SiteEditDialog edit;
    // The open dialog of the import: the path, empty when cancelled.
    std::function<std::string()> chooseImportPath;
    // The save dialog of the export, offered `suggestedName`: the path, empty
    // when cancelled.
    std::function<std::string(const std::string& suggestedName)> chooseExportPath;

  private:
    void Add();
    void Edit();
    void Remove();
    void Import();
    void Export();
    // Runs `body`; a database failure is said in an error box.
    void Guarded(const std::function<void()>& body);
    // The state line and the buttons that change the book.
    void ShowReachable(bool reachable);
    // Shows the edit dialog until what it holds is stored by `store` (which
    // returns what is wrong) or it is cancelled.
    void EditUntilStored(const std::function<std::string(const SiteInput&)>& store);
    const Site* Selected() const;

    OperatorPort& op_;
    SiteBook book_;
    std::vector<Site> sites_;
};

// The question before a site is removed; its 是 removes, so it defaults to 否.
std::string RemoveSiteQuestion(const std::string& name);
// Asked below the report of an import's dry run; its 是 stores the sites.
std::string ImportSitesQuestion(size_t sites);

}  // namespace tarnwick

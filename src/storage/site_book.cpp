#include "storage/site_book.h"

#include <algorithm>

#include "protocol/hex_text.h"
#include "protocol/name_value_list.h"
#include "protocol/text_helpers.h"
#include "protocol/unicast_address.h"

namespace tarnwick {
namespace {

constexpr const char* kSelectSites =
    "SELECT Name, Address, Port, Notes, DeviceId, HostType, ModuleType, LastSeen, LastBackup "
    "FROM Site";
constexpr const char* kInsertSite =
    "INSERT INTO Site (Name, Address, Port, Notes, DeviceId, HostType, ModuleType, LastSeen, "
    "LastBackup) VALUES (:Name, :Address, :Port, :Notes, :DeviceId, :HostType, :ModuleType, "
    ":LastSeen, :LastBackup)";
constexpr const char* kUpdateSite =
    "UPDATE Site SET Name = :Name, Address = :Address, Port = :Port, Notes = :Notes "
    "WHERE Name = :Old";

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < ' ' || c == 0x7F; });
}

std::string Quoted(const std::string& text) {
    return "“" + text + "”";
}

DbStatement InsertStatement(const Site& s) {
    return {kInsertSite,
            {{"Name", s.name},
             {"Address", s.address},
             {"Port", std::to_string(s.port)},
             {"Notes", s.notes},
             {"DeviceId", s.deviceId},
             {"HostType", s.hostType},
             {"ModuleType", s.moduleType},
             {"LastSeen", s.lastSeen},
             {"LastBackup", s.lastBackup}}};
}

Site FromRow(const DbRow& row) {
    Site s;
    s.name = DbColumn(row, "Name");
    s.address = DbColumn(row, "Address");
    const std::optional<int> port = DecimalValue(DbColumn(row, "Port"));
    s.port = port && *port > 0 && *port <= 65535 ? static_cast<uint16_t>(*port) : kHostPort;
    s.notes = DbColumn(row, "Notes");
    s.deviceId = DbColumn(row, "DeviceId");
    s.hostType = DbColumn(row, "HostType");
    s.moduleType = DbColumn(row, "ModuleType");
    s.lastSeen = DbColumn(row, "LastSeen");
    s.lastBackup = DbColumn(row, "LastBackup");
    return s;
}

}  // namespace

std::string CheckSiteName(const std::string& name) {
    const std::string caption = kSiteNameCaption;
    if (name.empty()) return caption + "不能为空。";
    if (!IsValidUtf8(name)) return caption + "不是有效的文字。";
    if (HasControl(name)) return caption + Quoted(name) + "含有换行等控制字符。";
    if (Utf8Length(name) > kSiteNameMaxChars)
        return caption + Quoted(name) + "超过" + std::to_string(kSiteNameMaxChars) + "个字。";
    // A host list file takes "#" for a comment and a line that is an address
    // for that address: a name can be neither.
    if (name.find('#') != std::string::npos) return caption + Quoted(name) + "不能含有“#”。";
    if (IsValidIPv4(name)) return caption + Quoted(name) + "不能是IP地址。";
    return {};
}

std::string CheckSiteAddress(const std::string& address, const std::vector<LocalNetwork>& local) {
    if (address.empty()) return std::string(kSiteAddressCaption) + "不能为空。";
    const CheckedAddress checked = CheckHostAddress(address, local);
    if (!checked.problem.empty())
        return std::string(kSiteAddressCaption) + Quoted(address) + checked.problem + "。";
    return {};
}

std::string BookableLearned(const std::string& value) {
    std::string kept = ValidUtf8(value);
    std::erase_if(kept, [](char c) { return static_cast<unsigned char>(c) < ' ' || c == 0x7F; });
    return Utf8Prefix(kept, kSiteLearnedMaxChars);
}

std::string BookableBackupPath(const std::string& path) {
    return Utf8Length(ValidUtf8(path)) <= kSiteBackupPathMaxChars ? path : std::string();
}

std::string CheckSitePort(const std::string& port) {
    if (port.empty()) return {};
    const std::optional<int> value = DecimalValue(port);
    if (!value || *value < 1 || *value > 65535)
        return std::string(kSitePortCaption) + Quoted(port) + "不是1到65535之间的数。";
    return {};
}

SiteCheck CheckSiteInput(const SiteInput& input, const std::vector<LocalNetwork>& local) {
    SiteCheck check;
    const std::string name = Trim(input.name);
    const std::string address = Trim(input.address);
    const std::string port = Trim(input.port);
    const std::string notes = Trim(input.notes);
    for (const std::string& problem :
         {CheckSiteName(name), CheckSiteAddress(address, local), CheckSitePort(port)})
        if (!problem.empty()) {
            check.problem = problem;
            return check;
        }
    if (!IsValidUtf8(notes) || HasControl(notes)) {
        check.problem = std::string(kSiteNotesCaption) + "含有换行等控制字符或无效的文字。";
        return check;
    }
    if (Utf8Length(notes) > kSiteNotesMaxChars) {
        check.problem =
            std::string(kSiteNotesCaption) + "超过" + std::to_string(kSiteNotesMaxChars) + "个字。";
        return check;
    }
    Site site;
    site.name = name;
    site.address = PlainDottedIPv4(address);
    site.port = port.empty() ? kHostPort : static_cast<uint16_t>(*DecimalValue(port));
    site.notes = notes;
    check.site = site;
    return check;
}

std::string CheckSiteUnique(const Site& site, const std::vector<Site>& sites,
                            const std::string& replacing) {
    for (const Site& other : sites) {
        if (!replacing.empty() && SameName(other.name, replacing)) continue;
        if (SameName(other.name, site.name))
            return std::string(kSiteNameCaption) + Quoted(site.name) + "已存在。";
        if (other.address == site.address)
            return std::string(kSiteAddressCaption) + " " + site.address + " 已属于站点" +
                   Quoted(other.name) + "。";
    }
    return {};
}

SitesToTalkTo UsableSites(std::vector<Site> book, const std::vector<LocalNetwork>& local) {
    SitesToTalkTo usable;
    for (Site& site : book) {
        const CheckedAddress checked = CheckHostAddress(site.address, local);
        if (!checked.problem.empty()) {
            usable.warnings.push_back("站点" + Quoted(site.name) + "的" + kSiteAddressCaption +
                                      " " + site.address + " " + checked.problem + "，已跳过");
            continue;
        }
        site.address = checked.address;
        usable.sites.push_back(std::move(site));
    }
    return usable;
}

std::vector<Site> SiteBook::List() {
    std::vector<Site> sites;
    for (const DbRow& row : db_.Select(kSelectSites)) sites.push_back(FromRow(row));
    std::sort(sites.begin(), sites.end(),
              [](const Site& a, const Site& b) { return a.name < b.name; });
    return sites;
}

std::optional<Site> SiteBook::Find(const std::string& name) {
    for (Site& s : List())
        if (SameName(s.name, name)) return std::move(s);
    return std::nullopt;
}

std::string SiteBook::Add(const SiteInput& input) {
    return Store({}, input);
}

std::string SiteBook::Update(const std::string& name, const SiteInput& input) {
    return Store(name, input);
}

std::string SiteBook::Store(const std::string& replacing, const SiteInput& input) {
    const SiteCheck check = CheckSiteInput(input, local_);
    if (!check.site) return check.problem;
    const std::vector<Site> sites = List();
    if (std::string problem = CheckSiteUnique(*check.site, sites, replacing); !problem.empty())
        return problem;
    if (replacing.empty()) return Insert(*check.site);
    const auto old = std::find_if(sites.begin(), sites.end(),
                                  [&](const Site& s) { return SameName(s.name, replacing); });
    if (old == sites.end())
        return std::string(kSiteNameCaption) + Quoted(replacing) + "已不在站点簿中。";
    const Site& s = *check.site;
    return Write({{kUpdateSite,
                   {{"Name", s.name},
                    {"Address", s.address},
                    {"Port", std::to_string(s.port)},
                    {"Notes", s.notes},
                    {"Old", old->name}}}},
                 {s}, old->name);
}

std::string SiteBook::Insert(const Site& site) {
    return Write({InsertStatement(site)}, {site});
}

std::string SiteBook::InsertAll(const std::vector<Site>& sites) {
    std::vector<DbStatement> statements;
    for (const Site& s : sites) statements.push_back(InsertStatement(s));
    return statements.empty() ? std::string() : Write(statements, sites);
}

std::string SiteBook::Write(const std::vector<DbStatement>& statements,
                            const std::vector<Site>& sites, const std::string& replacing) {
    try {
        db_.ExecuteAll(statements);
        return {};
    } catch (const DatabaseError& e) {
        if (e.Code() != DbErrorCode::UniqueViolation) throw;
    }
    // Checked before the write: the row the index found is another writer's.
    const std::vector<Site> now = List();
    for (const Site& site : sites)
        if (std::string clash = CheckSiteUnique(site, now, replacing); !clash.empty()) return clash;
    // Removed again meanwhile: it was there all the same.
    return std::string(kSiteNameCaption) + "或" + kSiteAddressCaption + "已在站点簿中。";
}

bool SiteBook::Remove(const std::string& name) {
    const std::optional<Site> site = Find(name);
    if (!site) return false;
    db_.Execute("DELETE FROM Site WHERE Name = :Name", {{"Name", site->name}});
    return true;
}

void SiteBook::RecordSeen(const std::vector<Seen>& seen, const std::string& now) {
    std::vector<DbStatement> statements;
    for (const Seen& s : seen) {
        DbStatement update{"UPDATE Site SET LastSeen = :LastSeen", {{"LastSeen", now}}};
        const std::pair<const char*, const std::string*> learned[] = {
            {"DeviceId", &s.deviceId}, {"HostType", &s.hostType}, {"ModuleType", &s.moduleType}};
        for (const auto& [column, value] : learned) {
            const std::string kept = BookableLearned(*value);
            if (kept.empty()) continue;
            update.sql += std::string(", ") + column + " = :" + column;
            update.params.emplace_back(column, kept);
        }
        update.sql += " WHERE Address = :Address";
        update.params.emplace_back("Address", s.address);
        statements.push_back(std::move(update));
    }
    if (!statements.empty()) db_.ExecuteAll(statements);
}

void SiteBook::RecordBackup(const std::string& address, const std::string& path) {
    db_.Execute("UPDATE Site SET LastBackup = :LastBackup WHERE Address = :Address",
                {{"LastBackup", BookableBackupPath(path)}, {"Address", address}});
}

}  // namespace tarnwick

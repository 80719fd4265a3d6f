#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/local_networks.h"
#include "protocol/timing.h"
#include "storage/database_port.h"

namespace tarnwick {

// One site of the book: a host kept by name, reached at its address and
// port, with what the tool learned of it.
struct Site {
    std::string name;
    std::string address;
    uint16_t port = kHostPort;
    std::string notes;
    std::string deviceId;
    std::string hostType;
    std::string moduleType;
    std::string lastSeen;    // "yyyy-mm-dd hh:nn:ss", empty when never
    std::string lastBackup;  // the path of the last backup file
    bool operator==(const Site&) const = default;
};

// The captions of the fields, in the order the book shows them; the
// dialogs, the CSV header and the messages name the fields by them.
inline constexpr const char* kSiteNameCaption = "站点名称";
inline constexpr const char* kSiteAddressCaption = "IP地址";
inline constexpr const char* kSitePortCaption = "端口";
inline constexpr const char* kSiteNotesCaption = "备注";
inline constexpr const char* kSiteDeviceIdCaption = "设备ID";
inline constexpr const char* kSiteHostTypeCaption = "主机类型";
inline constexpr const char* kSiteModuleTypeCaption = "模块类型";
inline constexpr const char* kSiteLastSeenCaption = "最后在线";
inline constexpr const char* kSiteLastBackupCaption = "最后备份";

// The trace lines of a book that cannot be read or written, before the cause.
inline constexpr const char* kSiteBookUnreadableText = "站点簿无法读取：";
inline constexpr const char* kSiteBookUnwritableText = "站点簿无法写入：";

inline constexpr size_t kSiteNameMaxChars = 40;
inline constexpr size_t kSiteNotesMaxChars = 500;
// Device ID, host type and module type as a host told them.
inline constexpr size_t kSiteLearnedMaxChars = 260;
// The last backup's path, as many characters as the system allows bytes in
// a path (a byte that is not UTF-8 counts as one character).
inline constexpr size_t kSiteBackupPathMaxChars = 4096;

// What the book keeps of a learned field: device ID, host type and module
// type without control characters and cut to kSiteLearnedMaxChars; a backup
// path as the file system gave it, or nothing when it is longer than
// kSiteBackupPathMaxChars. An import takes only values already in this form,
// so that the book's export always imports whole.
std::string BookableLearned(const std::string& value);
std::string BookableBackupPath(const std::string& path);

// The fields as the operator typed them.
struct SiteInput {
    std::string name;
    std::string address;
    std::string port;
    std::string notes;
};

// Each check returns what is wrong, naming the field, or empty text.
std::string CheckSiteName(const std::string& name);
// An address the tool talks to (CheckHostAddress with `local`'s networks).
std::string CheckSiteAddress(const std::string& address,
                             const std::vector<LocalNetwork>& local = {});
// A whole number from 1 to 65535; empty text is the host port.
std::string CheckSitePort(const std::string& port);
// The typed fields as a site: name and notes without surrounding blanks, the
// address in its plain dotted form, an empty port the host port. `problem`
// names the first field that is wrong; then `site` is empty.
struct SiteCheck {
    std::optional<Site> site;
    std::string problem;
};
SiteCheck CheckSiteInput(const SiteInput& input, const std::vector<LocalNetwork>& local = {});

// `site` beside the others of a book (`sites`, where `replacing` names the
// one being edited, if any): a name or an address another site holds.
std::string CheckSiteUnique(const Site& site, const std::vector<Site>& sites,
                            const std::string& replacing = {});

// The sites of a book the tool may talk to, and for each one it may not (an
// address booked elsewhere that is a broadcast address here) a warning.
struct SitesToTalkTo {
    std::vector<Site> sites;
    std::vector<std::string> warnings;
};
SitesToTalkTo UsableSites(std::vector<Site> book, const std::vector<LocalNetwork>& local);

// The book in the database (table Site). Names are compared without regard
// to letter case, and unique indexes of the database keep names (so
// compared) and addresses unique also against another writer at the same
// time. Database failures throw DatabaseError.
class SiteBook {
  public:
    // Addresses are checked against `local`'s networks: this computer's
    // (LocalIPv4Networks) where the operator books a site.
    explicit SiteBook(DatabasePort& db, std::vector<LocalNetwork> local = {})
        : db_(db), local_(std::move(local)) {}
    const std::vector<LocalNetwork>& LocalNetworks() const { return local_; }

    // Every site, ordered by name.
    std::vector<Site> List();
    std::optional<Site> Find(const std::string& name);

    // Adds the typed site, or edits the one named `name` (its learned fields
    // stay); returns what is wrong, empty text when stored. Nothing is
    // stored when something is wrong, also when another writer booked the
    // name or the address between the check and the write.
    std::string Add(const SiteInput& input);
    std::string Update(const std::string& name, const SiteInput& input);
    // A site already checked, with its learned fields; returns the name or
    // address it shares with a booked site, empty text when stored.
    std::string Insert(const Site& site);
    // False when no site has that name.
    bool Remove(const std::string& name);
    // Stores the sites in one transaction: all of them, or none and the name
    // or address one of them shares with a site booked meanwhile.
    std::string InsertAll(const std::vector<Site>& sites);

    // What a search answer or a login taught about the host at `address`, if
    // it is booked; empty fields leave what the book holds.
    struct Seen {
        std::string address;
        std::string deviceId;
        std::string hostType;
        std::string moduleType;
    };
    void RecordSeen(const std::vector<Seen>& seen, const std::string& now);
    // The backup file last written of the host at `address`, if it is booked.
    void RecordBackup(const std::string& address, const std::string& path);

  private:
    std::string Store(const std::string& replacing, const SiteInput& input);
    // Runs the statements that write `sites`. The unique indexes refuse a
    // name or address another writer booked after the check
    // (DbErrorCode::UniqueViolation); that is said in the words of the check
    // (CheckSiteUnique against the book as it is now). Any other failure is
    // thrown.
    std::string Write(const std::vector<DbStatement>& statements, const std::vector<Site>& sites,
                      const std::string& replacing = {});
    DatabasePort& db_;
    std::vector<LocalNetwork> local_;
};

}  // namespace tarnwick

#include "storage/outbox_file.h"

#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "protocol/text_helpers.h"
#include "storage/database_startup.h"

namespace tarnwick {
namespace {

constexpr const char* kCreateOutbox =
    "CREATE TABLE IF NOT EXISTS Outbox ("
    "Seq INTEGER PRIMARY KEY AUTOINCREMENT, "
    "Statements TEXT NOT NULL, "
    "Refused TEXT NOT NULL DEFAULT '')";
// Added to the outbox of an earlier version, each with its default.
constexpr std::pair<const char*, const char*> kLaterColumns[] = {
    {"WriteKey", "TEXT NOT NULL DEFAULT ''"},
    {"Server", "TEXT NOT NULL DEFAULT ''"},
    {"TargetId", "TEXT NOT NULL DEFAULT ''"},
    {"QueuedAt", "TEXT NOT NULL DEFAULT ''"},
    {"Told", "INTEGER NOT NULL DEFAULT 0"}};
constexpr const char* kCreateTargets =
    "CREATE TABLE IF NOT EXISTS OutboxTarget (Server TEXT NOT NULL PRIMARY KEY, Id TEXT NOT NULL)";
constexpr const char* kUnnotedServer = "（较早版本暂存，未注明数据库）";
constexpr const char* kColumns =
    "SELECT Seq, WriteKey, Server, TargetId, QueuedAt, Refused, Statements FROM Outbox ";

// The tables a write names, as the operator knows them.
constexpr std::pair<const char*, const char*> kTableNames[] = {{"OPERATIONLOG", "操作日志"},
                                                               {"SITE", "站点簿"},
                                                               {"BACKUPARCHIVE", "备份存档"},
                                                               {"ALARMARCHIVE", "警情存档"}};

std::string Encode(const std::vector<DbStatement>& statements) {
    nlohmann::json list = nlohmann::json::array();
    for (const DbStatement& s : statements) list.push_back({{"sql", s.sql}, {"params", s.params}});
    return list.dump();
}

std::vector<DbStatement> Decode(const std::string& text) {
    std::vector<DbStatement> statements;
    for (const auto& s : nlohmann::json::parse(text))
        statements.push_back({s.at("sql").get<std::string>(), s.at("params").get<DbParams>()});
    return statements;
}

// The table a statement writes: the word after INSERT INTO, UPDATE or DELETE FROM.
std::string WrittenTable(const std::string& sql) {
    const std::string upper = ToUpper(sql);
    for (const char* verb : {"INSERT INTO ", "UPDATE ", "DELETE FROM "}) {
        const size_t at = upper.find(verb);
        if (at == std::string::npos) continue;
        size_t start = at + std::string(verb).size(), end = start;
        while (end < upper.size() &&
               (std::isalnum(static_cast<unsigned char>(upper[end])) || upper[end] == '_'))
            ++end;
        const std::string table = upper.substr(start, end - start);
        for (const auto& [name, words] : kTableNames)
            if (table == name) return words;
        return sql.substr(start, end - start);
    }
    return "其他";
}

}  // namespace

std::string RandomKey() {
    std::random_device random;
    std::string id;
    static const char* const kDigits = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) id += kDigits[random() % 16];
    return id;
}

std::string DatabaseIdentityOf(DatabasePort& db) {
    const auto first = [&db] {
        const auto rows = db.Select("SELECT min(Id) AS Id FROM DatabaseIdentity");
        return rows.empty() ? std::string() : DbColumn(rows.front(), "Id");
    };
    if (std::string id = first(); !id.empty()) return id;
    db.Execute("INSERT INTO DatabaseIdentity (Id) VALUES (:Id)", {{"Id", RandomKey()}});
    // Two copies asking at once both take the smaller name.
    return first();
}

OutboxFile::OutboxFile(const std::string& path) : db_(path) {
    const DatabaseStartup local = PrepareDatabase(path);
    if (!local.problem.empty()) throw DatabaseError(local.problem);
    if (!local.schemaProblem.empty()) throw DatabaseError(local.schemaProblem);
    db_.Execute(kCreateOutbox, {});
    std::set<std::string> columns;
    for (const DbRow& row : db_.Select("PRAGMA table_info(Outbox)"))
        columns.insert(DbColumn(row, "name"));
    for (const auto& [name, type] : kLaterColumns)
        if (!columns.count(name))
            db_.Execute(std::string("ALTER TABLE Outbox ADD COLUMN ") + name + " " + type, {});
    db_.Execute(kCreateTargets, {});
    identity_ = DatabaseIdentityOf(db_);
}

std::string OutboxFile::KnownId(const std::string& server) {
    const auto rows =
        db_.SelectWith("SELECT Id FROM OutboxTarget WHERE Server = :Server", {{"Server", server}});
    return rows.empty() ? std::string() : DbColumn(rows.front(), "Id");
}

void OutboxFile::RememberId(const OutboxTarget& target) {
    db_.ExecuteAll(
        {{"DELETE FROM OutboxTarget WHERE Server = :Server", {{"Server", target.server}}},
         {"INSERT INTO OutboxTarget (Server, Id) VALUES (:Server, :Id)",
          {{"Server", target.server}, {"Id", target.id}}}});
}

void OutboxFile::Add(const std::string& key, const OutboxTarget& target,
                     const std::string& queuedAt, const std::vector<DbStatement>& statements) {
    db_.Execute(
        "INSERT INTO Outbox (WriteKey, Server, TargetId, QueuedAt, Statements) "
        "VALUES (:Key, :Server, :TargetId, :QueuedAt, :Statements)",
        {{"Key", key},
         {"Server", target.server},
         {"TargetId", target.id},
         {"QueuedAt", queuedAt},
         {"Statements", Encode(statements)}});
}

std::vector<OutboxEntry> OutboxFile::Entries(const std::string& where, const DbParams& params) {
    std::vector<OutboxEntry> entries;
    for (const DbRow& row : db_.SelectWith(kColumns + where, params)) {
        OutboxEntry e;
        e.seq = std::stoll(DbColumn(row, "Seq"));
        // A write kept by an earlier version is known by its number.
        e.key = DbColumn(row, "WriteKey");
        if (e.key.empty()) e.key = DbColumn(row, "Seq");
        e.target = {DbColumn(row, "Server"), DbColumn(row, "TargetId")};
        // An earlier version did not note the database: such a write is
        // sent to none, only named.
        if (e.target.server.empty()) e.target.server = kUnnotedServer;
        e.queuedAt = DbColumn(row, "QueuedAt");
        e.refused = DbColumn(row, "Refused");
        e.statements = Decode(DbColumn(row, "Statements"));
        entries.push_back(std::move(e));
    }
    return entries;
}

namespace {
constexpr const char* kWaitingFor =
    "WHERE Refused = '' AND Server = :Server AND (TargetId = '' OR TargetId = :Id) ";
}

std::vector<OutboxEntry> OutboxFile::Next(const OutboxTarget& target) {
    return Entries(std::string(kWaitingFor) + "ORDER BY Seq LIMIT 1",
                   {{"Server", target.server}, {"Id", target.id}});
}

size_t OutboxFile::Waiting(const OutboxTarget& target) {
    const auto rows = db_.SelectWith(std::string("SELECT count(*) AS N FROM Outbox ") + kWaitingFor,
                                     {{"Server", target.server}, {"Id", target.id}});
    return rows.empty() ? 0 : std::stoul("0" + DbColumn(rows.front(), "N"));
}

void OutboxFile::Remove(long long seq) {
    db_.Execute("DELETE FROM Outbox WHERE Seq = :Seq", {{"Seq", std::to_string(seq)}});
}

void OutboxFile::Refuse(long long seq, const std::string& reason) {
    db_.Execute("UPDATE Outbox SET Refused = :Why WHERE Seq = :Seq",
                {{"Why", reason}, {"Seq", std::to_string(seq)}});
}

std::vector<OutboxEntry> OutboxFile::All() {
    return Entries("ORDER BY Seq", {});
}

std::vector<OutboxEntry> OutboxFile::TakeUntoldRefusals(const std::string& server) {
    std::vector<OutboxEntry> untold = Entries(
        "WHERE Refused <> '' AND Told = 0 AND Server = :Server ORDER BY Seq", {{"Server", server}});
    if (!untold.empty())
        db_.Execute("UPDATE Outbox SET Told = 1 WHERE Refused <> '' AND Server = :Server",
                    {{"Server", server}});
    return untold;
}

std::string OutboxRefusalText(const std::string& server, const std::vector<OutboxEntry>& refused,
                              const std::string& path) {
    std::string text = "团队数据库 " + server + " 拒绝了本机暂存的 " +
                       std::to_string(refused.size()) + " 项记录：";
    for (const OutboxEntry& e : refused)
        text += "\r\n  " + e.queuedAt + " " + OutboxEntryText(e) + "：" + e.refused;
    return text + "\r\n这些记录保留在本机暂存文件 " + path +
           " 中，未被删除（tarnwick-cli db outbox 可列出）。";
}

std::string OutboxEntryText(const OutboxEntry& entry) {
    std::vector<std::pair<std::string, int>> counts;
    for (const DbStatement& s : entry.statements) {
        const std::string table = WrittenTable(s.sql);
        auto found = std::find_if(counts.begin(), counts.end(),
                                  [&](const auto& c) { return c.first == table; });
        if (found == counts.end()) found = counts.insert(counts.end(), {table, 0});
        ++found->second;
    }
    std::string text;
    for (const auto& [table, n] : counts)
        text += (text.empty() ? "" : "，") + table + " " + std::to_string(n) + " 条";
    return text;
}

}  // namespace tarnwick

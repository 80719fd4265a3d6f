// The database port on both engines: every case runs on a db.mdb and on a
// database of the private PostgreSQL cluster.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <set>
#include <thread>

#include "protocol/text_helpers.h"
#include "storage/archives.h"
#include "storage/code_tables.h"
#include "storage/schema_migrations.h"
#include "storage/site_book.h"
#include "support/engine_database.h"
#include "support/fixed_clock.h"

namespace tarnwick {
namespace {

using testing::Engine;
using testing::EngineDatabase;

class StorageEngine : public ::testing::TestWithParam<Engine> {
  protected:
    EngineDatabase e{GetParam()};
    testing::FixedClock clock;
    HostSession session;
};

size_t Count(DatabasePort& db, const std::string& table) {
    return std::stoul(DbColumn(db.Select("SELECT count(*) AS N FROM " + table).front(), "N"));
}

TEST_P(StorageEngine, CodeTablesAndTheOperationLogWithWhoAndWhere) {
    ASSERT_EQ(e.opened.problem, "");
    ASSERT_EQ(e.opened.schemaProblem, "");
    EXPECT_EQ(SchemaVersionOf(e.db()), NewestSchemaVersion());
    CodeTable alarms, operations;
    LoadCodeTables(e.db(), alarms, operations);
    EXPECT_EQ(alarms.Get("0a"), "挟持报警");
    EXPECT_EQ(alarms.Get("00"), "");  // an empty text is not loaded

    session.SetCurrentHost("10.77.0.11");
    OperationLog log(e.db(), clock, session);
    log.SetWorkplace({"张工", "笔记本-07"});
    // Texts the statement must carry as they are: quotes, what looks like a
    // parameter or a cast, an empty result.
    const std::pair<std::string, std::string> rows[] = {
        {"7E238201028D107E", "重新启动成功!"},
        {"it's :_dTime ::text $1", "'; DROP TABLE OperationLog; --"},
        {"7E1F8201128206F20E7E", ""},
    };
    for (const auto& [info, result] : rows) EXPECT_EQ(log.Write(info, result), "");
    const auto stored = e.db().Select(
        "SELECT dTime, OperationIP, OperationInfo, OperationResult, Operator, "
        "Workstation FROM OperationLog ORDER BY ID");
    ASSERT_EQ(stored.size(), std::size(rows));
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(DbColumn(stored[i], "dTime"), clock.now);
        EXPECT_EQ(DbColumn(stored[i], "OperationIP"), "10.77.0.11");
        EXPECT_EQ(DbColumn(stored[i], "OperationInfo"), rows[i].first);
        EXPECT_EQ(DbColumn(stored[i], "OperationResult"), rows[i].second);
        EXPECT_EQ(DbColumn(stored[i], "Operator"), "张工");
        EXPECT_EQ(DbColumn(stored[i], "Workstation"), "笔记本-07");
    }
}

TEST_P(StorageEngine, TheSiteBookStoresAllOrNothing) {
    SiteBook book(e.db());
    EXPECT_EQ(book.Add({"一号店", "10.77.0.11", "5300", "二楼"}), "");
    EXPECT_NE(book.Add({"一号店", "10.77.0.12", "", ""}), "");  // the name is taken
    Site a, clash;
    a.name = "二号店", a.address = "10.77.0.21";
    clash.name = "三号店", clash.address = "10.77.0.11";
    // The second takes an address the book holds: neither is stored, and the
    // database's refusal is said as the check says it.
    EXPECT_EQ(book.InsertAll({a, clash}), "IP地址 10.77.0.11 已属于站点“一号店”。");
    ASSERT_EQ(book.List().size(), 1u);
    EXPECT_EQ(book.List().front().port, 5300);
    EXPECT_EQ(book.Update("一号店", {"总店", "10.77.0.11", "", "一楼"}), "");
    book.RecordBackup("10.77.0.11", "/b/10.77.0.11.json");
    const std::optional<Site> found = book.Find("总店");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->notes, "一楼");
    EXPECT_EQ(found->lastBackup, "/b/10.77.0.11.json");
    EXPECT_TRUE(book.Remove("总店"));
    EXPECT_TRUE(book.List().empty());
}

// Names are unique without letter case (as the tool compares them: a
// full-width letter is another) by the database's index, so that of two
// writers booking one name at once one hears the ordinary answer.
TEST_P(StorageEngine, NamesAreUniqueWithoutLetterCaseAlsoForWritersAtOnce) {
    SiteBook book(e.db());
    ASSERT_EQ(book.Add({"Depot", "10.77.0.1", "", ""}), "");
    Site late;
    late.name = "dEPOT", late.address = "10.77.0.3";
    EXPECT_EQ(book.Insert(late), "站点名称“dEPOT”已存在。");  // past the check
    late.name = "Ｄepot";
    EXPECT_EQ(book.Insert(late), "");
    for (int round = 0; round < 8; ++round) {
        const std::string name = "Store" + std::to_string(round);
        const std::string net = "10.78." + std::to_string(round) + ".";
        std::string said[2];
        std::thread writers[2];
        for (int w = 0; w < 2; ++w)
            writers[w] = std::thread([&, w] {
                OpenedDatabase mine = e.OpenAgain();
                said[w] = SiteBook(*mine.db).Add({w ? ToUpper(name) : name, net + "12"[w], "", ""});
            });
        for (std::thread& t : writers) t.join();
        SCOPED_TRACE(said[0] + said[1]);
        EXPECT_TRUE(said[0].empty() != said[1].empty());
        EXPECT_NE((said[0] + said[1]).find("已存在。"), std::string::npos);
    }
    EXPECT_EQ(book.List().size(), 10u);
}

// A book two writers filled with one name in several cases before the index
// keeps every row, the later ones (in byte order) renamed with their address.
TEST_P(StorageEngine, TheNameIndexKeepsTheRowsOfAnEarlierBook) {
    e.db().Execute("DROP INDEX SiteNameWithoutCase", {});
    for (const char* row : {"'Depot', '10.77.0.1'", "'DEPOT', '10.77.0.2'", "'depot', '10.77.0.3'"})
        e.db().Execute(std::string("INSERT INTO Site (Name, Address) VALUES (") + row + ")", {});
    const SchemaMigration& nameIndex = SchemaMigrations().at(3);
    ASSERT_EQ(nameIndex.version, 4);
    for (const std::string& statement : nameIndex.statements)
        e.db().Execute(ForDialect(statement, e.db().Dialect()), {});
    std::vector<std::string> names;
    for (const Site& s : SiteBook(e.db()).List()) names.push_back(s.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"DEPOT", "Depot（10.77.0.1）", "depot（10.77.0.3）"}));
}

TEST_P(StorageEngine, TheAlarmArchiveKeepsEachRecordOnce) {
    // Record number 3 at 05-14 08:30, number 4, and an empty record.
    const std::string r3 = "000390051408300804011A", r4 = "0004110514083101020310";
    const std::string empty = "0005000000000000000000";
    ArchiveAlarmRecords(e.db(), "10.77.0.11", {r3, r4, empty, "7E"}, clock.now);
    // The same page read again, one record in lower case, and a host whose
    // numbering began anew: number 3 at another time is another record.
    const std::string r3Later = "000390061409000804011A";
    ArchiveAlarmRecords(e.db(), "10.77.0.11", {"000390051408300804011a", r4, r3Later}, clock.now);
    ArchiveAlarmRecords(e.db(), "10.77.0.12", {r3}, clock.now);
    EXPECT_EQ(ArchivedAlarmRecords(e.db(), "10.77.0.11"),
              (std::vector<std::string>{r3, r3Later, r4}));
    EXPECT_EQ(ArchivedAlarmRecords(e.db(), "10.77.0.12"), std::vector<std::string>{r3});
    EXPECT_EQ(Count(e.db(), "AlarmArchive"), 4u);

    const ArchivedBackup first{
        "10.77.0.11", "2026-12-07 08:30:05", "张工",
        "笔记本-07",  "十六防区报警主机",    R"({"format":1,"note":"it's"})"};
    ArchivedBackup second = first;
    second.takenAt = "2026-12-08 09:00:00";
    ArchiveBackup(e.db(), first);
    ArchiveBackup(e.db(), second);
    EXPECT_EQ(ArchivedBackups(e.db(), "10.77.0.11"), (std::vector<ArchivedBackup>{first, second}));
    EXPECT_TRUE(ArchivedBackups(e.db(), "10.77.0.12").empty());

    // Versions of the configuration watch beside the backups: a change is
    // kept once after the content it follows, whoever stores it first.
    ArchivedBackup version = first;
    version.kind = kVersionKind;
    version.contentHash = "B";
    version.parentHash = "A";
    ArchiveBackup(e.db(), version);
    ArchivedBackup again = version;
    again.takenAt = "2026-12-08 09:00:01";
    try {
        ArchiveBackup(e.db(), again);
        ADD_FAILURE() << "a version kept twice after the same parent";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.Code(), DbErrorCode::UniqueViolation);
    }
    ArchivedBackup other = version;
    other.host = "10.77.0.12";
    ArchiveBackup(e.db(), other);
    EXPECT_EQ(ArchivedOfKind(e.db(), "10.77.0.11", kVersionKind), std::vector{version});
    EXPECT_EQ(NewestArchivedPerHost(e.db()), (std::vector{version, other}));
    EXPECT_EQ(NewestArchivedPerHost(e.db(), {kBackupKind}), std::vector{second});
}

TEST_P(StorageEngine, MigrationsRunOnceAndANewerSchemaIsRefusedByName) {
    MigrateSchema(e.db());
    EXPECT_EQ(Count(e.db(), "SchemaVersion"), SchemaMigrations().size());
    // A second copy of the tool opening the same database finds it ready.
    EXPECT_EQ(e.OpenAgain().problem, "");
    EXPECT_EQ(Count(e.db(), "SchemaVersion"), SchemaMigrations().size());

    e.db().Execute("INSERT INTO SchemaVersion (Version) VALUES (:V)",
                   {{"V", std::to_string(NewestSchemaVersion() + 1)}});
    EXPECT_THROW(MigrateSchema(e.db()), NewerSchema);
    const OpenedDatabase again = e.OpenAgain();
    const std::string said = again.problem + again.schemaProblem;
    EXPECT_NE(said.find(NewerSchemaText(NewestSchemaVersion() + 1)), std::string::npos) << said;
}

// Each kind of failure carries its code, from the engine's own (SQLite's
// extended result code, PostgreSQL's SQLSTATE), whatever its text says. A
// second connection holds a write lock where a case needs one.
TEST_P(StorageEngine, EachKindOfFailureCarriesItsCode) {
    const bool sqlite = GetParam() == Engine::Sqlite;
    OpenedDatabase other = e.OpenAgain();
    const auto insertSite = [this] {
        e.db().Execute("INSERT INTO Site (Name, Address) VALUES ('一号店', '10.77.0.11')", {});
    };
    const struct {
        const char* what;
        std::function<void()> before;
        std::function<void()> failing;
        DbErrorCode code;
    } cases[] = {
        {"a taken key", insertSite, insertSite, DbErrorCode::UniqueViolation},
        {"no such table",
         {},
         [this] { e.db().Select("SELECT * FROM NoSuchTable"); },
         DbErrorCode::Other},
        {"a newer schema",
         [this] {
             e.db().Execute("INSERT INTO SchemaVersion (Version) VALUES (:V)",
                            {{"V", std::to_string(NewestSchemaVersion() + 1)}});
         },
         [this] { MigrateSchema(e.db()); }, DbErrorCode::NewerSchema},
        {"another writer holds the lock",
         [&] {
             other.db->Execute(sqlite ? "BEGIN IMMEDIATE" : "BEGIN", {});
             if (!sqlite) other.db->Execute("LOCK TABLE Site IN EXCLUSIVE MODE", {});
             e.db().Execute(sqlite ? "PRAGMA busy_timeout = 0" : "SET lock_timeout = '10ms'", {});
         },
         [&] { e.db().Execute("DELETE FROM Site", {}); }, DbErrorCode::Busy},
        {"a read-only connection",
         [&] {
             other.db->Execute("ROLLBACK", {});
             e.db().Execute(
                 sqlite ? "PRAGMA query_only = 1" : "SET default_transaction_read_only = on", {});
         },
         [&] { e.db().Execute("DELETE FROM Site", {}); }, DbErrorCode::ReadOnly},
        // A file has no connection to lose.
        {"the server ends the connection",
         {},
         [this] { e.db().Select("SELECT pg_terminate_backend(pg_backend_pid())"); },
         DbErrorCode::ConnectionLost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (sqlite && c.code == DbErrorCode::ConnectionLost) continue;
        if (c.before) c.before();
        try {
            c.failing();
            ADD_FAILURE() << "no failure";
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.Code(), c.code) << error.what();
        }
    }
}

// Four writers at once, each on a connection of its own, as four copies of
// the tool: every row arrives once. Prints the rows per second.
TEST_P(StorageEngine, FourWritersAtOnceKeepEveryRow) {
    constexpr int kWriters = 4, kRows = 40;
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    const auto start = std::chrono::steady_clock::now();
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            OpenedDatabase mine = e.OpenAgain();
            testing::FixedClock clock;
            HostSession session;
            OperationLog log(*mine.db, clock, session);
            for (int i = 0; i < kRows; ++i)
                if (!log.Write("w" + std::to_string(w) + "-" + std::to_string(i), "").empty())
                    ++failures;
        });
    for (std::thread& t : writers) t.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(failures, 0);
    std::set<std::string> seen;
    for (const DbRow& row : e.db().Select("SELECT OperationInfo FROM OperationLog"))
        EXPECT_TRUE(seen.insert(DbColumn(row, "OperationInfo")).second);
    EXPECT_EQ(seen.size(), static_cast<size_t>(kWriters * kRows));
    std::cout << testing::EngineName(GetParam()) << ": " << kWriters << " writers, "
              << static_cast<int>(kWriters * kRows / seconds) << " operation-log rows/s\n";
}

INSTANTIATE_TEST_SUITE_P(Engines, StorageEngine,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         [](const auto& info) { return testing::EngineName(info.param); });

}  // namespace
}  // namespace tarnwick

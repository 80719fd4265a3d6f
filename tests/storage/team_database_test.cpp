// What only the team database does: a server that is away or refuses the
// login, the outbox in front of it, the copy of a laptop's db.mdb into it.
#include <gtest/gtest.h>

#include "storage/archives.h"
#include "storage/code_tables.h"
#include "storage/database_copy.h"
#include "storage/database_opening.h"
#include "storage/outbox_database.h"
#include "storage/postgres_database.h"
#include "storage/site_book.h"
#include "support/fixed_clock.h"
#include "support/postgres_cluster.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

using testing::SharedPostgres;

TEST(TeamDatabase, ParametersAreNumberedOutsideQuotesAndCasts) {
    const struct {
        std::string sql;
        std::string numbered;
        std::vector<std::string> names;
    } cases[] = {
        {"INSERT INTO T (A, B) VALUES (:A, :B)",
         "INSERT INTO T (A, B) VALUES ($1, $2)",
         {"A", "B"}},
        {"WHERE A = :x OR B = :x", "WHERE A = $1 OR B = $1", {"x"}},
        {"SELECT ':no' || x::text, :_y", "SELECT ':no' || x::text, $1", {"_y"}},
        {"SELECT 'it''s :q'", "SELECT 'it''s :q'", {}},
    };
    for (const auto& c : cases) {
        const NumberedSql got = NumberParameters(c.sql);
        EXPECT_EQ(got.sql, c.numbered);
        EXPECT_EQ(got.names, c.names);
    }
}

// One message naming the server and the cause, never the password; the
// tool runs on.
TEST(TeamDatabase, AServerThatCannotBeUsedIsNamedWithItsCause) {
    testing::TempDir dir;
    auto& pg = SharedPostgres();
    const struct {
        std::string url;
        std::string cause;
    } cases[] = {
        {"postgresql:///tarnwick?host=" + dir.File("nowhere"), dir.File("nowhere")},
        {pg.Url("postgres", "tarnwick_pw", "wrong-secret"), "password authentication failed"},
        {pg.Url("no_such_database"), "no_such_database"},
        {"postgresql://op:wrong-secret@[bad", "postgresql://[bad"},
        {"postgresql://[bad", "postgresql://[bad"},
    };
    for (const auto& c : cases) {
        const OpenedDatabase opened = OpenDatabase(c.url);
        EXPECT_NE(opened.problem.find("团队数据库"), std::string::npos) << opened.problem;
        EXPECT_NE(opened.problem.find(c.cause), std::string::npos) << opened.problem;
        EXPECT_EQ(opened.problem.find("wrong-secret"), std::string::npos) << opened.problem;
    }
    EXPECT_EQ(OpenDatabase(pg.Url("tarnwick_pw", "tarnwick_pw", "right")).problem, "");
}

std::vector<std::string> LoggedInfos(DatabasePort& db) {
    std::vector<std::string> infos;
    for (const DbRow& row : db.Select("SELECT OperationInfo FROM OperationLog ORDER BY ID"))
        infos.push_back(DbColumn(row, "OperationInfo"));
    return infos;
}

// The server answers only once its database is made: until then every row
// waits on this computer, the operator is told once, and then they arrive
// in order, before the row that found the server back.
TEST(TeamDatabase, RowsWaitInTheOutboxAndArriveInOrderOnce) {
    auto& pg = SharedPostgres();
    testing::TempDir dir;
    const std::string name = "later_" + std::to_string(::getpid());
    auto outbox =
        std::make_unique<OutboxDatabase>(std::make_unique<PostgresDatabase>(pg.Url(name)),
                                         dir.File("outbox.mdb"), std::chrono::milliseconds(0));
    std::vector<std::string> notices;
    outbox->SetNotifier([&](const std::string& text) { notices.push_back(text); });
    EXPECT_FALSE(outbox->TryServer());
    EXPECT_NE(outbox->Problem().find(name), std::string::npos) << outbox->Problem();

    testing::FixedClock clock;
    HostSession session;
    session.SetCurrentHost("10.77.0.11");
    OperationLog log(*outbox, clock, session);
    for (const char* frame : {"7E01", "7E02", "7E03"}) EXPECT_EQ(log.Write(frame, "成功!"), "");
    // A write the server will refuse when it comes back stays here marked.
    outbox->Execute("INSERT INTO NoSuchTable (X) VALUES (:X)", {{"X", "1"}});
    EXPECT_EQ(outbox->Waiting(), 4u);
    EXPECT_EQ(notices, std::vector<std::string>{kOutboxNotice});
    // The code tables of this computer serve meanwhile.
    CodeTable alarms, operations;
    LoadCodeTables(*outbox, alarms, operations);
    EXPECT_EQ(alarms.Get("01"), "紧急报警");

    PostgresDatabase(pg.Url("postgres")).Execute("CREATE DATABASE " + name, {});
    EXPECT_EQ(log.Write("7E04", "成功!"), "");
    EXPECT_EQ(outbox->Waiting(), 0u);
    EXPECT_EQ(outbox->Problem(), "");
    PostgresDatabase server(pg.Url(name));
    EXPECT_EQ(LoggedInfos(server), (std::vector<std::string>{"7E01", "7E02", "7E03", "7E04"}));
    EXPECT_EQ(notices.size(), 1u);

    // A second outbox on the same file (the next start) sends nothing again.
    outbox.reset();
    OutboxDatabase next(std::make_unique<PostgresDatabase>(pg.Url(name)), dir.File("outbox.mdb"));
    EXPECT_TRUE(next.TryServer());
    EXPECT_EQ(LoggedInfos(server).size(), 4u);
}

// The server stops while the tool holds a connection to it, and starts
// again: the row written meanwhile waits, then goes.
TEST(TeamDatabase, AServerThatStopsAndStartsAgainLosesNoRow) {
    testing::PostgresCluster own;
    const std::string url = own.FreshDatabase();
    testing::TempDir dir;
    OutboxDatabase outbox(std::make_unique<PostgresDatabase>(url), dir.File("outbox.mdb"),
                          std::chrono::milliseconds(0));
    ASSERT_TRUE(outbox.TryServer());
    testing::FixedClock clock;
    HostSession session;
    OperationLog log(outbox, clock, session);
    EXPECT_EQ(log.Write("7E01", ""), "");
    own.Pause();
    EXPECT_EQ(log.Write("7E02", ""), "");
    EXPECT_EQ(outbox.Waiting(), 1u);
    own.Resume();
    EXPECT_EQ(log.Write("7E03", ""), "");
    EXPECT_EQ(outbox.Waiting(), 0u);
    PostgresDatabase server(url);
    EXPECT_EQ(LoggedInfos(server), (std::vector<std::string>{"7E01", "7E02", "7E03"}));
}

TEST(TeamDatabase, ALaptopIsCopiedOnceAndLaterOnlyItsNewRows) {
    testing::TempDir dir;
    OpenedDatabase laptop = OpenDatabase(dir.File("db.mdb"));
    OpenedDatabase team = OpenDatabase(SharedPostgres().FreshDatabase());
    ASSERT_EQ(team.problem, "");
    testing::FixedClock clock;
    HostSession session;
    session.SetCurrentHost("10.77.0.11");
    OperationLog log(*laptop.db, clock, session);
    log.SetWorkplace({"李工", "laptop-3"});
    for (const char* frame : {"7E01", "7E02", "7E02"}) EXPECT_EQ(log.Write(frame, ""), "");
    EXPECT_EQ(SiteBook(*laptop.db).Add({"一号店", "10.77.0.11", "", ""}), "");
    EXPECT_EQ(SiteBook(*laptop.db).Add({"二号店", "10.77.0.12", "", ""}), "");
    // The team knows the first shop already, under its own name.
    EXPECT_EQ(SiteBook(*team.db).Add({"总店", "10.77.0.11", "", ""}), "");
    ArchiveBackup(*laptop.db, {"10.77.0.11", clock.now, "李工", "laptop-3", "m", "{}"});
    ArchiveAlarmRecords(*laptop.db, "10.77.0.11", {"000390051408300804011A"}, clock.now);
    ArchiveAlarmRecords(*team.db, "10.77.0.11", {"000390051408300804011A"}, clock.now);

    const auto counts = [](const CopyCounts& c) {
        return std::vector<size_t>{c.operationLog, c.sites, c.backups, c.alarmRecords};
    };
    EXPECT_EQ(counts(CopyDatabase(*laptop.db, *team.db)), (std::vector<size_t>{3, 1, 1, 0}));
    EXPECT_EQ(counts(CopyDatabase(*laptop.db, *team.db)), (std::vector<size_t>{0, 0, 0, 0}));
    EXPECT_EQ(log.Write("7E03", ""), "");
    EXPECT_EQ(counts(CopyDatabase(*laptop.db, *team.db)), (std::vector<size_t>{1, 0, 0, 0}));
    EXPECT_EQ(LoggedInfos(*team.db), (std::vector<std::string>{"7E01", "7E02", "7E02", "7E03"}));
    const auto rows = team.db->Select("SELECT Operator, Workstation FROM OperationLog");
    EXPECT_EQ(DbColumn(rows.front(), "Operator"), "李工");
    EXPECT_EQ(DbColumn(rows.front(), "Workstation"), "laptop-3");
    EXPECT_EQ(SiteBook(*team.db).List().size(), 2u);
}

}  // namespace
}  // namespace tarnwick

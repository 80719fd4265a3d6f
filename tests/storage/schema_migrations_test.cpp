#include "storage/schema_migrations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "storage/code_tables.h"
#include "storage/database_startup.h"
#include "storage/site_book.h"
#include "storage/sqlite_database.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

// A db.mdb as earlier versions of the tool left it: the seed's tables and a
// few rows of the operation log.
std::string OldDatabase(const testing::TempDir& dir) {
    const std::string path = dir.File("db.mdb");
    SqliteDatabase db(path);
    db.ExecuteScript(DatabaseSeedSql());
    for (const char* frame : {"7E01", "7E02", "7E03"})
        db.Execute(
            "Insert Into OperationLog(dTime, OperationIP, OperationInfo, OperationResult, "
            "Operator) Values(:_dTime,:_OperationIP,:_OperationInfo,:_OperationResult,:_Operator)",
            {{"_dTime", "2026-12-07 08:30:05"},
             {"_OperationIP", "10.77.0.11"},
             {"_OperationInfo", frame},
             {"_OperationResult", "成功!"},
             {"_Operator", ""}});
    return path;
}

size_t Rows(SqliteDatabase& db, const std::string& table) {
    return db.Select("SELECT * FROM " + table).size();
}

TEST(SchemaMigrations, AnOldDatabaseGainsTheSiteBookOnStartAndKeepsEveryRow) {
    testing::TempDir dir;
    const std::string path = OldDatabase(dir);
    SqliteDatabase db(path);
    const size_t alarmCodes = Rows(db, "AlarmTypeCode");
    ASSERT_EQ(SchemaVersionOf(db), 0);
    EXPECT_THROW(SiteBook(db).List(), DatabaseError);

    const DatabaseStartup startup = PrepareDatabase(path);
    EXPECT_FALSE(startup.created);
    EXPECT_EQ(startup.problem, "");
    EXPECT_EQ(startup.schemaProblem, "");
    EXPECT_EQ(SchemaVersionOf(db), NewestSchemaVersion());
    EXPECT_EQ(Rows(db, "OperationLog"), 3u);
    for (const DbRow& row : db.Select("SELECT OperationInfo, Operator, Workstation FROM "
                                      "OperationLog")) {
        EXPECT_EQ(DbColumn(row, "OperationInfo").substr(0, 3), "7E0");
        EXPECT_EQ(DbColumn(row, "Operator"), "");
        EXPECT_EQ(DbColumn(row, "Workstation"), "");
    }
    EXPECT_EQ(Rows(db, "AlarmTypeCode"), alarmCodes);
    EXPECT_TRUE(SiteBook(db).List().empty());
    EXPECT_EQ(SiteBook(db).Add({"一号店", "10.77.0.11", "", ""}), "");

    // The next start finds nothing to do and leaves the book as it is.
    EXPECT_EQ(PrepareDatabase(path).schemaProblem, "");
    EXPECT_EQ(SiteBook(db).List().size(), 1u);
    EXPECT_EQ(Rows(db, "SchemaVersion"), SchemaMigrations().size());
}

TEST(SchemaMigrations, AMigrationThatFailsLeavesTheDatabaseAsItWas) {
    testing::TempDir dir;
    const std::string path = OldDatabase(dir);
    SqliteDatabase db(path);
    // A table of that name the migration cannot make again: the migration
    // fails half-way, after it made its version table.
    db.Execute("CREATE TABLE Site (Anything TEXT)", {});
    EXPECT_THROW(MigrateSchema(db), DatabaseError);
    EXPECT_EQ(SchemaVersionOf(db), 0);
    EXPECT_THROW(db.Select("SELECT * FROM SchemaVersion"), DatabaseError);
    EXPECT_EQ(Rows(db, "OperationLog"), 3u);

    const DatabaseStartup startup = PrepareDatabase(path);
    EXPECT_EQ(startup.problem, "");
    EXPECT_NE(startup.schemaProblem.find("站点簿暂不可用，其余功能照常使用。"), std::string::npos);
}

TEST(SchemaMigrations, CopiesMakingANewDatabaseAtOnceShareTheOneThatCameFirst) {
    testing::TempDir dir;
    const std::string path = dir.File("outbox.mdb");
    std::atomic<int> made{0}, failures{0};
    std::vector<std::thread> copies;
    for (int i = 1; i <= 4; ++i)
        copies.emplace_back([&, i] {
            try {
                if (EnsureDatabase(path)) ++made;
                SqliteDatabase(path).Execute(
                    "INSERT INTO Site (Name, Address) VALUES (:Name, :Address)",
                    {{"Name", "s" + std::to_string(i)},
                     {"Address", "10.0.0." + std::to_string(i)}});
            } catch (const DatabaseError&) {
                ++failures;
            }
        });
    for (std::thread& t : copies) t.join();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(failures, 0);
    // No copy wrote into a file another one replaced, and no scratch file
    // is left beside it (nor a write-ahead log once it is closed).
    {
        SqliteDatabase db(path);
        EXPECT_EQ(Rows(db, "Site"), 4u);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SchemaMigrations, TwoCopiesStartingAtOnceBothFindTheBookMadeOnce) {
    testing::TempDir dir;
    const std::string path = OldDatabase(dir);
    std::vector<std::thread> copies;
    std::atomic<int> failures{0};
    for (int i = 0; i < 4; ++i)
        copies.emplace_back([&] {
            try {
                SqliteDatabase db(path);
                MigrateSchema(db);
            } catch (const DatabaseError&) {
                ++failures;
            }
        });
    for (std::thread& t : copies) t.join();
    EXPECT_EQ(failures, 0);
    SqliteDatabase db(path);
    EXPECT_EQ(SchemaVersionOf(db), NewestSchemaVersion());
    EXPECT_EQ(Rows(db, "SchemaVersion"), SchemaMigrations().size());
    EXPECT_EQ(Rows(db, "OperationLog"), 3u);
}

}  // namespace
}  // namespace tarnwick

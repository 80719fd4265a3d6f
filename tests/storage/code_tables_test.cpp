#include "storage/code_tables.h"

#include <gtest/gtest.h>

#include "storage/sqlite_database.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

using testing::FixedClock;

TEST(Database, IsCreatedFromTheSeedOnlyWhenMissing) {
    testing::TempDir dir;
    std::string path = dir.File("db.mdb");
    EXPECT_TRUE(EnsureDatabase(path));
    EXPECT_FALSE(EnsureDatabase(path));
    SqliteDatabase db(path);
    EXPECT_GT(db.Select("Select * From AlarmTypeCode").size(), 20u);
    EXPECT_GT(db.Select("Select * From OperateCode").size(), 5u);
}

TEST(CodeTables, LoadSkipsEmptyTextsLetsLaterRowsWinAndIgnoresCase) {
    testing::TempDir dir;
    SqliteDatabase db(dir.File("db.mdb"));
    db.ExecuteScript(
        "CREATE TABLE AlarmTypeCode (AlarmCode TEXT, AlarmType TEXT);"
        "CREATE TABLE OperateCode (OperateCode TEXT, OperateInfo TEXT);"
        "INSERT INTO AlarmTypeCode VALUES ('0A','挟持报警'),('0B',''),('0C','旧'),('0C','新');"
        "INSERT INTO OperateCode VALUES ('01','键盘操作');");
    CodeTable alarms;
    CodeTable operates;
    LoadCodeTables(db, alarms, operates);
    EXPECT_EQ(alarms.Get("0a"), "挟持报警");
    EXPECT_EQ(alarms.Get("0B"), "");
    EXPECT_EQ(alarms.Get("0C"), "新");
    EXPECT_EQ(alarms.Count(), 2u);
    EXPECT_EQ(operates.Get("01"), "键盘操作");
}

TEST(CodeTables, AMissingTableEndsTheLoadingButKeepsWhatWasRead) {
    testing::TempDir dir;
    SqliteDatabase db(dir.File("db.mdb"));
    db.ExecuteScript(
        "CREATE TABLE AlarmTypeCode (AlarmCode TEXT, AlarmType TEXT);"
        "INSERT INTO AlarmTypeCode VALUES ('01','紧急报警');");
    CodeTable alarms;
    CodeTable operates;
    EXPECT_THROW(LoadCodeTables(db, alarms, operates), DatabaseError);
    EXPECT_EQ(alarms.Get("01"), "紧急报警");
    EXPECT_EQ(operates.Count(), 0u);
}

TEST(OperationLog, WritesOneRowWithTheCurrentHostTheUserAndTheComputer) {
    testing::TempDir dir;
    std::string path = dir.File("db.mdb");
    EnsureDatabase(path);
    SqliteDatabase db(path);
    FixedClock clock;
    HostSession session;
    session.SetCurrentHost("10.77.0.11");
    OperationLog log(db, clock, session);
    log.Write("7E238201028D107E", "重新启动成功!");
    log.Write("7E1F8201128206F20E7E", "");
    auto rows = db.Select(
        "Select dTime, OperationIP, OperationInfo, OperationResult, Operator, Workstation From "
        "OperationLog Order By ID");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].second, "2026-12-07 08:30:05");
    EXPECT_EQ(rows[0][1].second, "10.77.0.11");
    EXPECT_EQ(rows[0][2].second, "7E238201028D107E");
    EXPECT_EQ(rows[0][3].second, "重新启动成功!");
    EXPECT_EQ(rows[0][4].second, ThisWorkplace().operatorName);
    EXPECT_FALSE(rows[0][4].second.empty());
    EXPECT_EQ(rows[0][5].second, ThisWorkplace().workstation);
    EXPECT_EQ(rows[1][3].second, "");
}

TEST(OperationLog, AFileThatCannotBeWrittenGivesTheReasonInsteadOfRaising) {
    testing::TempDir dir;
    SqliteDatabase db(dir.File("missing.mdb"));
    FixedClock clock;
    HostSession session;
    OperationLog log(db, clock, session);
    std::string reason;
    EXPECT_NO_THROW(reason = log.Write("7E", "x"));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(OperationLogProblemText(reason), "操作日志无法写入：" + reason);
}

}  // namespace
}  // namespace tarnwick

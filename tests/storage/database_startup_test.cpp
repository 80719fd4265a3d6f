#include "storage/database_startup.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "storage/code_tables.h"
#include "storage/sqlite_database.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

size_t AlarmCodesLoaded(const std::string& path) {
    SqliteDatabase db(path);
    CodeTable alarms;
    CodeTable operates;
    LoadCodeTables(db, alarms, operates);
    return alarms.Count();
}

// What a write keeps beside the file until it ends: the write-ahead log.
const std::string kWriteLog = "-wal";

// A child process starts a large write and is killed in the middle of it,
// leaving the journal behind.
void KillDuringAWrite(const std::string& path) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        // A tiny cache makes SQLite write changed pages into the file before
        // the commit, as a long write does.
        sqlite3_exec(db,
                     "PRAGMA cache_size=1; BEGIN; DELETE FROM AlarmTypeCode;"
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000)"
                     " INSERT INTO OperationLog(dTime, OperationIP, OperationInfo, OperationResult,"
                     " Operator) SELECT '2026-12-07', '10.77.0.11', hex(randomblob(300)), '', ''"
                     " FROM n;",
                     nullptr, nullptr, nullptr);
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(DatabaseStartup, AJournalLeftByAKillIsRolledBackAndTheCodeTablesLoad) {
    testing::TempDir dir;
    const std::string path = dir.File("db.mdb");
    ASSERT_TRUE(EnsureDatabase(path));
    const size_t seeded = AlarmCodesLoaded(path);
    ASSERT_GT(seeded, 20u);

    KillDuringAWrite(path);
    ASSERT_TRUE(fs::exists(path + kWriteLog));
    ASSERT_GT(fs::file_size(path + kWriteLog), 0u);

    const DatabaseStartup startup = PrepareDatabase(path);
    EXPECT_EQ(startup.problem, "");
    EXPECT_FALSE(startup.created);
    EXPECT_FALSE(fs::exists(path + kWriteLog));
    EXPECT_EQ(AlarmCodesLoaded(path), seeded);
    EXPECT_TRUE(SqliteDatabase(path).Select("Select * From OperationLog").empty());
}

TEST(DatabaseStartup, SelectsRollBackAJournalThemselves) {
    testing::TempDir dir;
    const std::string path = dir.File("db.mdb");
    ASSERT_TRUE(EnsureDatabase(path));
    const size_t seeded = AlarmCodesLoaded(path);
    KillDuringAWrite(path);
    ASSERT_TRUE(fs::exists(path + kWriteLog));
    EXPECT_EQ(AlarmCodesLoaded(path), seeded);
}

TEST(DatabaseStartup, AMissingOrEmptyFileIsSeeded) {
    testing::TempDir dir;
    const std::string missing = dir.File("db.mdb");
    const std::string empty = dir.File("empty.mdb");
    std::ofstream(empty).close();
    // A first start of an installed tool: not even the folders are there.
    const std::string firstStart = dir.File(".local/share/tarnwick/db.mdb");
    for (const std::string& path : {missing, empty, firstStart}) {
        SCOPED_TRACE(path);
        const DatabaseStartup startup = PrepareDatabase(path);
        EXPECT_TRUE(startup.created);
        EXPECT_EQ(startup.problem, "");
        EXPECT_GT(AlarmCodesLoaded(path), 20u);
        EXPECT_FALSE(PrepareDatabase(path).created);
    }
    // A new file is the user's alone (it keeps snapshots with installer
    // codes); an empty one keeps the mode it had, and is named.
    for (const std::string& path : {missing, firstStart})
        EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    ::chmod(empty.c_str(), 0644);
    EXPECT_NE(WideModeText(empty).find("0644"), std::string::npos);
    EXPECT_EQ(WideModeText(missing), "");
    // The folders it made are the user's alone.
    for (const char* made : {".local", ".local/share", ".local/share/tarnwick"})
        EXPECT_EQ(fs::status(dir.File(made)).permissions(), fs::perms::owner_all) << made;
}

// Threads of this process and of a second one make one new database at once
// and each writes a row into it.
TEST(DatabaseStartup, ThreadsAndProcessesMakingOneNewDatabaseAllUseIt) {
    testing::TempDir dir;
    const std::string path = dir.File("db.mdb");
    constexpr int kThreads = 4;
    auto writers = [&path](const std::string& who) {
        std::vector<std::string> failures(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                try {
                    EnsureDatabase(path);
                    SqliteDatabase(path).Execute(
                        "INSERT INTO OperationLog(dTime, OperationIP, OperationInfo,"
                        " OperationResult, Operator) VALUES('2026-12-07', :ip, '', '', '')",
                        {{"ip", who + std::to_string(t)}});
                } catch (const std::exception& e) {
                    failures[static_cast<size_t>(t)] = e.what();
                }
            });
        for (std::thread& t : threads) t.join();
        return failures;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto failures = writers("child");
        ::_exit(failures == std::vector<std::string>(kThreads) ? 0 : 1);
    }
    EXPECT_EQ(writers("parent"), std::vector<std::string>(kThreads));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(SqliteDatabase(path).Select("SELECT * FROM OperationLog").size(), 2u * kThreads);
    EXPECT_GT(AlarmCodesLoaded(path), 20u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(SqliteDatabase, ADatabaseInMemoryKeepsItsRowsFromStatementToStatement) {
    const std::unique_ptr<SqliteDatabase> db = SqliteDatabase::InMemory();
    CodeTable alarms;
    CodeTable operates;
    LoadCodeTables(*db, alarms, operates);
    EXPECT_GT(alarms.Count(), 20u);
    db->Execute(
        "INSERT INTO OperationLog(dTime, OperationIP, OperationInfo, OperationResult, Operator)"
        " VALUES('2026-12-07', '10.77.0.11', '', '', '')",
        {});
    EXPECT_EQ(db->Select("SELECT OperationIP FROM OperationLog").size(), 1u);
    // A second one is a database of its own.
    EXPECT_TRUE(SqliteDatabase::InMemory()->Select("SELECT * FROM OperationLog").empty());
    EXPECT_FALSE(fs::exists(":memory:"));
}

// The problem start-up reports for a path; the check runs in a child process
// as an ordinary user when the tests run as root, so permissions count.
std::string ProblemAsOrdinaryUser(const std::string& path) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        const std::string problem = PrepareDatabase(path).problem;
        const bool written =
            ::write(fds[1], problem.data(), problem.size()) == static_cast<ssize_t>(problem.size());
        ::_exit(written ? 0 : 3);
    }
    ::close(fds[1]);
    std::string problem;
    char buffer[512];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        problem.append(buffer, static_cast<size_t>(got));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return problem;
}

TEST(DatabaseStartup, AFileThatCannotServeIsNamedWithItsCauseAndLeftAlone) {
    testing::TempDir dir;
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string garbage = dir.File("garbage.mdb");
    std::ofstream(garbage) << std::string(4096, 'A');
    const std::string folder = dir.File("folder.mdb");
    fs::create_directory(folder);
    const std::string unreadable = dir.File("unreadable.mdb");
    ASSERT_TRUE(EnsureDatabase(unreadable));
    fs::permissions(unreadable, fs::perms::none);
    const std::string locked = dir.File("locked");
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string underLocked = locked + "/tarnwick/db.mdb";
    const std::string underFile = garbage + "/db.mdb";

    struct Case {
        std::string path;
        std::string cause;
        std::string problem;
    };
    const Case cases[] = {
        {garbage, "这个文件不是本软件的数据库", PrepareDatabase(garbage).problem},
        {folder, "这个名字是一个文件夹", PrepareDatabase(folder).problem},
        {unreadable, "当前用户没有读取这个文件的权限", ProblemAsOrdinaryUser(unreadable)},
        {underLocked, "无法建立它所在的文件夹“" + locked + "/tarnwick”（Permission denied",
         ProblemAsOrdinaryUser(underLocked)},
        {underFile, "无法建立它所在的文件夹“" + garbage + "”（Not a directory",
         PrepareDatabase(underFile).problem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.problem.rfind("数据库文件“" + c.path + "”无法使用：" + c.cause, 0), 0u)
            << c.problem;
        EXPECT_NE(c.problem.find("其余功能照常使用"), std::string::npos);
    }
    EXPECT_EQ(fs::file_size(garbage), 4096u);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_FALSE(fs::exists(locked + "/tarnwick"));
}

}  // namespace
}  // namespace tarnwick

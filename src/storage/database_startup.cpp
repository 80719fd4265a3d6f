#include "storage/database_startup.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "storage/database_port.h"
#include "storage/schema_migrations.h"
#include "storage/sqlite_database.h"

namespace tarnwick {
namespace {

constexpr const char* kRecreateAdvice =
    "请把它移走或改名后重新启动本软件，软件会重新建立一个新的数据库。";
constexpr const char* kRunsOn = "报警类型和操作说明将显示为空，其余功能照常使用。";

// The full path, so that the installer finds the file whatever folder the
// tool was started from.
std::string Named(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return "数据库文件“" + (error ? path : full.string()) + "”";
}

std::string Problem(const std::string& path, const std::string& cause, const std::string& advice) {
    return Named(path) + "无法使用：" + cause + "\r\n" + advice + "\r\n" + kRunsOn;
}

std::string ErrnoText(int error) {
    return std::string(std::strerror(error)) + "，错误号 " + std::to_string(error);
}

// Opens the file for writing when allowed and reads its schema, which makes
// SQLite roll back a journal an interrupted write left. Returns the problem.
std::string Probe(const std::string& path) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    const bool readOnly = db && sqlite3_db_readonly(db, "main") == 1;
    sqlite3_close(db);
    if (rc == SQLITE_OK) return {};
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
        return Problem(path, "这个文件不是本软件的数据库，或者内容已经损坏。", kRecreateAdvice);
    if (rc == SQLITE_READONLY || readOnly)
        return Problem(path,
                       "上次写入时被中断，需要修复，但当前用户不能写这个文件或它所在的文件夹"
                       "（" +
                           message + "）。",
                       "请让管理员给当前用户这个文件和它所在文件夹的写权限，再重新启动本软件。");
    if (rc == SQLITE_CANTOPEN || rc == SQLITE_PERM || rc == SQLITE_AUTH)
        return Problem(path, "打不开这个文件（" + message + "）。",
                       "请让管理员检查这个文件的权限，再重新启动本软件。");
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return Problem(path, "另一个程序正在使用这个文件（" + message + "）。",
                       "请关闭那个程序后重新启动本软件。");
    return Problem(path, "读取时出错（" + message + "，代码 " + std::to_string(extended) + "）。",
                   kRecreateAdvice);
}

// Makes the missing folders leading to `folder`, each readable by the user
// alone. Returns the errno of the first that cannot be made, else 0.
int MakeMissingFolders(const std::filesystem::path& folder) {
    if (folder.empty()) return 0;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    if (const int error = MakeMissingFolders(folder.parent_path()); error != 0) return error;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    return 0;
}

}  // namespace

DatabaseStartup PrepareDatabase(const std::string& path) {
    DatabaseStartup result;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (const int error = MakeMissingFolders(folder); error != 0) {
        result.problem = Problem(
            path, "无法建立它所在的文件夹“" + folder.string() + "”（" + ErrnoText(error) + "）。",
            "请让管理员检查这个文件夹的上级文件夹的权限，再重新启动本软件。");
        return result;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            result.problem =
                Problem(path, "无法访问这个文件（" + ErrnoText(errno) + "）。",
                        "请让管理员检查这个文件和它所在文件夹的权限，再重新启动本软件。");
            return result;
        }
    } else if (S_ISDIR(st.st_mode)) {
        result.problem = Problem(path, "这个名字是一个文件夹，不是数据库文件。", kRecreateAdvice);
        return result;
    } else if (!S_ISREG(st.st_mode)) {
        result.problem = Problem(path, "这个名字不是一个普通文件。", kRecreateAdvice);
        return result;
    } else {
        // Asked without opening it: closing a descriptor of the file would
        // drop the locks other connections of this process hold on it.
        if (::access(path.c_str(), R_OK) != 0) {
            result.problem =
                Problem(path, "当前用户没有读取这个文件的权限（" + ErrnoText(errno) + "）。",
                        "请让管理员给当前用户这个文件的读写权限，再重新启动本软件。");
            return result;
        }
    }
    try {
        result.created = EnsureDatabase(path);
    } catch (const DatabaseError& e) {
        result.problem = Problem(path, std::string("无法建立新的数据库（") + e.what() + "）。",
                                 "请让管理员给当前用户这个文件夹的写权限，再重新启动本软件。");
        return result;
    }
    result.problem = Probe(path);
    if (!result.problem.empty()) return result;
    try {
        SqliteDatabase db(path);
        MigrateSchema(db);
    } catch (const DatabaseError& e) {
        result.schemaProblem = e.Code() == DbErrorCode::NewerSchema
                                   ? Named(path) + "：" + e.what() + "。"
                                   : Named(path) + "无法加入站点簿（" + std::string(e.what()) +
                                         "）。\r\n站点簿暂不可用，其余功能照常使用。";
    }
    return result;
}

std::string WideModeText(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || (st.st_mode & 077) == 0) return {};
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 0777));
    return Named(path) + "的权限为 " + mode +
           "，本机其他用户也能读取其中的备份（含安装员密码）；建议改为 0600（chmod 600）。";
}

}  // namespace tarnwick

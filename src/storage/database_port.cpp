#include "storage/database_port.h"

#include "protocol/name_value_list.h"

namespace tarnwick {

std::string DbColumn(const DbRow& row, const std::string& name) {
    for (const auto& [column, value] : row)
        if (SameName(column, name)) return value;
    return {};
}

const char* DbErrorCodeText(DbErrorCode code) {
    switch (code) {
        case DbErrorCode::UniqueViolation:
            return "与已有的记录重复";
        case DbErrorCode::ConnectionLost:
            return "连接中断";
        case DbErrorCode::ReadOnly:
            return "数据库只读";
        case DbErrorCode::Busy:
            return "数据库正忙";
        case DbErrorCode::NewerSchema:
            return "数据库的版本比本软件新";
        case DbErrorCode::Other:
            break;
    }
    return "数据库报错（详见调试信息）";
}

const char* DbServerCauseText(DbServerCause cause) {
    switch (cause) {
        case DbServerCause::NotRunning:
            return "服务器未运行";
        case DbServerCause::Refused:
            return "拒绝连接";
        case DbServerCause::WrongPassword:
            return "密码错误";
        case DbServerCause::NoDatabase:
            return "数据库不存在";
        case DbServerCause::TimedOut:
            return "超时";
        case DbServerCause::Dropped:
            return "连接中断";
        case DbServerCause::BadAddress:
            return "数据库地址无效";
        case DbServerCause::Unknown:
            break;
    }
    return "原因不明（详见调试信息）";
}

DatabaseUnreachable::DatabaseUnreachable(const std::string& server, DbServerCause cause,
                                         std::string detail)
    : DatabaseError("团队数据库 " + server + " 无法连接：" + DbServerCauseText(cause),
                    DbErrorCode::ConnectionLost, std::move(detail)),
      server_(server),
      cause_(cause) {}

}  // namespace tarnwick

#include "storage/code_tables.h"

namespace tarnwick {
namespace {

std::string Column(const DbRow& row, const std::string& name) {
    for (const auto& [column, value] : row)
        if (SameName(column, name)) return value;
    return {};
}

}  // namespace

void LoadCodeTables(DatabasePort& db, CodeTable& alarmCodes, CodeTable& operateCodes) {
    for (const DbRow& row : db.Select(std::string(kSelectAlarmCodes)))
        alarmCodes.Set(Column(row, "AlarmCode"), Column(row, "AlarmType"));
    for (const DbRow& row : db.Select(std::string(kSelectOperateCodes)))
        operateCodes.Set(Column(row, "OperateCode"), Column(row, "OperateInfo"));
}

std::string OperationLogProblemText(const std::string& reason) {
    return "操作日志无法写入：" + reason;
}

std::string OperationLog::Write(const std::string& info, const std::string& result) {
    return WriteFor(session_.CurrentHost(), info, result);
}

std::string OperationLog::WriteFor(const std::string& host, const std::string& info,
                                   const std::string& result) {
    try {
        db_.Execute(std::string(kInsertOperationLog), {{"_dTime", clock_.NowText()},
                                                       {"_OperationIP", host},
                                                       {"_OperationInfo", info},
                                                       {"_OperationResult", result},
                                                       {"_Operator", ""}});
    } catch (const std::exception& e) {
        return e.what()[0] ? e.what() : "unknown database error";
    }
    return {};
}

}  // namespace tarnwick

#include "storage/code_tables.h"

namespace tarnwick {

void LoadCodeTables(DatabasePort& db, CodeTable& alarmCodes, CodeTable& operateCodes) {
    for (const DbRow& row : db.Select(std::string(kSelectAlarmCodes)))
        alarmCodes.Set(DbColumn(row, "AlarmCode"), DbColumn(row, "AlarmType"));
    for (const DbRow& row : db.Select(std::string(kSelectOperateCodes)))
        operateCodes.Set(DbColumn(row, "OperateCode"), DbColumn(row, "OperateInfo"));
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
                                                       {"_Operator", workplace_.operatorName},
                                                       {"_Workstation", workplace_.workstation}});
    } catch (const std::exception& e) {
        return e.what()[0] ? e.what() : "unknown database error";
    }
    return {};
}

}  // namespace tarnwick

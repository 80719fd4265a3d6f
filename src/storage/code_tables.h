#pragma once
#include <string>

#include "protocol/host_session.h"
#include "protocol/name_value_list.h"
#include "storage/database_port.h"
#include "storage/workplace.h"

namespace tarnwick {

inline constexpr std::string_view kSelectAlarmCodes =
    "Select * From AlarmTypeCode Where AlarmType<>''";
inline constexpr std::string_view kSelectOperateCodes =
    "Select * From OperateCode Where OperateInfo<>''";
inline constexpr std::string_view kInsertOperationLog =
    "Insert Into OperationLog(  dTime,  OperationIP,  OperationInfo,  OperationResult,  "
    "Operator,  Workstation) Values(:_dTime,:_OperationIP,:_OperationInfo,:_OperationResult,"
    ":_Operator,:_Workstation)";

// Fills the two code tables from the database; a failure ends the loading and
// leaves what was read before it.
void LoadCodeTables(DatabasePort& db, CodeTable& alarmCodes, CodeTable& operateCodes);

// One row of the operation log per operation that changed something on a host.
// The line that tells the operator, once beside a result, that the operation
// log could not be written and why.
std::string OperationLogProblemText(const std::string& reason);

class OperationLog {
  public:
    // The rows name this process's user and computer until SetWorkplace.
    OperationLog(DatabasePort& db, ClockPort& clock, const HostSession& session)
        : db_(db), clock_(clock), session_(session), workplace_(ThisWorkplace()) {}
    void SetWorkplace(Workplace workplace) { workplace_ = std::move(workplace); }
    const Workplace& CurrentWorkplace() const { return workplace_; }
    // Writes the row. A failure (a read-only or locked database, a file
    // without the table) never leaves the flow that logs: it is returned as
    // its reason, empty text when the row was written.
    std::string Write(const std::string& info, const std::string& result);
    // A row for a host other than the current one (the address change works
    // on a listed host without logging in); fails the same way.
    std::string WriteFor(const std::string& host, const std::string& info,
                         const std::string& result);

  private:
    DatabasePort& db_;
    ClockPort& clock_;
    const HostSession& session_;
    Workplace workplace_;
};

}  // namespace tarnwick

#pragma once
#include <string>
#include <vector>

#include "protocol/name_value_list.h"

namespace tarnwick {

// The alarm history grid: a header row and twenty data rows of six columns.
inline constexpr int kAlarmGridRows = 20;
inline constexpr int kAlarmGridColumns = 6;
inline constexpr int kAlarmPageSize = 20;

// The records a history reply stored (AlarmInfo1, AlarmInfo2, ...) up to the
// first one missing, at most `limit`.
std::vector<std::string> StoredAlarmRecords(const DeviceParams& stored, int limit);

// The header row of the grid.
std::vector<std::string> AlarmGridHeader();

// Fills the cells of one grid row from an alarm record (22 hex digits),
// column by column. A kind-90 record whose zone base is not two decimal
// digits throws ConversionError when its zone column is reached, leaving the
// columns before it filled.
void FillAlarmRow(std::vector<std::string>& row, const std::string& record,
                  const CodeTable& alarmCodes, const CodeTable& operateCodes);

// How a cell of the grid is drawn: background and text colour as RGB, 0 for
// the grid's normal colours.
struct AlarmCellStyle {
    uint32_t background = 0;
    uint32_t text = 0;
};
// Even data rows are light grey with green text, apart from the number column.
AlarmCellStyle AlarmCellStyleAt(int row, int column);

}  // namespace tarnwick

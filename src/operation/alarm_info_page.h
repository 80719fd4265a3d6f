#pragma once
#include <functional>
#include <memory>

#include "hosts/page_branch.h"
#include "storage/spreadsheet_port.h"

namespace tarnwick {

class HostWindow;

// The save dialog sdlgExcel.
inline constexpr const char* kExportDialogTitle = "将警情信息表存成Excel文件";
inline constexpr const char* kExportFilter = "*.xlsx";
inline constexpr const char* kExportExtension = "xlsx";
inline constexpr const char* kExportSheetName = "sheet1";

// tsAlarmInfo: the host's alarm history, twenty entries from cbStartNo on,
// paged forward and back and exported to a workbook.
class AlarmInfoPage : public PageBranch {
  public:
    AlarmInfoPage(HostWindow& window, std::unique_ptr<SpreadsheetPort> spreadsheet);

    void Prepare() override { ClearAlarmGrid(); }
    CommandList ReadList() override;
    void Load(const DeviceParams& stored) override { ShowAlarmRecords(stored); }

    void ClearAlarmGrid();
    void ShowAlarmRecords(const DeviceParams& stored);
    // bbtnPageUp and bbtnPageDown: move the start number, then refresh.
    void TurnPage(int direction);
    // bbtnToExcel: the grid into the workbook the save dialog names.
    void ExportToExcel();
    // bbtnAllToExcel: every record of the host, read page by page, into the
    // workbook the save dialog names.
    void ExportAllToExcel();

    // sdlgExcel, offered `suggestedName`: the path the operator chose,
    // empty when cancelled.
    std::function<std::string(const std::string& suggestedName)> chooseExportPath;

  private:
    // The export's file name for the current host, today.
    std::string SuggestedName() const;

    HostWindow& window_;
    std::unique_ptr<SpreadsheetPort> spreadsheet_;
};

// The history read for the twenty records from `start` on; a start that
// puts the last record number beyond 16 bits throws ConversionError.
CommandEntry AlarmHistoryRead(int start);
// The start number in cbStartNo; text that is no number counts as 1.
int PagingStart(const std::string& text);
// The chosen path with ".xlsx" appended when its file name has no extension.
std::string WithExportExtension(const std::string& path);
// The file name an export of `host`'s alarms at `now` ("yyyy-mm-dd
// hh:nn:ss") is offered under: "警情信息_10.231.1.1_20261207.xlsx".
std::string SuggestedExportName(const std::string& host, const std::string& now);

}  // namespace tarnwick

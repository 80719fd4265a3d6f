#pragma once
#include "storage/spreadsheet_port.h"

namespace tarnwick {

// Office Open XML workbooks (.xlsx), written under a temporary name in the
// target folder and renamed into place once complete.
class XlsxSpreadsheet : public SpreadsheetPort {
  public:
    void SaveWorkbook(const std::string& path, const std::string& sheetName,
                      const SheetCells& cells) override;
};

}  // namespace tarnwick

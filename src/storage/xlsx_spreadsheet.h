#pragma once
#include "storage/spreadsheet_port.h"

namespace tarnwick {

// Office Open XML workbooks (.xlsx), written through a ReplacementFile: in
// place once complete, never over a read-only file.
class XlsxSpreadsheet : public SpreadsheetPort {
  public:
    void SaveWorkbook(const std::string& path, const std::string& sheetName,
                      const SheetCells& cells) override;
};

}  // namespace tarnwick

#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick {

// Cell texts by row and column, row 0 written to the sheet's first row.
using SheetCells = std::vector<std::vector<std::string>>;

// Writes spreadsheet files. A failure throws SpreadsheetError with the reason;
// a failed write leaves no partial file behind and never replaces an earlier
// file of that name.
class SpreadsheetPort {
  public:
    virtual ~SpreadsheetPort() = default;
    // One workbook whose first worksheet is `sheetName`, holding `cells` as
    // text from its first cell on, saved under `path`.
    virtual void SaveWorkbook(const std::string& path, const std::string& sheetName,
                              const SheetCells& cells) = 0;
};

class SpreadsheetError : public std::runtime_error {
  public:
    explicit SpreadsheetError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tarnwick

#pragma once
#include <string>
#include <vector>

namespace tarnwick::testing {

// What a workbook file holds, read with the system's unzip and no part of
// the writer: the worksheet names in order and the first worksheet's cell
// texts by row and column (absent cells are empty text).
struct XlsxContent {
    std::vector<std::string> sheetNames;
    std::vector<std::vector<std::string>> cells;
};
// Throws std::runtime_error when the file is no readable workbook.
XlsxContent ReadXlsx(const std::string& path);

}  // namespace tarnwick::testing

#include "storage/xlsx_spreadsheet.h"

#include <xlsxwriter.h>

#include <utility>

#include "storage/replacement_file.h"

namespace tarnwick {
namespace {

void WriteCells(lxw_worksheet* sheet, const SheetCells& cells) {
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c) {
            if (cells[r][c].empty()) continue;
            const lxw_error err =
                worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                       cells[r][c].c_str(), nullptr);
            if (err != LXW_NO_ERROR) throw SpreadsheetError(lxw_strerror(err));
        }
}

// Closes the workbook whatever happens, once.
struct Workbook {
    lxw_workbook* book;
    ~Workbook() {
        if (book) workbook_close(book);
    }
    lxw_error Close() { return workbook_close(std::exchange(book, nullptr)); }
};

}  // namespace

void XlsxSpreadsheet::SaveWorkbook(const std::string& path, const std::string& sheetName,
                                   const SheetCells& cells) {
    try {
        // The library writes by name: it is given the temporary file's.
        ReplacementFile file(path, FileAccess::AsUsual);
        Workbook book{workbook_new(file.TemporaryPath().c_str())};
        if (!book.book) throw SpreadsheetError("cannot create the workbook");
        lxw_worksheet* sheet = workbook_add_worksheet(book.book, sheetName.c_str());
        if (!sheet) throw SpreadsheetError("cannot add the worksheet " + sheetName);
        WriteCells(sheet, cells);
        const lxw_error err = book.Close();
        if (err != LXW_NO_ERROR) throw SpreadsheetError(lxw_strerror(err));
        file.Commit();
    } catch (const FileWriteError& e) {
        throw SpreadsheetError(e.what());
    }
}

}  // namespace tarnwick

#include "storage/xlsx_spreadsheet.h"

#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarnwick {
namespace {

// A new empty file beside `path`, readable as an ordinary file would be.
std::string CreateTemporaryBeside(const std::string& path) {
    std::string name = path + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw SpreadsheetError(std::strerror(errno));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    return name;
}

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

}  // namespace

void XlsxSpreadsheet::SaveWorkbook(const std::string& path, const std::string& sheetName,
                                   const SheetCells& cells) {
    const std::string temporary = CreateTemporaryBeside(path);
    lxw_workbook* book = workbook_new(temporary.c_str());
    if (!book) {
        std::remove(temporary.c_str());
        throw SpreadsheetError("cannot create the workbook");
    }
    lxw_error err = LXW_NO_ERROR;
    try {
        lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.c_str());
        if (!sheet) throw SpreadsheetError("cannot add the worksheet " + sheetName);
        WriteCells(sheet, cells);
    } catch (...) {
        workbook_close(book);
        std::remove(temporary.c_str());
        throw;
    }
    err = workbook_close(book);
    if (err != LXW_NO_ERROR) {
        std::remove(temporary.c_str());
        throw SpreadsheetError(lxw_strerror(err));
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        throw SpreadsheetError(reason);
    }
}

}  // namespace tarnwick

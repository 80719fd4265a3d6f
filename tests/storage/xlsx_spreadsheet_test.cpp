#include "storage/xlsx_spreadsheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "storage/replacement_file.h"
#include "support/temp_dir.h"
#include "support/xlsx_reader.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

size_t FilesIn(const fs::path& dir) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(XlsxSpreadsheet, ReplacesAnEarlierFileWholeAndKeepsBlanksAndEmptyCells) {
    testing::TempDir dir;
    const std::string path = dir.File("book.xlsx");
    std::ofstream(path) << "an earlier file";
    // Shared with the group: the new workbook is shared alike.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    XlsxSpreadsheet sheets;
    const SheetCells cells = {{" a", "  <&>", ""}, {}, {"", "防区3 ", " "}};
    sheets.SaveWorkbook(path, "sheet1", cells);
    const testing::XlsxContent book = testing::ReadXlsx(path);
    EXPECT_EQ(book.sheetNames, (std::vector<std::string>{"sheet1"}));
    EXPECT_EQ(book.cells, (SheetCells{{" a", "  <&>"}, {}, {"", "防区3 ", " "}}));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::group_write);
    // A new workbook is readable as an ordinary file is.
    sheets.SaveWorkbook(dir.File("new.xlsx"), "sheet1", cells);
    EXPECT_NE(fs::status(dir.File("new.xlsx")).permissions() & fs::perms::others_read,
              fs::perms::none);
}

TEST(XlsxSpreadsheet, AReadOnlyWorkbookIsNotReplaced) {
    testing::TempDir dir;
    const std::string path = dir.File("kept.xlsx");
    std::ofstream(path) << "an earlier file";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    XlsxSpreadsheet sheets;
    try {
        sheets.SaveWorkbook(path, "sheet1", {{"x"}});
        ADD_FAILURE() << "replaced";
    } catch (const SpreadsheetError& e) {
        EXPECT_STREQ(e.what(), kReadOnlyTargetText);
    }
    EXPECT_EQ(fs::file_size(path), 15u);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(XlsxSpreadsheet, AFailedSaveLeavesNothingBehindAndNothingDestroyed) {
    testing::TempDir dir;
    XlsxSpreadsheet sheets;
    // The target is a folder: the workbook is written, the rename fails.
    const fs::path folder = dir.Path() / "taken.xlsx";
    fs::create_directory(folder);
    std::ofstream((folder / "inside").string()) << "kept";
    EXPECT_THROW(sheets.SaveWorkbook(folder.string(), "sheet1", {{"x"}}), SpreadsheetError);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    EXPECT_EQ(FilesIn(folder), 1u);
    // A folder that does not exist.
    try {
        sheets.SaveWorkbook(dir.File("none/book.xlsx"), "sheet1", {{"x"}});
        ADD_FAILURE() << "no error";
    } catch (const SpreadsheetError& e) {
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
}

}  // namespace
}  // namespace tarnwick

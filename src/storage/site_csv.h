#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage/site_book.h"

namespace tarnwick {

// The site book as a CSV file: UTF-8 (a byte order mark is written and
// taken), one header line of field captions, one site a line, fields quoted
// where they hold a comma, a quote or blanks at their ends.
std::string SiteCsvText(const std::vector<Site>& sites);

// A line of a file that was left out, with its number (1-based, the line a
// record starts on) and why.
struct SkippedLine {
    int line;
    std::string reason;
    bool operator==(const SkippedLine&) const = default;
};

// What an import did. `problem` says why the file as a whole could not be
// taken (then nothing was stored); otherwise `imported` sites were stored in
// one transaction and `skipped` names every line that was not.
struct SiteImport {
    std::string problem;
    std::vector<Site> imported;
    std::vector<SkippedLine> skipped;
};

// The sites of a CSV text that `book` can take: the header must name
// 站点名称 and IP地址 and may name the other fields in any order; a line
// with a wrong field, or a name or address the book or an earlier line holds,
// is skipped. Blank lines are left out.
SiteImport ReadSiteCsv(std::string_view text, const std::vector<Site>& book);

// Reads the file at `path` and stores the sites it holds, all in one
// transaction. Database failures throw DatabaseError, and nothing is stored.
SiteImport ImportSiteCsvFile(SiteBook& book, const std::string& path);
// Writes every site of the book to `path` and returns how many; throws
// std::runtime_error with the reason when the file cannot be written.
size_t ExportSiteCsvFile(SiteBook& book, const std::string& path);

// A file larger than this is not read.
inline constexpr size_t kSiteCsvMaxBytes = 8 * 1024 * 1024;
// "已导入N个站点。" and the skipped lines, the first kReportedSkippedLines of
// them one a line, for a box.
std::string SiteImportReportText(const SiteImport& import);
inline constexpr size_t kReportedSkippedLines = 20;

}  // namespace tarnwick

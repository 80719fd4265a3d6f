#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage/site_book.h"

namespace tarnwick {

// The site book as a CSV file: UTF-8 (a byte order mark is written and
// taken; a file that is not UTF-8 is read as GBK), one header line of field
// captions, one site a line (csv_records.h: quoting, the formula guard).
// Text that is not UTF-8 (a backup path as the file system gave it) is
// written with U+FFFD for each broken sequence.
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
// one transaction (none on a dry run) and `skipped` names every data line
// that was not. `warnings` are about the file (a column left out).
struct SiteImport {
    std::string problem;
    std::string encoding;  // the file was read as "UTF-8" or "GBK"
    std::vector<std::string> warnings;
    std::vector<Site> imported;
    std::vector<SkippedLine> skipped;
    bool dryRun = false;
};

// The sites of a CSV file's bytes that `book` can take: the header must name
// 站点名称 and IP地址 and may name the other fields in any order (a column of
// another name is left out with a warning); a line with a wrong field, or a
// name or address the book or an earlier line holds, is skipped. Names are
// compared without regard to letter case; addresses are checked against
// `local`'s networks. Blank lines are left out.
SiteImport ReadSiteCsv(std::string_view bytes, const std::vector<Site>& book,
                       const std::vector<LocalNetwork>& local = {});

// Reads the file at `path` and stores the sites it holds, all in one
// transaction; a dry run stores nothing and reports the same. A site another
// writer booked meanwhile is named like one the book held before. Database
// failures throw DatabaseError, and nothing is stored.
enum class ImportMode { Store, DryRun };
SiteImport ImportSiteCsvFile(SiteBook& book, const std::string& path,
                             ImportMode mode = ImportMode::Store);
// Writes every site of the book to `path` and returns how many; throws
// std::runtime_error with the reason when the file cannot be written.
size_t ExportSiteCsvFile(SiteBook& book, const std::string& path);

// A file larger than this is not read.
inline constexpr size_t kSiteCsvMaxBytes = 8 * 1024 * 1024;
// How often an import whose sites another writer booked meanwhile reads the
// book again and tries once more.
inline constexpr int kSiteImportAttempts = 3;

// "已导入N个站点" (a dry run: "可导入") with the file's encoding, the
// warnings, and the skipped lines, the first kReportedSkippedLines of them
// one a line, for a box.
std::string SiteImportReportText(const SiteImport& import);
inline constexpr size_t kReportedSkippedLines = 20;
// A skipped line's reason followed by "，已跳过" (a dry run: "，将跳过"),
// with one mark between.
std::string SkippedReasonText(const std::string& reason, bool dryRun = false);

}  // namespace tarnwick

// The site book's CSV files: read bounded and stored in one transaction,
// written whole under a name of their own and renamed into place.
#include <stdexcept>

#include "storage/replacement_file.h"
#include "storage/site_csv.h"
#include "storage/small_file.h"

namespace tarnwick {
namespace {

// The bytes of the file; what keeps it from being read, or empty text.
std::string ReadCsvFile(const std::string& path, std::string& bytes) {
    try {
        // A pipe or a device is refused rather than read without end.
        bytes = ReadSmallFile(path, kSiteCsvMaxBytes);
        return {};
    } catch (const FileReadError& e) {
        switch (e.What()) {
            case FileReadError::Kind::TooLarge:
                return "文件“" + path + "”超过" + std::to_string(kSiteCsvMaxBytes / 1024 / 1024) +
                       "MB，不是站点簿的CSV文件。";
            case FileReadError::Kind::NotAFile:
                return "“" + path + "”不是普通文件。";
            case FileReadError::Kind::CannotOpen:
                break;
        }
        return "无法打开文件“" + path + "”（" + e.what() + "）。";
    }
}

}  // namespace

SiteImport ImportSiteCsvFile(SiteBook& book, const std::string& path, ImportMode mode) {
    SiteImport result;
    std::string bytes;
    result.problem = ReadCsvFile(path, bytes);
    result.dryRun = mode == ImportMode::DryRun;
    if (!result.problem.empty()) return result;
    for (int attempt = 1;; ++attempt) {
        result = ReadSiteCsv(bytes, book.List(), book.LocalNetworks());
        result.dryRun = mode == ImportMode::DryRun;
        if (!result.problem.empty() || result.dryRun || result.imported.empty()) return result;
        // Another writer may have booked one of the names or addresses since
        // the book was read: read it again, and that line is named.
        const std::string clash = book.InsertAll(result.imported);
        if (clash.empty()) return result;
        if (attempt == kSiteImportAttempts) {
            result.problem = "导入时站点簿一再被同时修改（" + clash + "），请再导入一次。";
            result.imported.clear();
            result.skipped.clear();
            return result;
        }
    }
}

size_t ExportSiteCsvFile(SiteBook& book, const std::string& path) {
    const std::vector<Site> sites = book.List();
    try {
        ReplaceFileContent(path, SiteCsvText(sites), FileAccess::AsUsual);
    } catch (const FileWriteError& e) {
        throw std::runtime_error("无法写入文件“" + path + "”（" + e.what() + "）。");
    }
    return sites.size();
}

}  // namespace tarnwick

#include "storage/site_csv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "protocol/text_helpers.h"
#include "storage/csv_records.h"

namespace tarnwick {
namespace {

// The fields of a line in the order they are written.
enum Field {
    kName,
    kAddress,
    kPort,
    kNotes,
    kDeviceId,
    kHostType,
    kModuleType,
    kLastSeen,
    kLastBackup,
    kFieldCount
};
constexpr std::array<const char*, kFieldCount> kCaptions = {
    kSiteNameCaption,       kSiteAddressCaption,  kSitePortCaption,
    kSiteNotesCaption,      kSiteDeviceIdCaption, kSiteHostTypeCaption,
    kSiteModuleTypeCaption, kSiteLastSeenCaption, kSiteLastBackupCaption};

// Which field each column of the file holds; a column of no field is left out.
using Columns = std::vector<std::optional<Field>>;

std::array<std::string, kFieldCount> FieldsOf(const Site& s) {
    return {s.name,       s.address,  std::to_string(s.port),
            s.notes,      s.deviceId, s.hostType,
            s.moduleType, s.lastSeen, s.lastBackup};
}

std::string Line(int number) {
    return "第" + std::to_string(number) + "行";
}

std::string AllCaptions() {
    std::string all;
    for (const char* c : kCaptions) all += std::string(all.empty() ? "" : "、") + c;
    return all;
}

bool IsDateTime(const std::string& text) {
    constexpr std::string_view kShape = "0000-00-00 00:00:00";
    if (text.size() != kShape.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (kShape[i] == '0' ? (text[i] < '0' || text[i] > '9') : text[i] != kShape[i])
            return false;
    return true;
}

// What is wrong with a learned field: anything the book would not keep as it
// stands (BookableLearned, BookableBackupPath).
std::string CheckLearned(Field field, const std::string& value) {
    const std::string caption = kCaptions[field];
    if (field == kLastSeen)
        return value.empty() || IsDateTime(value)
                   ? std::string()
                   : caption + "“" + value + "”不是“年-月-日 时:分:秒”格式的时间。";
    if (field == kLastBackup)
        return BookableBackupPath(value) == value
                   ? std::string()
                   : caption + "超过" + std::to_string(kSiteBackupPathMaxChars) + "个字。";
    if (BookableLearned(value) == value) return {};
    if (Utf8Length(value) > kSiteLearnedMaxChars)
        return caption + "超过" + std::to_string(kSiteLearnedMaxChars) + "个字。";
    return caption + "含有换行等控制字符。";
}

// The columns the header names; what is wrong with it, or empty text.
std::string ReadColumns(const CsvRecord& header, Columns& columns,
                        std::vector<std::string>& warnings) {
    const std::string where = Line(header.line) + "（表头）";
    if (!header.error.empty()) return where + header.error;
    for (size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = header.Cell(i);
        const auto known = std::find_if(kCaptions.begin(), kCaptions.end(),
                                        [&](const char* c) { return name == c; });
        if (known == kCaptions.end()) {
            warnings.push_back(name.empty()
                                   ? where + "的第" + std::to_string(i + 1) + "列没有列名，已忽略。"
                                   : where + "的列“" + name + "”不认识，已忽略。可用的列：" +
                                         AllCaptions() + "。");
            columns.emplace_back();
            continue;
        }
        const Field field = static_cast<Field>(known - kCaptions.begin());
        if (std::find(columns.begin(), columns.end(), field) != columns.end())
            return where + "的列“" + name + "”出现了两次。";
        columns.emplace_back(field);
    }
    for (Field required : {kName, kAddress})
        if (std::find(columns.begin(), columns.end(), required) == columns.end())
            return where + "缺少“" + std::string(kCaptions[required]) + "”列。";
    return {};
}

// One data line against the book and the lines before it.
class LineChecker {
  public:
    LineChecker(const Columns& columns, const std::vector<Site>& book,
                const std::vector<LocalNetwork>& local)
        : columns_(columns), book_(book), local_(local) {}
    // The site the line holds, or why it is skipped (`site` then unchanged).
    std::string Check(const CsvRecord& record, Site& site);

  private:
    std::string Repeated(const Site& site) const;

    const Columns& columns_;
    const std::vector<Site>& book_;
    const std::vector<LocalNetwork>& local_;
    std::map<std::string, int> nameLine_;  // by the name in upper case
    std::map<std::string, int> addressLine_;
};

std::string LineChecker::Check(const CsvRecord& record, Site& site) {
    if (!record.error.empty()) return record.error;
    if (record.fields.size() != columns_.size())
        return "有" + std::to_string(record.fields.size()) + "个字段，表头有" +
               std::to_string(columns_.size()) + "个。";
    std::array<std::string, kFieldCount> value;
    for (size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c]) value[*columns_[c]] = record.Cell(c);
    const SiteCheck check =
        CheckSiteInput({value[kName], value[kAddress], value[kPort], value[kNotes]}, local_);
    if (!check.site) return check.problem;
    for (Field f : {kDeviceId, kHostType, kModuleType, kLastSeen, kLastBackup})
        if (std::string problem = CheckLearned(f, value[f]); !problem.empty()) return problem;
    if (std::string problem = CheckSiteUnique(*check.site, book_); !problem.empty()) return problem;
    if (std::string problem = Repeated(*check.site); !problem.empty()) return problem;
    site = *check.site;
    site.deviceId = value[kDeviceId];
    site.hostType = value[kHostType];
    site.moduleType = value[kModuleType];
    site.lastSeen = value[kLastSeen];
    site.lastBackup = value[kLastBackup];
    nameLine_.emplace(ToUpper(site.name), record.line);
    addressLine_.emplace(site.address, record.line);
    return {};
}

std::string LineChecker::Repeated(const Site& site) const {
    if (auto seen = nameLine_.find(ToUpper(site.name)); seen != nameLine_.end())
        return std::string(kSiteNameCaption) + "“" + site.name + "”与" + Line(seen->second) +
               "重复。";
    if (auto same = addressLine_.find(site.address); same != addressLine_.end())
        return std::string(kSiteAddressCaption) + " " + site.address + " 与" + Line(same->second) +
               "重复。";
    return {};
}

}  // namespace

std::string SiteCsvText(const std::vector<Site>& sites) {
    std::string text = "\xEF\xBB\xBF";
    for (size_t f = 0; f < kFieldCount; ++f) text += (f ? "," : "") + std::string(kCaptions[f]);
    text += "\r\n";
    for (const Site& s : sites) {
        const auto fields = FieldsOf(s);
        for (size_t f = 0; f < kFieldCount; ++f)
            text += (f ? "," : "") + CsvFieldFromCell(ValidUtf8(fields[f]));
        text += "\r\n";
    }
    return text;
}

SiteImport ReadSiteCsv(std::string_view bytes, const std::vector<Site>& book,
                       const std::vector<LocalNetwork>& local) {
    SiteImport result;
    const DecodedCsv decoded = DecodeCsvText(bytes);
    result.encoding = decoded.encoding;
    if (decoded.badLine > 0) {
        result.problem = Line(decoded.badLine) +
                         "既不是UTF-8也不是GBK编码的文字：请把文件以UTF-8编码保存后再导入。";
        return result;
    }
    const std::vector<CsvRecord> records = SplitCsvRecords(decoded.text);
    auto header =
        std::find_if(records.begin(), records.end(), [](const CsvRecord& r) { return !r.Blank(); });
    if (header == records.end()) {
        result.problem = "文件是空的，没有表头行。";
        return result;
    }
    Columns columns;
    result.problem = ReadColumns(*header, columns, result.warnings);
    if (!result.problem.empty()) return result;
    LineChecker checker(columns, book, local);
    for (auto r = header + 1; r != records.end(); ++r) {
        if (r->Blank()) continue;
        Site site;
        if (std::string reason = checker.Check(*r, site); !reason.empty())
            result.skipped.push_back({r->line, std::move(reason)});
        else
            result.imported.push_back(std::move(site));
    }
    return result;
}

std::string SiteImportReportText(const SiteImport& import) {
    if (!import.problem.empty()) return "没有导入任何站点：" + import.problem;
    std::string text = (import.dryRun ? "试导入：可导入" : "已导入") +
                       std::to_string(import.imported.size()) + "个站点（文件编码：" +
                       import.encoding + "）" + (import.dryRun ? "，站点簿未改动。" : "。");
    for (const std::string& warning : import.warnings) text += "\r\n" + warning;
    if (import.skipped.empty()) return text;
    text += "\r\n以下" + std::to_string(import.skipped.size()) + "行" +
            (import.dryRun ? "将跳过：" : "已跳过：");
    for (size_t i = 0; i < import.skipped.size() && i < kReportedSkippedLines; ++i)
        text += "\r\n" + Line(import.skipped[i].line) + "：" + import.skipped[i].reason;
    if (import.skipped.size() > kReportedSkippedLines)
        text += "\r\n另有" + std::to_string(import.skipped.size() - kReportedSkippedLines) + "行。";
    return text;
}

std::string SkippedReasonText(const std::string& reason, bool dryRun) {
    constexpr std::string_view kFullStop = "。";
    std::string_view text = reason;
    if (text.ends_with(kFullStop)) text.remove_suffix(kFullStop.size());
    return std::string(text) + (dryRun ? "，将跳过" : "，已跳过");
}

}  // namespace tarnwick

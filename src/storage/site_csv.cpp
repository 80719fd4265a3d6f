#include "storage/site_csv.h"

#include <algorithm>
#include <array>
#include <map>
#include <sstream>
#include <stdexcept>

#include "protocol/text_helpers.h"
#include "storage/replacement_file.h"
#include "storage/small_file.h"

namespace tarnwick {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

std::array<std::string, kFieldCount> FieldsOf(const Site& s) {
    return {s.name,       s.address,  std::to_string(s.port),
            s.notes,      s.deviceId, s.hostType,
            s.moduleType, s.lastSeen, s.lastBackup};
}

std::string Quote(const std::string& field) {
    const bool plain = field.find_first_of(",\"\r\n") == std::string::npos &&
                       (field.empty() || (field.front() != ' ' && field.back() != ' '));
    if (plain) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// One record of the file: the line it starts on, its fields, or what is
// wrong with its quoting.
struct Record {
    int line = 0;
    std::vector<std::string> fields;
    std::string error;
    bool Blank() const {
        return error.empty() && std::all_of(fields.begin(), fields.end(),
                                            [](const std::string& f) { return Trim(f).empty(); });
    }
};

std::vector<Record> SplitRecords(std::string_view text) {
    std::vector<Record> records;
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        Record r;
        r.line = line;
        std::string field;
        bool done = false;
        while (!done) {
            if (i < text.size() && text[i] == '"') {
                // A quoted field: to the quote that is not doubled.
                ++i;
                bool closed = false;
                while (i < text.size()) {
                    const char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                }
                if (!closed) {
                    r.error = "引号没有结束。";
                    records.push_back(std::move(r));
                    return records;
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    r.error = "引号结束后还有字符。";
                    // The rest of the line goes with it.
                    while (i < text.size() && text[i] != '\n') ++i;
                }
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
                    field += text[i++];
            }
            r.fields.push_back(std::move(field));
            field.clear();
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < text.size() && text[i] == '\r') ++i;
            if (i < text.size() && text[i] == '\n') {
                ++i;
                ++line;
            }
            done = true;
        }
        records.push_back(std::move(r));
    }
    return records;
}

// The number of the first line that is not UTF-8, or 0.
int FirstLineNotUtf8(std::string_view text) {
    int line = 1;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (!IsValidUtf8(text.substr(start, end - start))) return line;
        ++line;
        start = end + 1;
    }
    return 0;
}

bool IsDateTime(const std::string& text) {
    constexpr std::string_view kShape = "0000-00-00 00:00:00";
    if (text.size() != kShape.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (kShape[i] == '0' ? (text[i] < '0' || text[i] > '9') : text[i] != kShape[i])
            return false;
    return true;
}

// What is wrong with a learned field, or empty text.
std::string CheckLearned(Field field, const std::string& value) {
    const std::string caption = kCaptions[field];
    if (field == kLastSeen && !value.empty() && !IsDateTime(value))
        return caption + "“" + value + "”不是“年-月-日 时:分:秒”格式的时间。";
    const bool control = std::any_of(value.begin(), value.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < ' '; });
    if (control) return caption + "含有换行等控制字符。";
    if (Utf8Length(value) > kSiteLearnedMaxChars)
        return caption + "超过" + std::to_string(kSiteLearnedMaxChars) + "个字。";
    return {};
}

std::string Line(int number) {
    return "第" + std::to_string(number) + "行";
}

}  // namespace

std::string SiteCsvText(const std::vector<Site>& sites) {
    std::string text(kByteOrderMark);
    for (size_t f = 0; f < kFieldCount; ++f) text += (f ? "," : "") + std::string(kCaptions[f]);
    text += "\r\n";
    for (const Site& s : sites) {
        const auto fields = FieldsOf(s);
        for (size_t f = 0; f < kFieldCount; ++f) text += (f ? "," : "") + Quote(fields[f]);
        text += "\r\n";
    }
    return text;
}

SiteImport ReadSiteCsv(std::string_view text, const std::vector<Site>& book) {
    SiteImport result;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    if (const int bad = FirstLineNotUtf8(text); bad > 0) {
        result.problem = Line(bad) + "不是UTF-8编码的文字：请把文件以UTF-8编码保存后再导入。";
        return result;
    }
    const std::vector<Record> records = SplitRecords(text);
    auto header =
        std::find_if(records.begin(), records.end(), [](const Record& r) { return !r.Blank(); });
    if (header == records.end()) {
        result.problem = "文件是空的，没有表头行。";
        return result;
    }
    const std::string where = Line(header->line) + "（表头）";
    if (!header->error.empty()) {
        result.problem = where + header->error;
        return result;
    }
    // Which field each column holds.
    std::vector<Field> columns;
    for (const std::string& raw : header->fields) {
        const std::string name = Trim(raw);
        const auto known = std::find_if(kCaptions.begin(), kCaptions.end(),
                                        [&](const char* c) { return name == c; });
        if (known == kCaptions.end()) {
            std::string all;
            for (const char* c : kCaptions) all += std::string(all.empty() ? "" : "、") + c;
            result.problem = where + "有不认识的列“" + name + "”。可用的列：" + all + "。";
            return result;
        }
        const Field field = static_cast<Field>(known - kCaptions.begin());
        if (std::find(columns.begin(), columns.end(), field) != columns.end()) {
            result.problem = where + "的列“" + name + "”出现了两次。";
            return result;
        }
        columns.push_back(field);
    }
    for (Field required : {kName, kAddress})
        if (std::find(columns.begin(), columns.end(), required) == columns.end()) {
            result.problem = where + "缺少“" + std::string(kCaptions[required]) + "”列。";
            return result;
        }

    std::map<std::string, int> nameLine;
    std::map<std::string, int> addressLine;
    for (auto r = header + 1; r != records.end(); ++r) {
        if (r->Blank()) continue;
        auto skip = [&](const std::string& reason) { result.skipped.push_back({r->line, reason}); };
        if (!r->error.empty()) {
            skip(r->error);
            continue;
        }
        if (r->fields.size() != columns.size()) {
            skip("有" + std::to_string(r->fields.size()) + "个字段，表头有" +
                 std::to_string(columns.size()) + "个。");
            continue;
        }
        std::array<std::string, kFieldCount> value;
        for (size_t c = 0; c < columns.size(); ++c) value[columns[c]] = Trim(r->fields[c]);
        const SiteCheck check =
            CheckSiteInput({value[kName], value[kAddress], value[kPort], value[kNotes]});
        if (!check.site) {
            skip(check.problem);
            continue;
        }
        Site site = *check.site;
        std::string problem;
        for (Field f : {kDeviceId, kHostType, kModuleType, kLastSeen, kLastBackup})
            if (problem.empty()) problem = CheckLearned(f, value[f]);
        if (problem.empty()) problem = CheckSiteUnique(site, book);
        if (problem.empty()) {
            if (auto seen = nameLine.find(ToUpper(site.name)); seen != nameLine.end())
                problem = std::string(kSiteNameCaption) + "“" + site.name + "”与" +
                          Line(seen->second) + "重复。";
            else if (auto same = addressLine.find(site.address); same != addressLine.end())
                problem = std::string(kSiteAddressCaption) + " " + site.address + " 与" +
                          Line(same->second) + "重复。";
        }
        if (!problem.empty()) {
            skip(problem);
            continue;
        }
        site.deviceId = value[kDeviceId];
        site.hostType = value[kHostType];
        site.moduleType = value[kModuleType];
        site.lastSeen = value[kLastSeen];
        site.lastBackup = value[kLastBackup];
        nameLine.emplace(ToUpper(site.name), r->line);
        addressLine.emplace(site.address, r->line);
        result.imported.push_back(std::move(site));
    }
    return result;
}

SiteImport ImportSiteCsvFile(SiteBook& book, const std::string& path) {
    SiteImport result;
    std::string text;
    try {
        // A pipe or a device is refused rather than read without end.
        text = ReadSmallFile(path, kSiteCsvMaxBytes);
    } catch (const FileReadError& e) {
        switch (e.What()) {
            case FileReadError::Kind::TooLarge:
                result.problem = "文件“" + path + "”超过" +
                                 std::to_string(kSiteCsvMaxBytes / 1024 / 1024) +
                                 "MB，不是站点簿的CSV文件。";
                break;
            case FileReadError::Kind::NotAFile:
                result.problem = "“" + path + "”不是普通文件。";
                break;
            case FileReadError::Kind::CannotOpen:
                result.problem = "无法打开文件“" + path + "”（" + e.what() + "）。";
                break;
        }
        return result;
    }
    result = ReadSiteCsv(text, book.List());
    if (result.problem.empty()) book.InsertAll(result.imported);
    return result;
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

std::string SiteImportReportText(const SiteImport& import) {
    if (!import.problem.empty()) return "没有导入任何站点：" + import.problem;
    std::string text = "已导入" + std::to_string(import.imported.size()) + "个站点。";
    if (import.skipped.empty()) return text;
    text += "\r\n以下" + std::to_string(import.skipped.size()) + "行已跳过：";
    for (size_t i = 0; i < import.skipped.size() && i < kReportedSkippedLines; ++i)
        text += "\r\n" + Line(import.skipped[i].line) + "：" + import.skipped[i].reason;
    if (import.skipped.size() > kReportedSkippedLines)
        text += "\r\n另有" + std::to_string(import.skipped.size() - kReportedSkippedLines) + "行。";
    return text;
}

}  // namespace tarnwick

#include "storage/csv_records.h"

#include <algorithm>

#include "protocol/gbk.h"
#include "protocol/text_helpers.h"

namespace tarnwick {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
// What a spreadsheet takes for the start of a formula, and the guard itself.
constexpr std::string_view kGuardedStarts = "=+-@\t\r'";

bool NeedsGuard(std::string_view cell) {
    return !cell.empty() && kGuardedStarts.find(cell.front()) != std::string_view::npos;
}

std::string Quoted(std::string_view field) {
    const bool plain =
        field.find_first_of(",\"\r\n") == std::string_view::npos && Trim(field) == field;
    if (plain) return std::string(field);
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// Reads the records one after the other, counting lines.
class CsvReader {
  public:
    explicit CsvReader(std::string_view text) : text_(text) {}
    bool AtEnd() const { return at_ >= text_.size(); }
    CsvRecord Next();

  private:
    bool More() const { return at_ < text_.size(); }
    bool EndsField() const {
        return !More() || text_[at_] == ',' || text_[at_] == '\r' || text_[at_] == '\n';
    }
    bool ReadQuoted(CsvRecord& record, std::string& field);
    void ReadPlain(std::string& field);
    void EndLine();
    void SkipRestOfLine();

    std::string_view text_;
    size_t at_ = 0;
    int line_ = 1;
};

CsvRecord CsvReader::Next() {
    CsvRecord record;
    record.line = line_;
    while (true) {
        std::string field;
        const bool quoted = More() && text_[at_] == '"';
        if (quoted && !ReadQuoted(record, field)) return record;
        if (!quoted) ReadPlain(field);
        record.fields.push_back(std::move(field));
        record.quoted.push_back(quoted);
        if (More() && text_[at_] == ',') {
            ++at_;
            continue;
        }
        EndLine();
        return record;
    }
}

// A quoted field, to the quote that is not doubled. False when the quoting
// is broken: the record carries the error and reading goes on at the next
// line. A field whose quote closes on a later line only to be followed by
// more characters never ended either: no line below it is taken with it.
bool CsvReader::ReadQuoted(CsvRecord& record, std::string& field) {
    const size_t opened = at_++;
    const int openedLine = line_;
    while (More()) {
        const char c = text_[at_++];
        if (c == '"' && More() && text_[at_] == '"') {
            field += '"';
            ++at_;
            continue;
        }
        if (c == '"') {
            if (EndsField()) return true;
            if (line_ != openedLine) break;
            record.error = "引号结束后还有字符。";
            SkipRestOfLine();
            return false;
        }
        if (c == '\n') ++line_;
        field += c;
    }
    record.line = openedLine;
    record.error = "引号没有结束。";
    at_ = opened;
    line_ = openedLine;
    SkipRestOfLine();
    return false;
}

void CsvReader::ReadPlain(std::string& field) {
    while (!EndsField()) field += text_[at_++];
}

void CsvReader::EndLine() {
    if (More() && text_[at_] == '\r') ++at_;
    if (More() && text_[at_] == '\n') {
        ++at_;
        ++line_;
    }
}

void CsvReader::SkipRestOfLine() {
    while (More() && text_[at_] != '\n') ++at_;
    EndLine();
}

}  // namespace

bool CsvRecord::Blank() const {
    return error.empty() && std::all_of(fields.begin(), fields.end(),
                                        [](const std::string& f) { return Trim(f).empty(); });
}

std::string CsvRecord::Cell(size_t i) const {
    return CsvCellFromField(quoted.at(i) ? fields.at(i) : Trim(fields.at(i)));
}

std::vector<CsvRecord> SplitCsvRecords(std::string_view text) {
    std::vector<CsvRecord> records;
    CsvReader reader(text);
    while (!reader.AtEnd()) records.push_back(reader.Next());
    return records;
}

std::string CsvFieldFromCell(std::string_view cell) {
    return Quoted(NeedsGuard(cell) ? "'" + std::string(cell) : std::string(cell));
}

std::string CsvCellFromField(std::string_view field) {
    if (field.size() > 1 && field.front() == '\'' && NeedsGuard(field.substr(1)))
        field.remove_prefix(1);
    return std::string(field);
}

DecodedCsv DecodeCsvText(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (IsValidUtf8(bytes)) return {std::string(bytes), "UTF-8", 0};
    // GBK's second bytes are never a line feed: the lines can be tried alone.
    int line = 1;
    for (size_t start = 0; start <= bytes.size(); ++line) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        if (GbkToUtf8(bytes.substr(start, end - start)).find(kReplacementCharacter) !=
            std::string::npos)
            return {{}, "GBK", line};
        start = end + 1;
    }
    return {GbkToUtf8(bytes), "GBK", 0};
}

}  // namespace tarnwick

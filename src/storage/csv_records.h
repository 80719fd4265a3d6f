#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// CSV text as spreadsheets write and read it: fields separated by commas,
// quoted where they hold a comma, a quote, a line break or blanks at their
// ends, lines ended by CR LF or LF.

// One record: the line it starts on (1-based), its fields, whether each was
// quoted (a quoted field keeps its blanks), or what is wrong with its quoting.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
    std::vector<bool> quoted;
    std::string error;
    // Without error, and nothing in its fields but blanks.
    bool Blank() const;
    // Field `i`: as quoted, else without surrounding blanks; the formula
    // guard taken off (CsvCellFromField).
    std::string Cell(size_t i) const;
};

// Every record of the text. A record whose quoting is broken is one record
// with an error, and reading goes on on the next line: a quote never closed
// is named at the line where its field began and takes no later line with it.
std::vector<CsvRecord> SplitCsvRecords(std::string_view text);

// A cell a spreadsheet would run as a formula (one beginning with "=", "+",
// "-", "@", a tab or a carriage return) is written with a leading "'", the
// usual guard; so is one beginning with "'", so that reading takes off
// exactly what writing put on. The field is quoted where it needs to be.
std::string CsvFieldFromCell(std::string_view cell);
// The cell a field holds: one leading "'" taken off when the rest would have
// been guarded.
std::string CsvCellFromField(std::string_view field);

// The text of a CSV file in UTF-8: the file as it is (without a byte order
// mark) when it is UTF-8, else read as GBK, the code page spreadsheets on
// Chinese Windows save in. `badLine` names the first line that is neither
// (then `text` is empty).
struct DecodedCsv {
    std::string text;
    std::string encoding;  // "UTF-8" or "GBK"
    int badLine = 0;
};
DecodedCsv DecodeCsvText(std::string_view bytes);

}  // namespace tarnwick

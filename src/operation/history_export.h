#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/name_value_list.h"
#include "storage/spreadsheet_port.h"

namespace tarnwick {

class DataModule;

// The current host's whole alarm history as the history reads page through
// it: twenty records a read from record 1 on, until a read answers with no
// record, the record numbers run out, or `pageLimit` reads were made (no
// limit when 0 or less).
struct AlarmHistory {
    std::vector<std::string> records;  // 22 hex digits each, in record order
    int pages = 0;                     // reads answered
    // True only when a read found no more records: not when the page limit
    // stopped it, nor when the record numbers ran out (the host may hold more
    // than they can name).
    bool complete = false;
    bool numbersRanOut = false;
};

// Said beside the records read when the record numbers ran out.
inline constexpr const char* kRecordNumbersRanOutText = "记录编号已用完，其后的记录未能读取";

// A history read that went unanswered or was refused; the text names the
// first record of the read.
class HistoryExportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws HistoryExportError; then nothing of the history is kept.
AlarmHistory ReadWholeHistory(DataModule& tdm, int pageLimit);

// The header row and one row per record, by the column rules of the history
// page. A record whose zone cannot be read keeps the columns before it and
// is counted in `unreadable`; the rows after it are written as usual.
SheetCells AlarmHistorySheet(const std::vector<std::string>& records, const CodeTable& alarmCodes,
                             const CodeTable& operateCodes, int& unreadable);

struct HistoryExport {
    AlarmHistory history;
    int unreadable = 0;
    std::string path;  // the file written, with ".xlsx" when the name had no extension
};

// Reads the whole history and writes it into one workbook under `path`, in
// the history page's sheet. Throws HistoryExportError when a read fails
// (nothing is written) and SpreadsheetError when the file cannot be written.
HistoryExport ExportWholeHistory(DataModule& tdm, SpreadsheetPort& spreadsheet,
                                 const std::string& path, int pageLimit);

}  // namespace tarnwick

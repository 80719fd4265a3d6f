#include "operation/history_export.h"

#include "hosts/data_module.h"
#include "operation/alarm_host_decoder.h"
#include "operation/alarm_info_page.h"
#include "operation/alarm_records.h"
#include "protocol/conversion_error.h"
#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

constexpr unsigned kSuccess = 0x01;
constexpr size_t kResultByte = 7;

std::string ReadName(int start) {
    return "第" + std::to_string(start) + "条起的警情记录";
}

// One history read: the records it brought, at most a page of them. A read
// without a reply, or one the host refused, throws.
std::vector<std::string> ReadHistoryPage(DataModule& tdm, const CommandEntry& read, int start) {
    for (int n = 1; n <= kAlarmPageSize; ++n)
        tdm.params.Set(std::string(kAlarmInfoKey) + std::to_string(n), "");
    const std::string reply = tdm.exchanger.ExchangeCommand(read.frame, read.pair);
    if (reply.empty()) throw HistoryExportError(ReadName(start) + ": 主机无应答");
    // The history decoder stores the records and gives no text: what came
    // back is the reply itself, whose result byte tells a refusal from an
    // empty page.
    const Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) throw HistoryExportError(ReadName(start) + ": " + prologue.result);
    const unsigned result = prologue.bytes->At(kResultByte);
    if (result != kSuccess)
        throw HistoryExportError(ReadName(start) + ": " + HostResultText(static_cast<int>(result)));
    return StoredAlarmRecords(tdm.params, kAlarmPageSize);
}

}  // namespace

AlarmHistory ReadWholeHistory(DataModule& tdm, int pageLimit) {
    AlarmHistory history;
    for (int start = 1;; start += kAlarmPageSize) {
        if (pageLimit > 0 && history.pages >= pageLimit) return history;
        CommandEntry read;
        try {
            read = AlarmHistoryRead(start);
        } catch (const ConversionError&) {
            // No record number beyond the last read.
            history.numbersRanOut = true;
            return history;
        }
        std::vector<std::string> page = ReadHistoryPage(tdm, read, start);
        ++history.pages;
        if (page.empty()) {
            history.complete = true;
            return history;
        }
        for (std::string& record : page) history.records.push_back(std::move(record));
    }
}

SheetCells AlarmHistorySheet(const std::vector<std::string>& records, const CodeTable& alarmCodes,
                             const CodeTable& operateCodes, int& unreadable) {
    SheetCells cells{AlarmGridHeader()};
    for (const std::string& record : records) {
        cells.emplace_back();
        try {
            FillAlarmRow(cells.back(), record, alarmCodes, operateCodes);
        } catch (const ConversionError&) {
            ++unreadable;
        }
    }
    return cells;
}

HistoryExport ExportWholeHistory(DataModule& tdm, SpreadsheetPort& spreadsheet,
                                 const std::string& path, int pageLimit) {
    HistoryExport done;
    done.history = ReadWholeHistory(tdm, pageLimit);
    done.path = WithExportExtension(path);
    const SheetCells cells =
        AlarmHistorySheet(done.history.records, tdm.alarmCodes, tdm.operateCodes, done.unreadable);
    spreadsheet.SaveWorkbook(done.path, kExportSheetName, cells);
    return done;
}

}  // namespace tarnwick

#include "operation/alarm_info_page.h"

#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "operation/alarm_host_decoder.h"
#include "operation/alarm_records.h"
#include "operation/history_export.h"
#include "protocol/conversion_error.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "storage/file_paths.h"
#include "storage/xlsx_spreadsheet.h"

namespace tarnwick {
namespace {

std::string ExportFailureText(const std::string& path, const std::string& reason) {
    return "警情信息未能导出到文件\r\n" + path + "\r\n" + reason;
}

// The box that ends every export: the file and how many records went in.
std::string ExportDoneText(const std::string& path, size_t records, int unreadable) {
    std::string text = "已将" + std::to_string(records) + "条警情记录导出到文件\r\n" + path;
    if (unreadable > 0) text += "\r\n其中" + std::to_string(unreadable) + "条记录的防区无法识别";
    return text;
}

// The grid's record rows: every row below the header with any text.
size_t RecordRows(const SheetCells& cells) {
    size_t rows = 0;
    for (size_t r = 1; r < cells.size(); ++r)
        for (const std::string& cell : cells[r])
            if (!cell.empty()) {
                ++rows;
                break;
            }
    return rows;
}

// Record numbers travel as 16 bits.
constexpr int kLastRecordNumber = 0xFFFF;

std::string Hex16(int value) {
    return ByteHex(static_cast<unsigned>(value) >> 8) +
           ByteHex(static_cast<unsigned>(value) & 0xFF);
}

}  // namespace

AlarmInfoPage::AlarmInfoPage(HostWindow& window)
    : window_(window), spreadsheet_(std::make_unique<XlsxSpreadsheet>()) {
    PageModel& c = Controls();
    c.Add("strgridAlarmInfo", ControlKind::Grid).caption = "警情记录";
    Control& start = c.Combo(
        "cbStartNo", {"1", "21", "41", "61", "81", "101", "121", "141", "161", "181", "201"});
    start.text = "1";
    start.filter = KeyFilter::Digits;
    // The start number stands in the blanks of its caption.
    start.caption = c.Label("Label95", "查询自        条起的20条").text;
    c.Button("bbtnPageUp", "<<上一页");
    c.Button("bbtnPageDown", "下一页>>");
    c.Button("bbtnToExcel", "导出到Excel...");
    c.Button("bbtnAllToExcel", "全部导出到Excel...", "读取主机的全部警情记录并导出到一个Excel文件");
    c.Button("bbtnFindAlarmInfo", "查询").visible = false;
    c.OnClick("bbtnPageUp", [this] { TurnPage(-1); });
    c.OnClick("bbtnPageDown", [this] { TurnPage(+1); });
    c.OnClick("bbtnToExcel", [this] { ExportToExcel(); });
    c.OnClick("bbtnAllToExcel", [this] { ExportAllToExcel(); });
    c.OnClick("bbtnFindAlarmInfo", [this] { window_.Refresh(); });
    ClearAlarmGrid();
}

CommandEntry AlarmHistoryRead(int start) {
    if (start < 0 || start + kAlarmPageSize - 1 > kLastRecordNumber)
        throw ConversionError("start number " + std::to_string(start) + " out of range");
    return Request(kAlarmHistoryPair, Hex16(start) + Hex16(start + kAlarmPageSize - 1));
}

int PagingStart(const std::string& text) {
    try {
        return DecimalToInt(text);
    } catch (const ConversionError&) {
        return 1;
    }
}

std::string WithExportExtension(const std::string& path) {
    return WithDefaultExtension(path, kExportExtension);
}

std::string SuggestedExportName(const std::string& host, const std::string& now) {
    return "警情信息_" + host + "_" + TimeDigits(now).substr(0, 8) + "." + kExportExtension;
}

std::string AlarmInfoPage::SuggestedName() const {
    DataModule& tdm = window_.tdm;
    return SuggestedExportName(tdm.session.CurrentHost(), tdm.clock.NowText());
}

CommandList AlarmInfoPage::ReadList() {
    return {AlarmHistoryRead(DecimalToInt(Controls()["cbStartNo"].text))};
}

void AlarmInfoPage::ClearAlarmGrid() {
    SheetCells& cells = Controls()["strgridAlarmInfo"].cells;
    cells.assign(kAlarmGridRows + 1, std::vector<std::string>(kAlarmGridColumns));
    cells[0] = AlarmGridHeader();
}

void AlarmInfoPage::ShowAlarmRecords(const DeviceParams& stored) {
    SheetCells& cells = Controls()["strgridAlarmInfo"].cells;
    DataModule& tdm = window_.tdm;
    // The grid holds twenty records; a host that sends more has them dropped.
    const std::vector<std::string> records = StoredAlarmRecords(stored, kAlarmGridRows);
    ArchiveAlarmPage(tdm, records);
    for (size_t n = 0; n < records.size(); ++n)
        FillAlarmRow(cells[n + 1], records[n], tdm.alarmCodes, tdm.operateCodes);
}

void AlarmInfoPage::TurnPage(int direction) {
    Control& start = Controls()["cbStartNo"];
    const int current = PagingStart(start.text);
    if (direction > 0 && current <= kLastRecordNumber)
        start.text = std::to_string(current + kAlarmPageSize);
    else if (direction < 0 && current > kAlarmPageSize)
        start.text = std::to_string(current - kAlarmPageSize);
    Controls().Changed();
    window_.Refresh();
}

void AlarmInfoPage::ExportToExcel() {
    if (!chooseExportPath) return;
    std::string path = chooseExportPath(SuggestedName());
    if (path.empty()) return;
    path = WithExportExtension(path);
    const SheetCells& cells = Controls()["strgridAlarmInfo"].cells;
    try {
        spreadsheet_->SaveWorkbook(path, kExportSheetName, cells);
    } catch (const SpreadsheetError& e) {
        window_.tdm.op.Warning(ExportFailureText(path, e.what()));
        return;
    }
    window_.tdm.op.Information(ExportDoneText(path, RecordRows(cells), 0));
}

void AlarmInfoPage::ExportAllToExcel() {
    if (!chooseExportPath) return;
    const std::string chosen = chooseExportPath(SuggestedName());
    if (chosen.empty()) return;
    DataModule& tdm = window_.tdm;
    FlowScope flow(tdm);
    window_.BusyStep();
    window_.ShowWaitingPanel("正在读取全部警情记录，请稍候...");
    std::string text;
    bool done = false;
    try {
        const HistoryExport e = ExportWholeHistory(tdm, *spreadsheet_, chosen, 0);
        text = ExportDoneText(e.path, e.history.records.size(), e.unreadable);
        if (e.history.numbersRanOut) text += std::string("\r\n") + kRecordNumbersRanOutText;
        done = true;
    } catch (const std::exception& e) {
        text = ExportFailureText(WithExportExtension(chosen), e.what());
    }
    window_.IdleStep();
    window_.HideWaitingPanel();
    if (done)
        tdm.op.Information(text);
    else
        tdm.op.Warning(text);
}

}  // namespace tarnwick

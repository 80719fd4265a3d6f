#include "operation/alarm_records.h"

#include "operation/alarm_host_decoder.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr const char* kEventZone = "90";   // an event on one zone, with its operator
constexpr const char* kEventZones = "92";  // an event on the zones of two bit masks
constexpr uint32_t kEvenRowBackground = 0xF5F5F5;
constexpr uint32_t kEvenRowText = 0x008000;

// The zone offset a kind-90 record gives as one set bit; 0 for anything else.
int ZoneOffset(const std::string& bit) {
    static const char* const kBits[] = {"01", "02", "04", "08", "10", "20", "40", "80"};
    for (int i = 0; i < 8; ++i)
        if (bit == kBits[i]) return i + 1;
    return 0;
}

}  // namespace

std::vector<std::string> StoredAlarmRecords(const DeviceParams& stored, int limit) {
    std::vector<std::string> records;
    for (int n = 1; n <= limit; ++n) {
        std::string record = stored.Get(std::string(kAlarmInfoKey) + std::to_string(n));
        if (record.empty()) break;
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<std::string> AlarmGridHeader() {
    return {" 序号", " 日期", " 时间", " 防区号", " 操作员", " 警情码"};
}

void FillAlarmRow(std::vector<std::string>& row, const std::string& r, const CodeTable& alarmCodes,
                  const CodeTable& operateCodes) {
    row.assign(kAlarmGridColumns, "");
    if (Slice(r, 5, 8) == "0000") {
        row[0] = "  ";
        for (int c = 1; c < kAlarmGridColumns; ++c) row[c] = " ";
        return;
    }
    const std::string kind = Slice(r, 5, 6);
    row[0] = "  " + std::to_string(HexToInt(Slice(r, 1, 4)));
    row[1] = " " + Slice(r, 7, 8) + "-" + Slice(r, 9, 10);
    row[2] = " " + Slice(r, 11, 12) + ":" + Slice(r, 13, 14);
    if (kind == kEventZone) {
        row[3] =
            " " + std::to_string(DecimalToInt(Slice(r, 15, 16)) + ZoneOffset(Slice(r, 17, 18)));
        row[4] = " " + operateCodes.Get(Slice(r, 19, 20));
    } else if (kind == kEventZones) {
        row[3] = " " + BitNumberList(Slice(r, 15, 16), 1) + BitNumberList(Slice(r, 17, 18), 9);
        row[4] = " #" + Slice(r, 19, 20);
    } else {
        row[3] = " " + Slice(r, 15, 16) + ":" + Slice(r, 17, 18);
        row[4] = "  " + Slice(r, 19, 20);
    }
    row[5] = " " + alarmCodes.Get(Slice(r, 21, 22));
}

AlarmCellStyle AlarmCellStyleAt(int row, int column) {
    if (row >= 2 && row % 2 == 0 && column >= 1) return {kEvenRowBackground, kEvenRowText};
    return {};
}

}  // namespace tarnwick

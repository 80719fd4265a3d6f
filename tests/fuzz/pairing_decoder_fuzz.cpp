// Feeds arbitrary datagrams to the pairing decoder (class 13), and the same
// bytes as alarm history records to the grid's row filler: neither may do
// more than raise the conversion error, and a row is always six cells.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_frames.h"
#include "operation/alarm_records.h"
#include "operation/pairing_decoder.h"
#include "protocol/conversion_error.h"
#include "protocol/name_value_list.h"

namespace {

void Decode(const std::string& reply) {
    try {
        const tarnwick::ReplyResult result =
            tarnwick::DecodePairingReply(reply, "2026-12-07 08:30:05");
        const std::string& text = result.text;
        if (!text.empty() && text.find(":帧头/帧尾") == std::string::npos &&
            text != "非收来自终端的数据！" && !text.starts_with("2026-12-07 08:30:05 "))
            std::abort();
        // Every answer it words is an outcome with its result byte.
        if (text.starts_with("2026-12-07 08:30:05 ") !=
            (result.kind == tarnwick::ReplyKind::Outcome && result.resultByte.has_value()))
            std::abort();
    } catch (const tarnwick::ConversionError&) {
    }
}

void ShowAsRecords(const std::string& hex) {
    tarnwick::CodeTable alarmCodes, operateCodes;
    alarmCodes.Set("1A", "网络远程撤防");
    operateCodes.Set("01", "键盘操作");
    std::vector<std::string> row;
    for (size_t at = 0; at < hex.size(); at += 22) {
        try {
            tarnwick::FillAlarmRow(row, hex.substr(at, 22), alarmCodes, operateCodes);
        } catch (const tarnwick::ConversionError&) {
        }
        if (row.size() != tarnwick::kAlarmGridColumns) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply = tarnwick::fuzz::Received(data, size);
    Decode(reply);
    Decode(tarnwick::fuzz::Repaired(reply));
    ShowAsRecords(reply);
    return 0;
}

#include "operation/alarm_info_page.h"

#include <cstdio>
#include <cstdlib>

#include "operation/alarm_host_decoder.h"

namespace tarnwick {

AlarmInfoPage::AlarmInfoPage() : PageBranch("tsAlarmInfo", "警情信息") {
    Controls().Edit("cbStartNo", 5, KeyFilter::Digits).text = "1";
}

CommandEntry AlarmHistoryRead(int start) {
    char data[16];
    std::snprintf(data, sizeof data, "%04X%04X", static_cast<unsigned>(start) & 0xFFFFu,
                  static_cast<unsigned>(start + 19) & 0xFFFFu);
    return Request(kAlarmHistoryQueryPair, data);
}

CommandList AlarmInfoPage::ReadList() {
    return {AlarmHistoryRead(std::atoi(Controls()["cbStartNo"].text.c_str()))};
}

}  // namespace tarnwick

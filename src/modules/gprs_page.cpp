#include "modules/gprs_page.h"

#include "protocol/frame_codec.h"

namespace tarnwick {

CommandList GprsPage::ReadList() {
    struct Read {
        const char* pair;
        const char* command;
        const char* data;
    };
    static constexpr Read kReads[] = {
        {"018C:010C GPRS终端参数查询1", "8C", ""},
        {"01CD:013D GPRS终端参数查询2", "CD", ""},
        {"01CE:013E GPRS心跳间隔时间查询", "CE", ""},
        {"0185:0105 GPRS查询监管电话号码", "85", "00"},
        {"0185:0105 GPRS查询编程电话号码", "85", "01"},
        {"0185:0105 GPRS查询报警电话号码", "85", "02"},
        {"0185:0105 GPRS查询短信中心号码", "85", "03"},
        {"0187:0107 GPRS查询域名解析服务器IP地址", "87", ""},
        {"01D4:0144 GPRS查询信息短信开关", "D4", ""},
        {"01D1:0141 GPRS查询开机短信开关", "D1", ""},
        {"01D3:0143 GPRS查询短信报告开关", "D3", ""},
    };
    CommandList list;
    for (const Read& r : kReads) list.push_back({r.pair, BuildFrame("01", r.command, r.data)});
    return list;
}

}  // namespace tarnwick

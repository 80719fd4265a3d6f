#include "modules/nm_decoder.h"

#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr std::string_view kFamily = "NM";

// What a setting or action reply does besides giving prefix + result word.
enum class OnSuccess { Nothing, NeedsRestart, MoveHost };

struct ResultReply {
    unsigned command;
    std::string_view prefix;
    size_t resultByte;
    OnSuccess onSuccess;
};
constexpr ResultReply kResultReplies[] = {
    {0x01, "系统时间校准", 7, OnSuccess::Nothing},
    {0x03, "配置终端标识号", 7, OnSuccess::Nothing},
    {0x04, "配置中心IP地址", 8, OnSuccess::Nothing},
    {0x08, "恢复出厂默认值", 7, OnSuccess::Nothing},
    {0x0A, "设置第1中心服务器域名", 7, OnSuccess::Nothing},
    {0x0D, "重新启动", 7, OnSuccess::Nothing},
    {0x0E, "设置网络管理", 7, OnSuccess::NeedsRestart},
    {0x3A, "设置第2中心服务器域名", 7, OnSuccess::Nothing},
    {0x3B, "设置心跳间隔时间", 7, OnSuccess::NeedsRestart},
    {0x3F, "设置设备本地网络参数", 7, OnSuccess::MoveHost},
};

// Local network block of reply 49: the DHCP flag, then five 15-byte fields.
constexpr size_t kLocalFirst = 8;
constexpr size_t kLocalLast = 83;

// The host now answers at the address typed in the local IP edit: every later
// exchange goes there, and the host window follows.
void MoveHost(HostSession& session) {
    if (!session.localIpText) return;
    const std::string address = Trim(session.localIpText());
    if (address.empty()) return;
    session.SetCurrentHost(address);
    if (session.onMovedByModule) session.onMovedByModule(address);
}

std::string DecodeResult(const ResultReply& row, const ReplyBytes& bytes, DecodeContext& ctx) {
    if (!bytes.HasData(row.resultByte)) return "";
    const unsigned code = bytes.At(row.resultByte);
    std::string text = std::string(row.prefix) + ResultText(code);
    if (code != 0x01) return text;
    switch (row.onSuccess) {
        case OnSuccess::NeedsRestart:
            ctx.params.Set("NMReboot", "1");
            text += kNmRestartNeededNote;
            break;
        case OnSuccess::MoveHost:
            MoveHost(ctx.session);
            text += kNmHostRestartingNote;
            break;
        case OnSuccess::Nothing:
            break;
    }
    return text;
}

void DecodeQuery(unsigned command, const ReplyBytes& bytes, DeviceParams& params) {
    if (!bytes.HasData(7) || bytes.At(7) != 0x01) return;
    switch (command) {
        case 0x0C:
            StoreTerminalParams(bytes, kTerminalParams1, kFamily, false, params);
            break;
        case 0x3D:
            StoreTerminalParams(bytes, kTerminalParams2, kFamily, false, params);
            break;
        case 0x3E:
            if (bytes.HasData(9)) params.Set("NMHeartbeatInterval", LowFirstNumber(bytes, 8));
            break;
        case 0x45:
            if (!bytes.HasData(9)) break;
            params.Set("NMNetMode", ByteHex(bytes.At(8)));
            params.Set("NMNetSwitch", ByteHex(bytes.At(9)));
            break;
        case 0x49:
            if (!bytes.HasData(kLocalLast)) break;
            params.Set("NMLocal", bytes.DataHex(kLocalFirst, kLocalLast));
            params.Set("NMLocalDHCP", ByteHex(bytes.At(8)));
            params.Set("NMLocalIP", TextField(bytes, 9, 23));
            params.Set("NMLocalMask", TextField(bytes, 24, 38));
            params.Set("NMLocalGateway", TextField(bytes, 39, 53));
            // The name servers have no control; a save sends them back as read.
            params.Set("NMLocalDNS1", bytes.DataHex(54, 68));
            params.Set("NMLocalDNS2", bytes.DataHex(69, 83));
            break;
    }
}

}  // namespace

std::string DecodeNmReply(const std::string& reply, DecodeContext& ctx) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;
    // The mark always describes the last network module reply seen.
    ctx.params.Set("NMReboot", "0");
    const unsigned command = bytes.At(6);
    for (const ResultReply& row : kResultReplies)
        if (row.command == command) return DecodeResult(row, bytes, ctx);
    DecodeQuery(command, bytes, ctx.params);
    return "";
}

}  // namespace tarnwick

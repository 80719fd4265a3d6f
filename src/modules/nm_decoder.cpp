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
// The name servers have no control and stay raw; a save sends them back as read.
constexpr ReplyField kLocalFields[] = {{"LocalDHCP", 8, 8, FieldForm::Byte},
                                       {"LocalIP", 9, 23},
                                       {"LocalMask", 24, 38},
                                       {"LocalGateway", 39, 53},
                                       {"LocalDNS1", 54, 68, FieldForm::Hex},
                                       {"LocalDNS2", 69, 83, FieldForm::Hex}};
constexpr ReplyField kHeartbeatFields[] = {{"HeartbeatInterval", 8, 9, FieldForm::Number}};
constexpr ReplyField kNetSwitchFields[] = {{"NetMode", 8, 8, FieldForm::Byte},
                                           {"NetSwitch", 9, 9, FieldForm::Byte}};

// The host now answers at the address typed in the local IP edit: every later
// exchange goes there, and the host window follows.
void MoveHost(HostSession& session) {
    if (!session.localIpText) return;
    const std::string address = Trim(session.localIpText());
    if (address.empty()) return;
    session.SetCurrentHost(address);
    if (session.onMovedByModule) session.onMovedByModule(address);
}

ReplyResult DecodeResult(const ResultReply& row, const ReplyBytes& bytes, DecodeContext& ctx) {
    if (!bytes.HasData(row.resultByte)) return {};
    const unsigned code = bytes.At(row.resultByte);
    std::string text = std::string(row.prefix) + ResultText(code);
    if (code != 0x01) return Outcome(code, text);
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
    return Outcome(code, text);
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
            StoreReplyFields(bytes, kHeartbeatFields, kFamily, params);
            break;
        case 0x45:
            StoreReplyFields(bytes, kNetSwitchFields, kFamily, params);
            break;
        case 0x49:
            // The whole block is what a save compares with, so only a whole one counts.
            if (bytes.HasData(kLocalLast))
                params.Set("NMLocal", bytes.DataHex(kLocalFirst, kLocalLast));
            StoreReplyFields(bytes, kLocalFields, kFamily, params);
            break;
    }
}

}  // namespace

ReplyResult DecodeNmReply(const std::string& reply, DecodeContext& ctx) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;
    // The mark always describes the last network module reply seen.
    ctx.params.Set("NMReboot", "0");
    const unsigned command = bytes.At(6);
    for (const ResultReply& row : kResultReplies)
        if (row.command == command) return DecodeResult(row, bytes, ctx);
    DecodeQuery(command, bytes, ctx.params);
    return {};
}

}  // namespace tarnwick

#include "modules/gprs_decoder.h"

#include <array>

#include "programming/programming_layout.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

constexpr std::string_view kFamily = "Gprs";

// Setting and action replies: prefix + the result word of byte 7.
struct ResultReply {
    unsigned command;
    std::string_view prefix;
};
constexpr ResultReply kResultReplies[] = {
    {0x03, "GPRS配置终端标识号"},        {0x08, "GPRS恢复出厂默认值"},
    {0x09, "GPRS设置网络模块参数"},      {0x0A, "GPRS设置第1中心服务器域名"},
    {0x0B, "GPRS设置短信报警功能开关"},  {0x0D, "GPRS重新启动"},
    {0x3A, "GPRS设置第2中心服务器域名"}, {0x3B, "GPRS设置心跳间隔时间"},
    {0x40, "GPRS设置开机短信开关"},      {0x42, "GPRS设置短信报告开关"},
    {0x46, "GPRS修改短信编程密码"},
};

constexpr std::string_view kPhoneGroupPrefix = "GPRS设置电话号码组";

// Switch replies: byte 8 stored as two hex digits.
struct SwitchReply {
    unsigned command;
    std::string_view key;
};
constexpr SwitchReply kSwitchReplies[] = {
    {0x41, "GprsBootSMS"}, {0x43, "GprsReportSMS"}, {0x44, "GprsInfoSMS"}};

// Phone number groups of reply 05: `count` phone fields of 11 bytes from byte
// 9, then `statusBytes` status bytes. The raw key holds the whole group data.
struct PhoneGroup {
    std::string_view rawKey;  // empty: the group has no raw key
    std::string_view phoneKey;
    int count;  // more than one: the phone keys are numbered from 1
    std::string_view statusKey;
    size_t statusBytes;
};
constexpr size_t kPhoneFieldBytes = 11;
constexpr size_t kGroupDataStart = 9;
constexpr PhoneGroup kPhoneGroups[] = {
    {"", "GprsManagePhone", 1, "", 0},
    {"GprsProgPhone", "GprsProgPhone", 3, "", 0},
    {"GprsAlarmPhone", "GprsAlarmPhone", 8, "GprsAlarmPhoneStatus", 4},
    {"GprsSMSPhone_", "GprsSMSPhone", 1, "GprsSMSPhoneStatus", 1},
};

constexpr std::array<std::string_view, 4> kVersionKeys = {"GprsBOOTVer", "GprsKERNELVer",
                                                          "GprsRootFSVer", "GprsAPPVer"};

constexpr ReplyField kHeartbeatFields[] = {{"HeartbeatInterval", 8, 9, FieldForm::Number}};

// A short reply stores the phone fields it holds, the part present of the one
// it cuts, and the raw group and the status only when they are whole.
void StorePhoneGroup(const ReplyBytes& bytes, const PhoneGroup& group, DeviceParams& params) {
    const size_t last = kGroupDataStart + group.count * kPhoneFieldBytes + group.statusBytes - 1;
    if (!group.rawKey.empty() && bytes.HasData(last))
        params.Set(std::string(group.rawKey), bytes.DataHex(kGroupDataStart, last));
    for (int i = 0; i < group.count; ++i) {
        const size_t from = kGroupDataStart + i * kPhoneFieldBytes;
        const size_t to = from + kPhoneFieldBytes - 1;
        std::string key(group.phoneKey);
        if (group.count > 1) key += std::to_string(i + 1);
        params.Set(key, DecodeGprsPhoneNumber(bytes.DataHex(from, to)));
        if (!bytes.HasData(to)) return;
    }
    if (group.statusBytes > 0 && bytes.HasData(last))
        params.Set(std::string(group.statusKey), bytes.DataHex(last - group.statusBytes + 1, last));
}

// The four version texts as hex: every text the reply holds, the part present
// of a text it cuts, and empty texts after it.
std::array<std::string, 4> VersionTexts(const ReplyBytes& bytes) {
    std::array<std::string, 4> texts;
    size_t at = 9;  // the length byte of the next text
    for (std::string& text : texts) {
        if (!bytes.HasData(at)) break;
        const size_t length = bytes.At(at);
        text = bytes.DataHex(at + 1, at + length);
        if (length > 0 && !bytes.HasData(at + length)) break;
        at += length + 1;
    }
    return texts;
}

// The server addresses, each followed by ":": every entry the reply holds and
// the part present of an entry it cuts.
std::string ServerTexts(const ReplyBytes& bytes) {
    if (!bytes.HasData(8)) return {};
    std::string out;
    size_t at = 9;
    for (unsigned entry = 0; entry < bytes.At(8); ++entry) {
        if (!bytes.HasData(at)) break;
        const size_t length = bytes.At(at);
        const std::string text = HexToText(bytes.DataHex(at + 1, at + length));
        const bool whole = length == 0 || bytes.HasData(at + length);
        if (whole || !text.empty()) out += text + ":";
        if (!whole) break;
        at += length + 1;
    }
    return out;
}

ReplyResult DecodeCommand(const ReplyBytes& bytes, DeviceParams& params) {
    const unsigned command = bytes.At(6);
    for (const ResultReply& row : kResultReplies)
        if (row.command == command)
            return bytes.HasData(7)
                       ? Outcome(bytes.At(7), std::string(row.prefix) + ResultText(bytes.At(7)))
                       : ReplyResult{};

    // The query replies below answer with byte 7 = 01 or store nothing.
    const bool ok = bytes.HasData(7) && bytes.At(7) == 0x01;
    switch (command) {
        case 0x04:  // the outcome is in byte 8
            return bytes.HasData(8) ? Outcome(bytes.At(8), ResultText(bytes.At(8))) : ReplyResult{};
        case 0x02: {  // 00 success, 01 failure: the opposite of the other replies
            if (!bytes.HasData(7)) return {};
            const unsigned code = bytes.At(7) == 0 ? 1 : bytes.At(7) == 1 ? 2 : 0;
            return Outcome(code, std::string(kPhoneGroupPrefix) + ResultText(code));
        }
        case 0x05:
            if (ok && bytes.HasData(8) && bytes.At(8) < std::size(kPhoneGroups))
                StorePhoneGroup(bytes, kPhoneGroups[bytes.At(8)], params);
            return {};
        case 0x06:  // the outcome is in byte 8
            if (bytes.HasData(8) && bytes.At(8) == 0x01) {
                const auto texts = VersionTexts(bytes);
                for (size_t i = 0; i < kVersionKeys.size(); ++i)
                    params.Set(std::string(kVersionKeys[i]), HexToText(texts[i]));
            }
            return {};
        case 0x07:
            if (ok) {
                params.Set("GprsDomainRPIPHex", bytes.DataHex(8, bytes.Size()));
                params.Set("GprsDomainRPIP", ServerTexts(bytes));
            }
            return {};
        case 0x0C:
            if (ok) StoreTerminalParams(bytes, kTerminalParams1, kFamily, true, params);
            return {};
        case 0x3D:
            if (ok) StoreTerminalParams(bytes, kTerminalParams2, kFamily, true, params);
            return {};
        case 0x3E:
            if (ok) StoreReplyFields(bytes, kHeartbeatFields, kFamily, params);
            return {};
    }
    for (const SwitchReply& row : kSwitchReplies)
        if (row.command == command && ok && bytes.HasData(8))
            params.Set(std::string(row.key), ByteHex(bytes.At(8)));
    return {};
}

}  // namespace

std::string DecodeGprsPhoneNumber(std::string_view field) {
    // Unlike the host's 18-digit fields, a full field of digits is no number here.
    if (field.find('E') == std::string_view::npos) return {};
    return DecodePhoneNumber(field);
}

std::string DecodeVersionList(const ReplyBytes& bytes, int index) {
    const auto texts = VersionTexts(bytes);
    if (index < 0 || index >= static_cast<int>(texts.size())) return {};
    return texts[static_cast<size_t>(index)];
}

std::string DecodeVersionList(const std::string& reply, int index) {
    return DecodeVersionList(ReplyBytes(BytesFromHex(reply)), index);
}

std::string DecodeServerIpList(const ReplyBytes& bytes) {
    return ServerTexts(bytes);
}

std::string DecodeServerIpList(const std::string& reply) {
    return DecodeServerIpList(ReplyBytes(BytesFromHex(reply)));
}

ReplyResult DecodeGprsReply(const std::string& reply, DecodeContext& ctx) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    return DecodeCommand(*prologue.bytes, ctx.params);
}

}  // namespace tarnwick

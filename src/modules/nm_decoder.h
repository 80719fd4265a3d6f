#pragma once
#include <string>
#include <string_view>

#include "modules/module_fields.h"
#include "protocol/decoder_registry.h"

namespace tarnwick {

// Module class 02: the alarm host's network module ("网管模块").
inline constexpr std::string_view kNmClass = "02";

// Command pair labels of the network module as exchanged with the current host.
inline constexpr std::string_view kNmQueryParams1Pair = "028C:020C NM终端参数查询1";
inline constexpr std::string_view kNmQueryParams2Pair = "02CD:023D NM终端参数查询2";
inline constexpr std::string_view kNmQueryHeartbeatPair = "02CE:023E NM心跳间隔时间查询";
inline constexpr std::string_view kNmQueryNetSwitchPair = "02D5:0245 NM查询网络管理开关";
inline constexpr std::string_view kNmQueryLocalPair = "02D9:0249 NM读取设备本地网络参数";
inline constexpr std::string_view kNmSetDeviceIdPair = "0283:0203 配置终端标识号";
inline constexpr std::string_view kNmSetDomainName1Pair = "028A:020A 设置第1中心服务器域名";
inline constexpr std::string_view kNmSetDomainName2Pair = "02CA:023A 设置第2中心服务器域名";
inline constexpr std::string_view kNmSetCentreIpPair = "0284:0204 配置中心IP地址";
inline constexpr std::string_view kNmSetHeartbeatPair = "02CB:023B 设置心跳间隔时间";
inline constexpr std::string_view kNmSetNetSwitchPair = "028E:020E 设置网络管理";
inline constexpr std::string_view kNmSetLocalPair = "02CF:023F 设置设备本地网络参数";
inline constexpr std::string_view kNmFactoryResetPair = "0288:0208 恢复出厂默认";
inline constexpr std::string_view kNmRestartPair = "028D:020D 重新启动";
inline constexpr std::string_view kNmTimeSyncPair = "0281:0201 系统时间校准";
// Data of the local network read D9.
inline constexpr std::string_view kNmQueryLocalData = "00";

// Appended to the result of a successful heartbeat or network management
// setting, and of a successful local network setting.
inline constexpr std::string_view kNmRestartNeededNote = " 该操作需要重新启动网管主机才能生效。";
inline constexpr std::string_view kNmHostRestartingNote =
    " 主机正在重启中,请退到主机搜索界面，并重新搜索...";

// Decodes a class-02 reply (upper-cased, unescaped). Every reply that passes
// the prologue sets NMReboot: "1" after a successful 0E or 3B, else "0".
// Query replies fill the NM… keys and report no outcome; setting and action
// replies are the outcome of their result byte, worded with their result
// text. A successful 3F moves the current host to the address in the first
// page's local IP edit.
ReplyResult DecodeNmReply(const std::string& reply, DecodeContext& ctx);

}  // namespace tarnwick

#pragma once
#include <string>
#include <string_view>

#include "modules/module_fields.h"
#include "protocol/decoder_registry.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {

// Module class 01: the alarm host's GPRS module.
inline constexpr std::string_view kGprsClass = "01";

// Command pair labels of the GPRS module. The description after the blank is
// what the operator sees while the exchange runs.
inline constexpr std::string_view kGprsQueryParams1Pair = "018C:010C GPRS终端参数查询1";
inline constexpr std::string_view kGprsQueryParams2Pair = "01CD:013D GPRS终端参数查询2";
inline constexpr std::string_view kGprsQueryHeartbeatPair = "01CE:013E GPRS心跳间隔时间查询";
inline constexpr std::string_view kGprsQueryManagePhonePair = "0185:0105 GPRS查询监管电话号码";
inline constexpr std::string_view kGprsQueryProgPhonePair = "0185:0105 GPRS查询编程电话号码";
inline constexpr std::string_view kGprsQueryAlarmPhonePair = "0185:0105 GPRS查询报警电话号码";
inline constexpr std::string_view kGprsQuerySmsPhonePair = "0185:0105 GPRS查询短信中心号码";
inline constexpr std::string_view kGprsQueryDnsPair = "0187:0107 GPRS查询域名解析服务器IP地址";
inline constexpr std::string_view kGprsQueryInfoSmsPair = "01D4:0144 GPRS查询信息短信开关";
inline constexpr std::string_view kGprsQueryBootSmsPair = "01D1:0141 GPRS查询开机短信开关";
inline constexpr std::string_view kGprsQueryReportSmsPair = "01D3:0143 GPRS查询短信报告开关";
inline constexpr std::string_view kGprsQueryVersionPair = "0186:0106 GPRS软件版本查询";
inline constexpr std::string_view kGprsSetDeviceIdPair = "0183:0103 配置终端标识号";
inline constexpr std::string_view kGprsSetDomainName1Pair = "018A:010A 设置第1中心服务器域名";
inline constexpr std::string_view kGprsSetDomainName2Pair = "01CA:013A 设置第2中心服务器域名";
inline constexpr std::string_view kGprsSetCentreIpPair = "0184:0104 配置中心IP地址";
inline constexpr std::string_view kGprsSetDnsPair = "0184:0104 设置域名解析服务器IP地址";
inline constexpr std::string_view kGprsSetHeartbeatPair = "01CB:013B 设置心跳间隔时间";
inline constexpr std::string_view kGprsSetSmsAlarmPair = "018B:010B 设置短信报警功能开关";
inline constexpr std::string_view kGprsSetNetworkPair = "0189:0109 设置网络模块参数";
inline constexpr std::string_view kGprsSetSmsPasswordPair = "01D6:0146 修改短信编程密码";
inline constexpr std::string_view kGprsSetBootSmsPair = "01D0:0140 设置开机短信开关";
inline constexpr std::string_view kGprsSetReportSmsPair = "01D2:0142 设置短信报告开关";
// Followed by the group: "00" … "03".
inline constexpr std::string_view kGprsSetPhoneGroupPair = "0182:0102 设置电话号码组";
inline constexpr std::string_view kGprsFactoryResetPair = "0188:0108 恢复出厂默认";
inline constexpr std::string_view kGprsRestartPair = "018D:010D 重新启动";

// Phone number groups of commands 82 and 85.
inline constexpr std::string_view kGprsManagePhoneGroup = "00";
inline constexpr std::string_view kGprsProgPhoneGroup = "01";
inline constexpr std::string_view kGprsAlarmPhoneGroup = "02";
inline constexpr std::string_view kGprsSmsPhoneGroup = "03";
// Data of the version query 86.
inline constexpr std::string_view kGprsVersionQueryData = "0F";
// Phone group writes (82) start with this byte, then the group byte.
inline constexpr std::string_view kGprsPhoneGroupWriteMark = "4A";

// Decodes a class-01 reply (upper-cased, unescaped): query replies fill the
// Gprs… keys of the parameter store and report no outcome; setting and action
// replies are the outcome of their result byte, worded with their result text.
// The phone group setting (02) answers 00 for success and 01 for failure: its
// outcome carries the codes those stand for, 1 and 2.
ReplyResult DecodeGprsReply(const std::string& reply, DecodeContext& ctx);

// The hex digits of version `index` (0 BOOT, 1 KERNEL, 2 RootFS, 3 APP) of a
// version reply: four length-prefixed texts from byte 9. A text the reply
// cuts gives the part present; the texts after it are empty.
std::string DecodeVersionList(const ReplyBytes& bytes, int index);
std::string DecodeVersionList(const std::string& reply, int index);

// The server addresses of a server list reply (count in byte 8, then
// length-prefixed texts), each followed by ":". A short reply gives the
// entries it holds and the part present of the entry it cuts.
std::string DecodeServerIpList(const ReplyBytes& bytes);
std::string DecodeServerIpList(const std::string& reply);

// A 22-digit phone number field of the module: the digits before the first
// "E". The module's numbers always carry the terminator, so a field without
// one reads as no number.
std::string DecodeGprsPhoneNumber(std::string_view field);

}  // namespace tarnwick

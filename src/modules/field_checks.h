#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "programming/programming_field.h"

namespace tarnwick {

// The checks made when the operator leaves a module setting, shared by the
// GPRS page and the network module groups of the first page. Each returns
// the message to show, or empty text when the value passes.

inline constexpr std::string_view kHeartbeatEmptyText =
    "心跳间隔时间：输入的数值不能为空，请重新输入！";
inline constexpr std::string_view kHeartbeatRangeText =
    "心跳间隔时间：输入的数值超出范围，请重新输入！";
inline constexpr std::string_view kBadAddressText = "输入的IP数值有误，请重新输入！";
inline constexpr unsigned kHeartbeatMin = 10;
inline constexpr unsigned kHeartbeatMax = 65535;
// The heartbeat's range beside the field, with the caption its messages start with.
inline constexpr ValueRange kHeartbeatRange = {kHeartbeatMin, kHeartbeatMax, "心跳间隔时间："};

// Empty (after trimming) or outside 10-65535 (a text that is not a decimal
// number counts as outside).
std::string CheckHeartbeat(std::string_view text);

// An empty address becomes "0.0.0.0" (written back into `text`); the
// broadcast address and anything that is not an IPv4 address are refused.
std::string CheckAddress(std::string& text);

// An empty port becomes "0".
void EmptyPortToZero(std::string& text);

// A centre address and a port as they go out: empty ones as "0.0.0.0" and
// "0". A module that holds no centre reports empty text, so the stored value
// is compared in this form too, or every save would write the empty centre.
std::string AddressAsSent(std::string_view text);
std::string PortAsSent(std::string_view text);

// The lines of a server list, tested from the first: the first line that is
// not an address (an empty line too) gives the message, once.
std::string CheckServerList(const std::vector<std::string>& lines);

// The heartbeat as the four hex digits of its 16-bit number, low byte first
// (60 gives "3C00"). A value that is empty, not decimal or outside 10-65535
// cannot be sent: throws SaveRefused with the heartbeat check's message (the
// empty message for an empty text, else the range message).
std::string HeartbeatData(std::string_view text);

}  // namespace tarnwick

#pragma once
#include <string>
#include <string_view>

namespace tarnwick {

class OperatorPort;

// The frame: 7E, checksum, sender mark, addressee mark, module class, command,
// data, check code, 7E; escaped between the delimiters. All texts are hex.

inline constexpr std::string_view kOddDigitMessage =
    "你输入的十六进制数个数有错，不能是奇数个，请重输入！";

// 8-bit sum with end-around carry. On an odd digit count the operator (if
// given) is shown the odd-digit message and the result is empty.
std::string HexChecksum(std::string_view hex, OperatorPort* op = nullptr);
// Low seven bits of the checksum, 7F instead of 00.
std::string HexCheckCode(std::string_view hex, OperatorPort* op = nullptr);
std::string EscapeFrameBody(std::string_view hex);
std::string UnescapeFrame(std::string_view hex);
// Which of a frame's own checks fails: the outer one (delimiters, even
// length, checksum) or the check code. Never throws.
enum class FrameFault { None, Checksum, CheckCode };
FrameFault FindFrameFault(std::string_view frame);
// Delimiters, even length, checksum and check code; never throws.
bool VerifyFrame(std::string_view frame);
// A complete escaped request frame (sender mark 82, addressee mark 01).
std::string BuildFrame(std::string_view moduleClass, std::string_view command,
                       std::string_view data = {}, OperatorPort* op = nullptr);
// A complete escaped reply frame as a host sends it (sender mark 01,
// addressee mark 82): what the simulator sends and the tests script.
std::string BuildReplyFrame(std::string_view moduleClass, std::string_view command,
                            std::string_view data = {});

// Upper-cased and unescaped, as every received datagram is looked at.
std::string NormalizeReceived(std::string_view datagram);

}  // namespace tarnwick

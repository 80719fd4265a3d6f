#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/reply_result.h"

namespace tarnwick {

inline constexpr std::string_view kFrameErrorSuffix = ":帧头/帧尾/校验和/校验码出错！";
inline constexpr std::string_view kForeignSenderText = "非收来自终端的数据！";

// The bytes of a reply, numbered from 1 at the opening 7E. Reading a byte past
// the end is never undefined: Has() tells whether it exists and At() of a
// missing byte is 0, so decoders test Has() before they match a row.
class ReplyBytes {
  public:
    // Copied from a view: GCC's optimiser took a moved-in short string for
    // one whose bytes may be unset and warned at every read.
    explicit ReplyBytes(std::string_view bytes) : bytes_(bytes) {}
    size_t Size() const { return bytes_.size(); }
    bool Has(size_t n) const { return n >= 1 && n <= bytes_.size(); }
    unsigned At(size_t n) const { return Has(n) ? static_cast<unsigned char>(bytes_[n - 1]) : 0u; }
    // Byte n is a data byte: after the command (byte 6) and before the check
    // code. A byte a decoder reads as a value must pass this, or the reply
    // matches no row of the decoder.
    bool HasData(size_t n) const { return n >= 7 && n + 2 <= bytes_.size(); }
    // Hex digits of data bytes [from, to]; never the check code, the closing
    // 7E or anything past the end.
    std::string DataHex(size_t from, size_t to) const;

  private:
    std::string bytes_;
};

// What the common first steps of every reply decoder found: either the
// decoder goes on with the bytes, or it returns `result` and stores nothing.
struct Prologue {
    std::optional<ReplyBytes> bytes;  // set when the decoder goes on
    ReplyResult result;               // what to return when it does not
};

// Empty reply: nothing. Non-hex pair: ConversionError. Failed verification:
// a bad frame, worded reply + frame error suffix. Sender mark other than 01:
// a foreign sender, worded with the foreign text.
Prologue RunReplyPrologue(std::string_view reply);

}  // namespace tarnwick

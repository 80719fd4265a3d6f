#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/text_helpers.h"

namespace tarnwick {

// Field conversions between hex text (two upper-case digits per byte) and the
// values shown on the pages. Text arguments and results are UTF-8; the bytes
// inside frames are GBK.

// Each GBK byte of `text` as two digits, then 00 bytes up to `width` bytes.
// A longer text is cut to `width` bytes without splitting a two-byte
// character, so a fixed-width field never shifts the fields after it.
std::string TextToHexField(std::string_view text, size_t width);
// Each GBK byte of the whole text as two digits, never cut: for texts whose
// length travels in front of them (host model, domain names). Fill such a
// text to a minimum width with PadHexField.
std::string TextToHex(std::string_view text);
// 0 digits appended until `hex` holds `width` bytes; a longer text is kept.
std::string PadHexField(std::string_view hex, size_t width);
// Sum of digit weights in 32-bit arithmetic; a non-hex character counts 0.
int32_t HexToInt(std::string_view hex);
// Whole pairs from the left, 00 pairs skipped, the bytes read as GBK.
std::string HexToText(std::string_view hex);
// `bits` characters "0"/"1", most significant first.
std::string IntToBitText(int64_t value, int bits);
// "base+bit," for every set bit of the low byte, from bit 0 up.
std::string BitNumberList(std::string_view hex, int base);
std::string FlagDigit(bool flag);
// A whole number written in decimal, with an optional sign; anything else
// (empty text, blanks, other characters, out of range) throws ConversionError.
int DecimalToInt(std::string_view text);
// A text of "0"/"1" read as binary, written as hex of at least `width` digits.
// Throws ConversionError on a character that is not a decimal digit.
std::string BitTextToHex(std::string_view bits, size_t width);
// Exactly four dot-separated pieces of one to three decimal digits, each
// 0-255; nothing else (no blanks, signs, empty pieces or line breaks).
bool IsValidIPv4(std::string_view text);
// 1 "成功!", 2 "失败!", anything else " 返回值S[7]有误!".
std::string ResultText(int code);
// The alarm host's own result words (remote control, arming, programming):
// 1 "成功!", 2 "失败!", 3 "拒绝!", anything else "  返回值S[7]有误!".
std::string HostResultText(int code);

// Byte helpers shared by the flows and decoders.
// Upper-case hex of raw bytes, and back; BytesFromHex throws ConversionError
// on a pair that is not hex. A trailing single digit is ignored.
std::string HexFromBytes(std::string_view bytes);
std::string BytesFromHex(std::string_view hex);
// Two upper-case digits of a byte value.
std::string ByteHex(unsigned value);

}  // namespace tarnwick

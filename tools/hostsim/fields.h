#pragma once
#include <string>
#include <string_view>

namespace tarnwick::hostsim {

// The device side of the field encodings: what a host puts into its replies
// and reads out of requests. All hex text is upper case.

// A text in `width` bytes: its GBK bytes, cut when longer, 00-filled on the right.
std::string Field(std::string_view text, size_t width);
// One length byte, then the text's GBK bytes.
std::string LengthPrefixed(std::string_view text);
// A 16-bit number, low byte first.
std::string LowByteFirst(unsigned value);
unsigned ReadLowByteFirst(std::string_view hex4);
// A 22-digit phone field: the dialled digits, "E", then "0" up to 22.
std::string PhoneField(std::string_view digits);
// Bytes `first` .. `first + count - 1` (1-based) of a data hex text, clipped.
std::string DataBytes(std::string_view data, size_t first, size_t count);
// Value of data byte n (1-based); -1 when the data is shorter.
int DataByte(std::string_view data, size_t n);
// A value 0-99 written as two decimal digits ("15" is fifteen).
std::string DecimalPair(int value);
bool IsHexText(std::string_view text);

}  // namespace tarnwick::hostsim

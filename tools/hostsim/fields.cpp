#include "fields.h"

#include "protocol/hex_text.h"

namespace tarnwick::hostsim {

std::string Field(std::string_view text, size_t width) {
    std::string hex = TextToHexField(text, width);
    hex.resize(2 * width, '0');
    return hex;
}

std::string LengthPrefixed(std::string_view text) {
    std::string hex = TextToHex(text);
    if (hex.size() > 2 * 255) hex.resize(2 * 255);
    return ByteHex(static_cast<unsigned>(hex.size() / 2)) + hex;
}

std::string LowByteFirst(unsigned value) {
    return ByteHex(value & 0xFF) + ByteHex((value >> 8) & 0xFF);
}

unsigned ReadLowByteFirst(std::string_view hex4) {
    if (hex4.size() < 4) return 0;
    return static_cast<unsigned>(HexToInt(hex4.substr(2, 2)) * 256 + HexToInt(hex4.substr(0, 2)));
}

std::string PhoneField(std::string_view digits) {
    std::string field(digits.substr(0, 22));
    if (field.size() < 22) field += 'E';
    field.resize(22, '0');
    return field;
}

std::string DataBytes(std::string_view data, size_t first, size_t count) {
    return Slice(data, 2 * first - 1, 2 * (first + count - 1));
}

int DataByte(std::string_view data, size_t n) {
    if (data.size() < 2 * n) return -1;
    return HexToInt(data.substr(2 * n - 2, 2)) & 0xFF;
}

std::string DecimalPair(int value) {
    value = value < 0 ? 0 : value % 100;
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

bool IsHexText(std::string_view text) {
    if (text.size() % 2 != 0) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

}  // namespace tarnwick::hostsim

#include "sim_host.h"

#include <ctime>

#include "fields.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {
namespace {

// The 18-digit alarm call number field of the programming content.
std::string CallNumber(const std::string& digits) {
    std::string field = digits.substr(0, 18);
    if (field.size() < 18) field += 'E';
    field.resize(18, '0');
    return field;
}

std::string Digits(int index, int width) {
    return ZeroPadLeft(std::to_string(index), static_cast<size_t>(width));
}

std::array<std::string, 8> DefaultSections(int index) {
    const std::string empty = CallNumber("");
    std::array<std::string, 8> s;
    // Installer code, then four users: rights and code.
    s[0] =
        "123456"
        "011234"
        "022345"
        "000000"
        "000000";
    s[1] = CallNumber("139" + Digits(index, 8)) + CallNumber("0755" + Digits(index, 7)) + empty +
           empty;
    s[2] = empty + empty + empty + empty + "10000000";
    // Account, dial and ring counts, delays and output times; then the flags.
    s[3] = Digits(index, 6) +
           "05"
           "08"
           "10"
           "10"
           "05"
           "03"
           "01"
           "01" +
           "10000000"
           "110000"
           "000000"
           "111111"
           "1111111111"
           "11111110";
    s[4] =
        "91210110"
        "91210110"
        "93210110"
        "93210110"
        "96211110"
        "97211110";
    s[5] =
        "920110"
        "920110"
        "930110"
        "930110"
        "960110"
        "970110";
    s[6] = std::string("22000700") + "11111000" + "111111" + "000000" + "24602460" + "00000000" +
           "000000" + "000000";
    s[7] = std::string("000000") + "000000" + "01230123" + "24" + "00000000" + "00000000" + "05" +
           "30" + "00" + "0000" + "1" + "1" + "00000000";
    return s;
}

// Two-digit month, day, hour and minute as the host writes them.
std::string Stamp(const std::tm& t) {
    return DecimalPair(t.tm_mon + 1) + DecimalPair(t.tm_mday) + DecimalPair(t.tm_hour) +
           DecimalPair(t.tm_min);
}

std::string Record(int number, uint8_t kind, const std::string& stamp, uint8_t b8, uint8_t b9,
                   uint8_t b10, uint8_t alarmCode) {
    return ByteHex(static_cast<unsigned>(number >> 8)) + ByteHex(static_cast<unsigned>(number)) +
           ByteHex(kind) + stamp + ByteHex(b8) + ByteHex(b9) + ByteHex(b10) + ByteHex(alarmCode);
}

}  // namespace

SimHost DefaultHost(const std::string& address, int index) {
    SimHost h;
    h.address = address;
    h.identity.ip = address;
    h.identity.deviceId = Digits(100001 + index, 6);
    const size_t lastDot = address.rfind('.');
    const size_t secondDot =
        lastDot == std::string::npos ? lastDot : address.rfind('.', lastDot - 1);
    h.identity.gateway =
        secondDot == std::string::npos ? "" : address.substr(0, secondDot) + ".0.254";
    h.sections = DefaultSections(index);
    h.gprs.deviceId = h.identity.deviceId;
    h.gprs.managePhone = PhoneField("138" + Digits(index, 8));
    for (auto& p : h.gprs.progPhones) p = PhoneField("");
    for (auto& p : h.gprs.alarmPhones) p = PhoneField("");
    h.gprs.alarmPhones[0] = PhoneField("139" + Digits(index, 8));
    h.gprs.smsCentre = PhoneField("13800100500");
    h.network.dns1 = Field("10.231.200.53", 15);
    h.network.dns2 = Field("", 15);
    h.history = GenerateHistory(65);
    h.gprsDefaults = h.gprs;
    h.networkDefaults = h.network;
    return h;
}

void SetInstallerCode(SimHost& host, const std::string& code) {
    host.sections[0].replace(0, 6, ZeroPadLeft(code, 6).substr(0, 6));
}

std::vector<std::string> GenerateHistory(int count) {
    std::vector<std::string> records;
    std::time_t when = std::time(nullptr);
    static const uint8_t kZoneAlarms[] = {0x03, 0x04, 0x05, 0x01, 0x02, 0x07};
    static const uint8_t kArming[] = {0x10, 0x11, 0x12, 0x15, 0x16, 0x19, 0x1A};
    static const uint8_t kSystem[] = {0x20, 0x21, 0x26, 0x27, 0x30, 0x35};
    for (int n = 1; n <= count; ++n) {
        when -= 37 * 60;
        std::tm t{};
        localtime_r(&when, &t);
        const std::string stamp = Stamp(t);
        const int i = n - 1;
        if (n % 16 == 0) {  // a cleared slot: event kind and month both 00
            records.push_back(Record(n, 0x00, "00000000", 0, 0, 0, 0));
            continue;
        }
        switch (i % 3) {
            case 0:  // a zone alarm: zone base in decimal digits, offset as one bit
                records.push_back(Record(n, 0x90, stamp, (i / 3) % 2 ? 0x08 : 0x00,
                                         static_cast<uint8_t>(1u << (i % 8)),
                                         static_cast<uint8_t>(1 + i % 10), kZoneAlarms[i % 6]));
                break;
            case 1:  // arming: zones 1-8 and 9-16 as bit masks, operator number
                records.push_back(Record(n, 0x92, stamp, static_cast<uint8_t>(0x3F >> (i % 4)),
                                         static_cast<uint8_t>(i % 2 ? 0x05 : 0x00),
                                         static_cast<uint8_t>(1 + i % 4), kArming[i % 7]));
                break;
            default:  // a system event
                records.push_back(Record(n, 0x93, stamp, static_cast<uint8_t>(i % 7), 0x00, 0x00,
                                         kSystem[i % 6]));
        }
    }
    return records;
}

void AppendHistory(SimHost& host, uint8_t kind, uint8_t b8, uint8_t b9, uint8_t b10,
                   uint8_t alarmCode) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    host.history.push_back(
        Record(static_cast<int>(host.history.size()) + 1, kind, Stamp(t), b8, b9, b10, alarmCode));
}

}  // namespace tarnwick::hostsim

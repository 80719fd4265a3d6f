#include "modules/module_writes.h"

#include "protocol/hex_text.h"

namespace tarnwick {

std::string DeviceIdData(const std::string& sixDigits) {
    return TextToHexField(sixDigits, 20);
}

std::string DomainNameData(const std::string& name) {
    const std::string hex = TextToHex(name);
    return ByteHex(static_cast<unsigned>(hex.size() / 2)) + PadHexField(hex, 2);
}

std::string CentreAddressData(const std::string& ip1, const std::string& port1,
                              const std::string& ip2, const std::string& port2) {
    return "000200" + TextToHexField(ip1, kModuleAddressBytes) +
           TextToHexField(port1, kModulePortBytes) + "00" +
           TextToHexField(ip2, kModuleAddressBytes) + TextToHexField(port2, kModulePortBytes);
}

}  // namespace tarnwick

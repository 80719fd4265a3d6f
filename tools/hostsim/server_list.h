#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::hostsim {

// The data of command 84 of both modules: byte 00, the number of entries, then
// entries of 21 bytes: type (00 centre server, 02 name server), the address in
// a 15-byte text field, the port in a 5-byte text field.
struct ServerEntry {
    int type = 0;
    std::string ip;
    std::string port;
};

// False when the data is shorter than its count promises.
bool ParseServerList(const std::string& data, std::vector<ServerEntry>& entries);

// A length byte and the name bytes (commands 8A and CA); the name as text.
std::string ParseLengthPrefixedName(std::string_view data);

}  // namespace tarnwick::hostsim

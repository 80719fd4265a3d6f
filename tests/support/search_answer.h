#pragma once
#include <string>

namespace tarnwick::testing {

// The fields of a host's answer to the search broadcast, as the host list
// shows them; an empty field travels as zero bytes.
struct SearchAnswerFields {
    std::string ip;
    std::string port = "5200";
    std::string deviceId = "100001";
    std::string module = "网络模块";
    std::string hostType = "报警主机";
    std::string mask = "255.255.255.0";
    std::string gateway = "10.77.0.1";
};

// The answer (class 02, command 47) as it travels, escaped.
std::string SearchAnswer(const SearchAnswerFields& fields);
std::string SearchAnswer(const std::string& ip, const std::string& hostType = "报警主机");
// Only the address filled in, every other field zero bytes.
std::string BareSearchAnswer(const std::string& ip);

}  // namespace tarnwick::testing

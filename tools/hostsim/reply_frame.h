#pragma once
#include <string>
#include <string_view>

namespace tarnwick::hostsim {

// A frame as an alarm host sends it: sender mark 01, addressee mark 82, then
// class, command and data; check code and checksum as in every frame, escaped
// between the delimiters. With `spoilChecksum` the checksum byte is wrong while
// class and command still read right.
std::string BuildReplyFrame(std::string_view moduleClass, std::string_view command,
                            std::string_view data, bool spoilChecksum = false);

}  // namespace tarnwick::hostsim

#pragma once
#include <string>

namespace tarnwick::testing {

// A reply frame as a host sends it (sender mark 01, addressee mark 82), in
// the form the exchange hands to a decoder: upper case, escapes removed.
std::string Reply(const std::string& cls, const std::string& cmd, const std::string& data);

}  // namespace tarnwick::testing

#include "protocol/unicast_address.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(IsUnicastIPv4, RefusesWhatCannotNameOneHost) {
    for (const char* address : {"192.168.1.10", "10.0.0.1", "1.2.3.4", "223.255.255.254"})
        EXPECT_TRUE(IsUnicastIPv4(address)) << address;
    for (const char* address :
         {"0.0.0.0", "255.255.255.255", "224.0.0.1", "239.255.255.250", "", "AAAAAAAAAAAAAAA",
          "192.168.1", "192.168.1.256", "1.2.3.4.5", "0.1.2.3", "240.0.0.1", "255.255.255.254"})
        EXPECT_FALSE(IsUnicastIPv4(address)) << address;
}

// Every place that takes an address says the same: the plain form, or why not.
TEST(CheckHostAddress, OneAnswerForEveryAddressTheToolTalksTo) {
    // The lab's network: 10.231.0.0/16, its interface given no broadcast address.
    const std::vector<LocalNetwork> local = {{0x0AE70001, 0xFFFF0000, 0}};
    const std::pair<const char*, const char*> cases[] = {
        {"010.231.001.001", "10.231.1.1"},    {"10.231.1.255", "10.231.1.255"},
        {"10.232.255.255", "10.232.255.255"}, {"10.231.255.255", kNotOneHostText},
        {"010.231.255.255", kNotOneHostText}, {"255.255.255.255", kNotOneHostText},
        {"0.10.0.1", kNotOneHostText},        {"240.0.0.1", kNotOneHostText},
        {"10.231.1.1 ", kNotAnAddressText},   {"广播", kNotAnAddressText},
    };
    for (const auto& [typed, said] : cases) {
        const CheckedAddress checked = CheckHostAddress(typed, local);
        EXPECT_EQ(checked.problem.empty() ? checked.address : checked.problem, said) << typed;
    }
}

}  // namespace
}  // namespace tarnwick

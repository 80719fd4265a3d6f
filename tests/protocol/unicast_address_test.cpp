#include "protocol/unicast_address.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(IsUnicastIPv4, RefusesWhatCannotNameOneHost) {
    for (const char* address :
         {"192.168.1.10", "10.0.0.1", "1.2.3.4", "223.255.255.254", "240.0.0.1", "255.255.255.254"})
        EXPECT_TRUE(IsUnicastIPv4(address)) << address;
    for (const char* address : {"0.0.0.0", "255.255.255.255", "224.0.0.1", "239.255.255.250", "",
                                "AAAAAAAAAAAAAAA", "192.168.1", "192.168.1.256", "1.2.3.4.5"})
        EXPECT_FALSE(IsUnicastIPv4(address)) << address;
}

}  // namespace
}  // namespace tarnwick

#include "modules/field_checks.h"

#include <gtest/gtest.h>

#include "hosts/save_refused.h"

namespace tarnwick {
namespace {

TEST(FieldChecks, HeartbeatIsTenTo65535AndTravelsLowByteFirst) {
    EXPECT_EQ(CheckHeartbeat(" "), kHeartbeatEmptyText);
    for (const char* out : {"9", "65536", "99999", "6O"})
        EXPECT_EQ(CheckHeartbeat(out), kHeartbeatRangeText) << out;
    for (const char* in : {"10", "60", "65535"}) EXPECT_EQ(CheckHeartbeat(in), "") << in;
    EXPECT_EQ(HeartbeatData("60"), "3C00");
    EXPECT_EQ(HeartbeatData("10000"), "1027");
    for (const char* refused : {"", "9", "70000", "1e3"})
        EXPECT_THROW(HeartbeatData(refused), SaveRefused) << refused;
}

TEST(FieldChecks, AddressesPortsAndServerLists) {
    std::string empty = "  ";
    EXPECT_EQ(CheckAddress(empty), "");
    EXPECT_EQ(empty, "0.0.0.0");
    std::string broadcast = "255.255.255.255", bad = "10.0.0.256", good = "10.0.0.5";
    EXPECT_EQ(CheckAddress(broadcast), kBadAddressText);
    EXPECT_EQ(CheckAddress(bad), kBadAddressText);
    EXPECT_EQ(CheckAddress(good), "");
    std::string port = "";
    EmptyPortToZero(port);
    EXPECT_EQ(port, "0");
    EXPECT_EQ(CheckServerList({"10.0.0.1", "10.0.0.2"}), "");
    EXPECT_EQ(CheckServerList({"10.0.0.1", "", "10.0.0.2"}), kBadAddressText);
}

}  // namespace
}  // namespace tarnwick

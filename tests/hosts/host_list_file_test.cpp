#include "hosts/host_list_file.h"

#include <gtest/gtest.h>

namespace tarnwick {

// A skipped line as a failed comparison prints it.
void PrintTo(const HostListFile::Skipped& s, std::ostream* os) {
    *os << s.line << " \"" << s.text << "\" " << s.reason;
}

namespace {

using Skipped = HostListFile::Skipped;

TEST(HostListFileTest, KeepsTheAddressesInOrderAndNamesEveryLineItSkips) {
    const HostListFile list = ParseHostList(
        "# the shops of the north\n"     // 1
        "10.0.0.2\n"                     // 2
        "\n"                             // 3
        "  10.0.0.3  # back office\r\n"  // 4: blanks, a comment, a Windows line end
        "10.0.0.256\n"                   // 5
        "shop-7.local\n"                 // 6
        "255.255.255.255\n"              // 7
        "0.0.0.0\n"                      // 8
        "224.0.0.1\n"                    // 9
        "10.0.0.2\n"                     // 10: listed on line 2
        "010.000.0.03\n"                 // 11: line 4's host with leading zeros
        "\t\r\n"                         // 12
        "10.0.0.4 10.0.0.5\n"            // 13: two on one line
        "   #10.0.0.9\n"                 // 14
        "10.0.0.6",                      // 15: no line end
        {});
    std::vector<std::string> addresses;
    for (const HostTarget& host : list.hosts) addresses.push_back(host.address);
    EXPECT_EQ(addresses, (std::vector<std::string>{"10.0.0.2", "10.0.0.3", "10.0.0.6"}));
    const std::vector<Skipped> expected = {
        {5, "10.0.0.256", kNotAnAddressText},    {6, "shop-7.local", kNotAnAddressText},
        {7, "255.255.255.255", kNotOneHostText}, {8, "0.0.0.0", kNotOneHostText},
        {9, "224.0.0.1", kNotOneHostText},       {10, "10.0.0.2", "与第2行重复"},
        {11, "010.000.0.03", "与第4行重复"},     {13, "10.0.0.4 10.0.0.5", kNotAnAddressText},
    };
    EXPECT_EQ(list.skipped, expected);
}

TEST(HostListFileTest, AFileWithNothingToReadListsNoHost) {
    for (const char* text : {"", "\n\n", "# none yet\n", "\r\n  \r\n"}) {
        const HostListFile list = ParseHostList(text, {});
        EXPECT_TRUE(list.hosts.empty()) << text;
        EXPECT_TRUE(list.skipped.empty()) << text;
    }
}

TEST(HostListFileTest, TheBroadcastAddressOfALocalNetworkNamesNoHost) {
    // 10.231.0.1/16 given no broadcast address (the system broadcasts to its
    // last one all the same), 192.168.5.9/24 given one of its own, and a
    // point-to-point /31 whose two addresses are both hosts.
    const std::vector<LocalNetwork> local = {
        {0x0AE70001, 0xFFFF0000, 0},
        {0xC0A80509, 0xFFFFFF00, 0xC0A805FE},
        {0xC0000201, 0xFFFFFFFE, 0},
    };
    const HostListFile list = ParseHostList(
        "10.231.255.255\n"    // 1: reaches every host of the lab
        "10.231.1.255\n"      // 2: a host of the /16
        "192.168.5.254\n"     // 3: the broadcast address the interface was given
        "192.168.5.255\n"     // 4: that network's last address
        "192.0.2.1\n"         // 5
        "010.231.255.255\n",  // 6: line 1 with leading zeros
        local);
    const std::vector<HostTarget> hosts = {{"10.231.1.255", kHostPort, {}},
                                           {"192.0.2.1", kHostPort, {}}};
    EXPECT_EQ(list.hosts, hosts);
    const std::vector<Skipped> expected = {
        {1, "10.231.255.255", kNotOneHostText},
        {3, "192.168.5.254", kNotOneHostText},
        {4, "192.168.5.255", kNotOneHostText},
        {6, "010.231.255.255", kNotOneHostText},
    };
    EXPECT_EQ(list.skipped, expected);
}

TEST(LocalNetworksTest, TheLoopbackNetworkIsReadFromTheInterfaces) {
    // Every namespace has its loopback interface up: 127.0.0.1/8.
    const std::vector<LocalNetwork> local = LocalIPv4Networks();
    EXPECT_FALSE(IsHostAddress("127.255.255.255", local));
    EXPECT_TRUE(IsHostAddress("127.0.0.1", local));
}

}  // namespace
}  // namespace tarnwick

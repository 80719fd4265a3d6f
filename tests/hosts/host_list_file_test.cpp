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
        "10.0.0.6");                     // 15: no line end
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
        const HostListFile list = ParseHostList(text);
        EXPECT_TRUE(list.hosts.empty()) << text;
        EXPECT_TRUE(list.skipped.empty()) << text;
    }
}

}  // namespace
}  // namespace tarnwick

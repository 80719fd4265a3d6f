#include "protocol/reply_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "protocol/frame_codec.h"

namespace tarnwick {
namespace {

// Every way a datagram can fail to be the reply of "1101" to a request sent
// to 10.77.0.11:5200, in the order the check judges them.
TEST(ReplyCheck, NamesWhatEachDatagramIsToTheRequest) {
    const std::string reply = BuildReplyFrame("11", "01", "7E00");  // escaped inside
    std::string lower = reply, badSum = reply;
    std::transform(reply.begin(), reply.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    badSum[2] = badSum[2] == '0' ? '1' : '0';
    // Marks, class, command, data and a check code of 00, which never fits,
    // under a checksum that does.
    const std::string summed = "018211010000";
    const std::string badCode = "7E" + HexChecksum(summed) + summed + "7E";
    const AwaitedReply host = ReplyFrom("10.77.0.11", 5200, "1101");
    const AwaitedReply anyone = ReplyFrom("255.255.255.255", 5200, "1101");
    const AwaitedReply anyClass{{}, 0, {}, "01"};
    using enum ReplyOutcome;
    const struct {
        AwaitedReply awaited;
        std::string payload;
        const char* from;
        uint16_t port;
        ReplyOutcome outcome;
    } cases[] = {
        {host, reply, "10.77.0.11", 5200, Reply},
        {host, lower, "10.77.0.11", 5200, Reply},
        {host, reply, "10.77.0.11", 0, Reply},  // the sender's port not known
        {host, "", "10.77.0.12", 5200, OtherHost},
        {host, reply, "10.77.0.11", 5300, OtherPort},
        {anyone, reply, "10.77.0.12", 5300, Reply},
        {host, "", "10.77.0.11", 5200, TooShort},
        {host, reply.substr(0, 14), "10.77.0.11", 5200, TooShort},
        {host, BuildReplyFrame("12", "01", "00"), "10.77.0.11", 5200, OtherClass},
        {host, BuildReplyFrame("11", "02", "00"), "10.77.0.11", 5200, OtherCommand},
        // A request's sender mark is for the decoder to refuse.
        {host, BuildFrame("11", "01", "00"), "10.77.0.11", 5200, Reply},
        {host, badSum, "10.77.0.11", 5200, BadChecksum},
        {host, reply.substr(0, reply.size() - 2), "10.77.0.11", 5200, BadChecksum},
        {host, badCode, "10.77.0.11", 5200, BadCheckCode},
        {anyClass, BuildReplyFrame("02", "01", "00"), "10.77.0.99", 9, Reply},
    };
    for (const auto& c : cases) {
        const CheckedReply checked = CheckReply(c.awaited, {c.payload, c.from, c.port});
        EXPECT_EQ(checked.outcome, c.outcome) << c.payload << " from " << c.from << ":" << c.port
                                              << " is " << OutcomeName(checked.outcome);
        EXPECT_EQ(checked.frame, NormalizeReceived(c.payload));
    }
}

}  // namespace
}  // namespace tarnwick

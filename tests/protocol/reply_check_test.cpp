#include "protocol/reply_check.h"

#include <gtest/gtest.h>

#include <cctype>

#include "protocol/frame_codec.h"

namespace tarnwick {
namespace {

// A reply frame of class 11, command 01 whose check code is `code`, with a
// checksum that fits it.
std::string WithCheckCode(const std::string& code) {
    const std::string summed =
        "01"
        "82"
        "1101"
        "00" +
        code;
    return "7E" + HexChecksum(summed) + summed + "7E";
}

// Every way a datagram can fail to be the reply of "1101" to a request sent
// to 10.77.0.11:5200, judged in the order the check names them.
TEST(ReplyCheck, NamesWhatEachDatagramIsToTheRequest) {
    const std::string reply = BuildReplyFrame("11", "01", "7E00");  // escaped inside
    std::string lower = reply;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string badChecksum = reply;
    badChecksum[2] = badChecksum[2] == '0' ? '1' : '0';
    const AwaitedReply fromHost = ReplyFrom("10.77.0.11", 5200, "1101");
    const AwaitedReply fromAnyone = ReplyFrom("255.255.255.255", 5200, "1101");
    const AwaitedReply anyClass{{}, 0, {}, "01"};
    struct Case {
        const char* what;
        AwaitedReply awaited;
        Datagram datagram;
        ReplyOutcome outcome;
    };
    const Case cases[] = {
        {"the reply", fromHost, {reply, "10.77.0.11", 5200}, ReplyOutcome::Reply},
        {"the reply in lower case", fromHost, {lower, "10.77.0.11", 5200}, ReplyOutcome::Reply},
        {"the reply, sender port not known",
         fromHost,
         {reply, "10.77.0.11", 0},
         ReplyOutcome::Reply},
        {"another host", fromHost, {reply, "10.77.0.12", 5200}, ReplyOutcome::OtherHost},
        {"another port of the host",
         fromHost,
         {reply, "10.77.0.11", 5300},
         ReplyOutcome::OtherPort},
        {"a broadcast is answered from anywhere",
         fromAnyone,
         {reply, "10.77.0.12", 5300},
         ReplyOutcome::Reply},
        {"another host before anything else",
         fromHost,
         {"", "10.77.0.12", 5200},
         ReplyOutcome::OtherHost},
        {"empty", fromHost, {"", "10.77.0.11", 5200}, ReplyOutcome::TooShort},
        {"one byte short of a frame",
         fromHost,
         {reply.substr(0, 14), "10.77.0.11", 5200},
         ReplyOutcome::TooShort},
        {"another class",
         fromHost,
         {BuildReplyFrame("12", "01", "00"), "10.77.0.11", 5200},
         ReplyOutcome::OtherClass},
        {"another command",
         fromHost,
         {BuildReplyFrame("11", "02", "00"), "10.77.0.11", 5200},
         ReplyOutcome::OtherCommand},
        {"a request frame of the same codes is still the reply (its decoder refuses it)",
         fromHost,
         {BuildFrame("11", "01", "00"), "10.77.0.11", 5200},
         ReplyOutcome::Reply},
        {"bad checksum", fromHost, {badChecksum, "10.77.0.11", 5200}, ReplyOutcome::BadChecksum},
        {"cut before its closing 7E",
         fromHost,
         {reply.substr(0, reply.size() - 2), "10.77.0.11", 5200},
         ReplyOutcome::BadChecksum},
        {"bad check code",
         fromHost,
         {WithCheckCode("00"), "10.77.0.11", 5200},
         ReplyOutcome::BadCheckCode},
        {"a good check code",
         fromHost,
         {WithCheckCode(HexCheckCode("82110100")), "10.77.0.11", 5200},
         ReplyOutcome::Reply},
        {"any class of the command",
         anyClass,
         {BuildReplyFrame("02", "01", "00"), "1.2.3.4", 9},
         ReplyOutcome::Reply},
    };
    for (const Case& c : cases) {
        const CheckedReply checked = CheckReply(c.awaited, c.datagram);
        EXPECT_EQ(checked.outcome, c.outcome) << c.what << ": " << OutcomeName(checked.outcome);
        EXPECT_EQ(checked.frame, NormalizeReceived(c.datagram.payload)) << c.what;
    }
}

}  // namespace
}  // namespace tarnwick

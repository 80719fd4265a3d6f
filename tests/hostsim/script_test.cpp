#include "hostsim/script.h"

#include <gtest/gtest.h>

#include "hostsim/faults.h"

namespace tarnwick::hostsim {
namespace {

std::string Refusal(const std::string& text) {
    try {
        ParseScript(text);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "taken";
}

TEST(Script, NamesTheEventAndFieldItCannotPlay) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"events": [{"alarm": [3]}]})", "event 1: needs \"at\""},
        {R"({"events": [{"at": 1, "alarm": [17]}]})", "event 1: \"alarm\" needs zones 1 to 16"},
        {R"({"events": [{"at": 1, "silent": 2}, {"at": 2, "fault": "fire"}]})",
         "event 2: \"fault\" is mains"},
        {R"({"events": [{"at": 1, "silent": 2, "garbled": 1}]})", "event 1: needs one of"},
        {R"({"events": [{"at": -1, "garbled": 1}]})", "event 1: \"at\" needs seconds"},
        {R"({"events": [{"at": 1, "silent": 2, "for": 3}]})", "\"for\" belongs to a fault"},
        {R"({"events": [{"at": 1, "alarm": "3"}]})", "event 1: [json.exception"},
        {R"([])", "a script is"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_NE(Refusal(text).find(expected), std::string::npos) << Refusal(text);
}

TEST(Script, EventsHappenInTimeOrderAndAFaultComesBackAfterItsSpell) {
    const auto events = ParseScript(R"({"events": [
        {"at": 8, "fault": "mains", "for": 4.5},
        {"at": 10, "alarm": [3, 12], "code": "02", "hosts": ["10.231.1.2"]},
        {"at": 0.25, "silent": 1}]})");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].atMs, 250u);
    EXPECT_EQ(events[1].kind, ScriptEvent::Kind::Fault);
    EXPECT_EQ(events[2].atMs, 10000u);
    EXPECT_EQ(events[3].kind, ScriptEvent::Kind::Recovery);
    EXPECT_EQ(events[3].atMs, 12500u);

    SimHost host = DefaultHost("10.231.1.2", 1);
    const size_t records = host.history.size();
    Happen(events[2], host, 0);
    // Zone 3 is bit 2 of zones 1-8, zone 12 bit 3 of zones 9-16; the siren sounds.
    EXPECT_EQ(host.status.zones1_8, 0x04);
    EXPECT_EQ(host.status.zones9_16, 0x08);
    EXPECT_EQ(host.status.system & 0x20, 0x20);
    ASSERT_EQ(host.history.size(), records + 2);
    EXPECT_EQ(host.history.back().substr(4, 2), "90");
    EXPECT_EQ(host.history.back().substr(14, 4), "0808");  // zone base 8, offset bit 4
    EXPECT_EQ(host.history.back().substr(20, 2), "02");
    Happen(events[1], host, 0);  // the mains lamp goes dark
    EXPECT_EQ(host.status.system & 0x01, 0);
    EXPECT_EQ(host.history.back().substr(20, 2), "20");
    Happen(events[3], host, 0);
    EXPECT_EQ(host.status.system & 0x01, 1);
    EXPECT_EQ(host.history.back().substr(20, 2), "21");

    ScriptEvent tamper = events[1];
    tamper.fault = "tamper";  // its lamp lights for the fault
    Happen(tamper, host, 0);
    EXPECT_EQ(host.status.system & 0x04, 0x04);
}

TEST(Script, ASilentSpellEndsAndGarbledRepliesAreCounted) {
    SimHost host = DefaultHost("10.231.1.1", 1);
    const auto events =
        ParseScript(R"({"events": [{"at": 0, "silent": 1.5}, {"at": 0, "garbled": 2}]})");
    Happen(events[0], host, 1000);
    EXPECT_EQ(host.silentUntilMs, 2500u);
    Happen(events[1], host, 1000);
    std::vector<FaultRule> none;
    for (bool garbled : {true, true, false})
        EXPECT_EQ(Apply(host.faults, none, "1282", "06F2").badChecksum, garbled);
}

}  // namespace
}  // namespace tarnwick::hostsim

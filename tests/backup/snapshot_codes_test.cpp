#include "backup/snapshot_codes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "programming/programming_requests.h"
#include "protocol/hex_text.h"
#include "support/snapshot_of.h"
#include "support/temp_dir.h"

namespace tarnwick::testing {
namespace {

constexpr const char* kPassphrase = "correct horse";
const std::vector<std::string> kCodes = {"731946", "8524", "9163", "7305", "6081"};

// The sample configuration with section 00 holding the installer code and
// the four user codes given.
ConfigSnapshot Coded(const std::vector<std::string>& codes = kCodes) {
    std::string bodies[8];
    for (int i = 0; i < 8; ++i) bodies[i] = kSampleBodies[i];
    bodies[0] = codes[0];
    for (size_t user = 1; user <= 4; ++user) bodies[0] += "0" + std::to_string(user) + codes[user];
    const char* raw[8];
    for (int i = 0; i < 8; ++i) raw[i] = bodies[i].c_str();
    return SnapshotOf(raw);
}

// Whether any code stands in the text, as digits or as the hex of its text.
bool HoldsACode(const std::string& text) {
    for (const std::string& code : kCodes)
        if (text.find(code) != std::string::npos || text.find(TextToHex(code)) != std::string::npos)
            return true;
    return false;
}

struct Keys {
    TempDir dir;
    CodeKeys sealing{kPassphrase, dir.File("team.key"), DerivationCost::Least};
    CodeKeys plain{std::nullopt, dir.File("team.key"), DerivationCost::Least};
};

TEST(SnapshotCodes, EachFormKeepsTheCodesAsItSaysAndEverythingElseInClear) {
    struct Case {
        CodeForm form;
        bool withPassphrase;
        bool codesInText;
        const char* withheldBecause;  // nullptr: read back whole
    };
    const Case cases[] = {
        {CodeForm::Sealed, true, false, nullptr},
        {CodeForm::Redacted, false, false, kCodesNotStoredText},
        {CodeForm::Full, false, true, nullptr},
    };
    const ConfigSnapshot s = Coded();
    ConfigSnapshot otherUser = Coded({"731946", "1234", "9163", "7305", "6081"});
    for (const Case& c : cases) {
        SCOPED_TRACE(CodeFormName(c.form));
        Keys k;
        CodeKeys& keys = c.withPassphrase ? k.sealing : k.plain;
        const std::string text = StoredSnapshotText(s, c.form, keys);
        EXPECT_EQ(HoldsACode(text), c.codesInText);
        EXPECT_EQ(text.find(kPassphrase), std::string::npos);
        EXPECT_EQ(StoredCodeForm(text), c.form);

        const ConfigSnapshot back = SnapshotFromStoredText(text, &keys);
        for (int i = 1; i < kProgrammingSectionCount; ++i)
            EXPECT_EQ(back.sections[static_cast<size_t>(i)], s.sections[static_cast<size_t>(i)]);
        ASSERT_EQ(back.withheld.has_value(), c.withheldBecause != nullptr);
        if (back.withheld) {
            EXPECT_EQ(back.withheld->reason, c.withheldBecause);
            // The rights of each user stay in clear between the masked codes.
            EXPECT_EQ(back.sections[0], "******01****02****03****04****");
        } else {
            EXPECT_EQ(back.sections, s.sections);
        }
        // A code is compared by value or by its keyed hash, never lost.
        EXPECT_EQ(CompareCode(s, back, "Prog00_UserCode1"), CodeComparison::Same);
        EXPECT_EQ(CompareCode(otherUser, back, "Prog00_UserCode1"), CodeComparison::Changed);
        EXPECT_EQ(CompareCode(back, otherUser, "Prog00_Installer"), CodeComparison::Same);
    }
}

TEST(SnapshotCodes, AWrongPassphraseIsRefusedAndWithoutOneTheCodesAreWithheld) {
    Keys k;
    const std::string sealed = StoredSnapshotText(Coded(), CodeForm::Sealed, k.sealing);
    CodeKeys wrong("battery staple", k.dir.File("team.key"), DerivationCost::Least);
    EXPECT_THROW(SnapshotFromStoredText(sealed, &wrong), WrongPassphraseError);

    const ConfigSnapshot withheld = SnapshotFromStoredText(sealed, &k.plain);
    ASSERT_TRUE(withheld.withheld);
    EXPECT_EQ(withheld.withheld->reason, kNoPassphraseText);
    EXPECT_EQ(CompareCode(Coded(), withheld, "Prog00_Installer"), CodeComparison::Unknown);

    // The window asks only for a sealed file, and once while it remembers.
    int asked = 0;
    bool remember = true;
    CodeKeys window(std::nullopt, k.dir.File("team.key"), DerivationCost::Least);
    window.askPassphrase = [&](bool sealedFile) -> std::optional<PassphraseAnswer> {
        ++asked;
        EXPECT_TRUE(sealedFile);
        return PassphraseAnswer{kPassphrase, remember};
    };
    SnapshotFromStoredText(StoredSnapshotText(Coded(), CodeForm::Redacted, k.plain), &window);
    EXPECT_EQ(asked, 0);
    for (int twice = 0; twice < 2; ++twice)
        EXPECT_EQ(SnapshotFromStoredText(sealed, &window).sections, Coded().sections);
    EXPECT_EQ(asked, 1);
    // Told to remember nothing, it keeps the passphrase for one action only.
    remember = false;
    window.Forget();
    for (int action = 0; action < 2; ++action) {
        for (int twice = 0; twice < 2; ++twice) SnapshotFromStoredText(sealed, &window);
        window.EndUse();
    }
    EXPECT_EQ(asked, 3);

    // A sealed code moved onto another field does not open there.
    std::string swapped = sealed;
    const std::string installer = "\"Prog00_Installer\": \"";
    const std::string user = "\"Prog00_UserCode1\": \"";
    const size_t from = swapped.find(installer) + installer.size();
    const size_t to = swapped.find(user) + user.size();
    swapped.replace(to, swapped.find('"', to) - to,
                    swapped.substr(from, swapped.find('"', from) - from));
    EXPECT_THROW(SnapshotFromStoredText(swapped, &k.sealing), SnapshotError);
}

TEST(SnapshotCodes, AnOldFileReadsInClearAndIsProtectedWhenStoredAgain) {
    Keys k;
    ConfigSnapshot old = Coded();
    old.formatVersion = 1;
    const std::string text = SnapshotToJson(old);
    EXPECT_EQ(StoredCodeForm(text), CodeForm::Full);
    EXPECT_EQ(SnapshotFromStoredText(text, nullptr).sections, old.sections);

    const std::string protectedText = ProtectStoredText(text, k.plain);
    EXPECT_EQ(StoredCodeForm(protectedText), CodeForm::Redacted);
    EXPECT_FALSE(HoldsACode(protectedText));
    EXPECT_EQ(ProtectStoredText(protectedText, k.sealing), protectedText);
    EXPECT_EQ(StoredCodeForm(ProtectStoredText(text, k.sealing)), CodeForm::Sealed);
}

// A section write keeps its codes out of the log row, check bytes included.
TEST(SnapshotCodes, ASectionWriteIsLoggedWithoutItsCodes) {
    const CommandEntry write = WriteSectionRequest(0, Coded().sections[0]);
    EXPECT_TRUE(HoldsACode(write.frame));
    EXPECT_FALSE(HoldsACode(write.Logged()));
    EXPECT_EQ(write.Logged(),
              "7E**8201118209"
              "00"
              "******01****02****03****04******7E");
    EXPECT_EQ(WriteSectionRequest(4, kSampleBodies[4]).Logged(),
              WriteSectionRequest(4, kSampleBodies[4]).frame);
}

TEST(TeamKey, IsMadeOnceReadableByItsOwnerAloneAndADamagedOneIsRefused) {
    TempDir dir;
    const std::string path = dir.File("config/tarnwick/team.key");
    const SecretKey first = LoadOrMakeTeamKey(path);
    EXPECT_EQ(LoadOrMakeTeamKey(path), first);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(dir.File("config/tarnwick").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::ofstream(path) << "short\n";
    EXPECT_THROW(LoadOrMakeTeamKey(path), SealingError);
}

}  // namespace
}  // namespace tarnwick::testing

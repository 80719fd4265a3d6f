#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "storage/sealing.h"

namespace tarnwick {

// The installer code, the user codes and any password a snapshot carries
// never rest in clear unless the operator asks for it. A stored snapshot
// keeps them in one of three forms; everything else stays in clear, so that
// stored snapshots stay comparable line by line.
enum class CodeForm {
    Sealed,    // each code sealed with a key derived from a passphrase
    Redacted,  // each code a marker ("*" digits) and a keyed hash
    Full,      // in clear: only when the operator asks (--with-codes)
};

// "sealed", "redacted", "full": the name the files and the JSON output use.
const char* CodeFormName(CodeForm form);

// Where the window and tarnwick-cli take a passphrase from when none is typed.
inline constexpr const char* kPassphraseVariable = "TARNWICK_PASSPHRASE";

// The passphrase as the operator typed it when asked, and whether this run
// may keep it.
struct PassphraseAnswer {
    std::string passphrase;
    bool remember = true;
};

// What one run holds to keep codes: the passphrase (given, or asked for once
// when first needed), the key derived from it, and the team key (made on
// first use). Safe to share between threads.
class CodeKeys {
  public:
    explicit CodeKeys(std::optional<std::string> passphrase, std::string teamKeyPath,
                      DerivationCost cost = DerivationCost::Interactive);

    // Asks the operator; nullopt when they give none. `sealedFile`: asked to
    // open a sealed file rather than to seal.
    std::function<std::optional<PassphraseAnswer>(bool sealedFile)> askPassphrase;

    // Sealed when a passphrase is at hand (asking once per run), else redacted.
    CodeForm DefaultForm();
    // The passphrase: given, remembered, or asked for. To seal it is asked
    // once per run; to open a sealed file, whenever none is remembered. One
    // the operator asked not to remember serves until EndUse.
    std::optional<std::string> Passphrase(bool sealedFile);
    // A passphrase that opened nothing is forgotten, and asked for again.
    void Forget();
    // The end of one action: a passphrase the operator asked this run not to
    // remember is forgotten now, with the keys derived from it.
    void EndUse();
    // The derivation new snapshots are sealed under (one per run) and its key.
    std::pair<KeyDerivation, SecretKey> SealingKey(const std::string& passphrase);
    // The key of `passphrase` under a stored derivation.
    SecretKey KeyFor(const std::string& passphrase, const KeyDerivation& derivation);
    // The key of the keyed hashes: from the team key. Made on first use when
    // `make`; nullopt when not made and not to be made.
    std::optional<SecretKey> FingerprintKey(bool make);

  private:
    std::mutex mutex_;
    std::optional<std::string> passphrase_;
    bool transient_ = false;  // kept only until EndUse
    bool declined_ = false;
    std::string teamKeyPath_;
    DerivationCost cost_;
    std::optional<std::pair<KeyDerivation, SecretKey>> sealing_;
    std::string sealingPassphrase_;
    std::map<std::pair<std::string, std::string>, SecretKey> derived_;
    std::optional<SecretKey> fingerprint_;
};

}  // namespace tarnwick

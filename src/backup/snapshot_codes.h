#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backup/config_snapshot.h"
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

inline constexpr const char* kChangedCodeText = "已更改";
inline constexpr const char* kUncomparedCodeText = "无法比较";
inline constexpr const char* kCodesNotStoredText = "备份中不含密码";
inline constexpr const char* kNoPassphraseText = "未提供口令，备份中的密码无法解密";
inline constexpr const char* kWrongPassphraseText =
    "口令不对：配置文件中的密码无法解密，未做任何改动";
inline constexpr const char* kWithCodesWarning =
    "警告：备份文件中含有明文的安装员密码和用户密码，得到文件的人可以撤防，请妥善保管。";

// A sealed file whose passphrase is not the one given.
class WrongPassphraseError : public SnapshotError {
  public:
    using SnapshotError::SnapshotError;
};

// One field of a snapshot that holds a code: its key, where its digits
// stand in a section body (section -1 for a module setting, kept by its key
// alone), and what the operator calls it.
struct SnapshotSecret {
    std::string key;
    int section = -1;
    size_t position = 0;
    size_t width = 0;
    std::string kind;
};

// Every code a snapshot may carry, from the field descriptions.
const std::vector<SnapshotSecret>& SnapshotSecrets();
bool IsSecretKey(std::string_view key);

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
    // once per run; to open a sealed file, whenever none is remembered.
    std::optional<std::string> Passphrase(bool sealedFile);
    // A passphrase that opened nothing is forgotten, and asked for again.
    void Forget();
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
    bool declined_ = false;
    std::string teamKeyPath_;
    DerivationCost cost_;
    std::optional<std::pair<KeyDerivation, SecretKey>> sealing_;
    std::string sealingPassphrase_;
    std::map<std::pair<std::string, std::string>, SecretKey> derived_;
    std::optional<SecretKey> fingerprint_;
};

// The one place a snapshot becomes what is stored (files, archive rows,
// copies): its codes sealed, redacted or in clear. A snapshot whose codes
// were withheld keeps them withheld. Throws SnapshotError when the keys
// cannot be had (no passphrase to seal with, a team key that cannot be made).
std::string StoredSnapshotText(const ConfigSnapshot& snapshot, CodeForm form, CodeKeys& keys);

// A stored snapshot read back. Sealed codes are opened with the passphrase
// (`keys`, asked for when none is at hand); without one they are withheld.
// Throws WrongPassphraseError (kWrongPassphraseText) before anything is
// done, and for whatever SnapshotFromJson refuses.
ConfigSnapshot SnapshotFromStoredText(const std::string& text, CodeKeys* keys);

// How a stored text keeps its codes (Full for a file of an earlier version);
// nullopt when it is no snapshot.
std::optional<CodeForm> StoredCodeForm(const std::string& text);

// A stored text whose codes are in clear, sealed or redacted as `keys` make
// by default; any other text as it is. Throws SnapshotError.
std::string ProtectStoredText(const std::string& text, CodeKeys& keys);

// Whether the code under `key` is the same in both snapshots, by value or by
// keyed hash; Unknown when neither can tell.
enum class CodeComparison { Same, Changed, Unknown };
CodeComparison CompareCode(const ConfigSnapshot& a, const ConfigSnapshot& b,
                           const std::string& key);

// Gives each code `target` withholds the value `source` holds in clear (a
// restore leaves the host's codes as they are). Returns what the operator
// calls the codes that may differ from the file's, once each, in order.
std::vector<std::string> FillWithheldCodes(ConfigSnapshot& target, const ConfigSnapshot& source);

}  // namespace tarnwick

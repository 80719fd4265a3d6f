#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backup/code_keys.h"
#include "backup/config_snapshot.h"
#include "storage/sealing.h"

namespace tarnwick {

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

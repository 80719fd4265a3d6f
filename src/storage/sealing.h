#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnwick {

// Keeping short secrets at rest (libsodium): a key derived from a passphrase
// with Argon2id seals a text with XChaCha20-Poly1305, and a keyed hash
// (HMAC-SHA-256) tells a changed secret from an unchanged one without
// holding it. Everything stored is URL-safe base64 without padding.

// A key or parameters that cannot be used, a team key that cannot be made.
class SealingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using SecretKey = std::array<unsigned char, 32>;

// How a key was derived from a passphrase; stored beside what it sealed.
struct KeyDerivation {
    std::string salt;  // base64 of 16 random bytes
    unsigned long long opsLimit = 0;
    size_t memLimit = 0;
    bool operator==(const KeyDerivation&) const = default;
};

// How hard a new derivation is: the interactive limits (64 MiB), or the
// least libsodium allows, which only the tests use.
enum class DerivationCost { Interactive, Least };

// A new derivation with a random salt.
KeyDerivation NewKeyDerivation(DerivationCost cost = DerivationCost::Interactive);

// The key of `passphrase` under `derivation`. Throws SealingError for a
// salt that is not 16 bytes or limits outside what this build accepts (a
// file cannot make it spend more than 1 GiB).
SecretKey DeriveKey(std::string_view passphrase, const KeyDerivation& derivation);

// `plain` sealed under `key`, bound to `associated` (what it belongs to):
// a random nonce, then the cipher text with its tag.
std::string SealText(const SecretKey& key, std::string_view plain, std::string_view associated);
// The text back; nullopt for a wrong key, another `associated` or a
// damaged text.
std::optional<std::string> OpenText(const SecretKey& key, std::string_view sealed,
                                    std::string_view associated);

// The keyed hash of `text`.
std::string KeyedHash(const SecretKey& key, std::string_view text);
// A short name of a key that gives nothing of it away: which key made a
// keyed hash.
std::string KeyName(const SecretKey& key);
// Another key made from `key` for one purpose, so that one key never
// serves two.
SecretKey SubKey(const SecretKey& key, std::string_view purpose);

// $XDG_CONFIG_HOME/tarnwick/team.key, else ~/.config/tarnwick/team.key;
// empty text without a home folder.
std::string TeamKeyPath();
// The team key kept in `path`: 32 random bytes, made on first use (the
// folder too) readable and writable by its owner alone. Two programs making
// it at once end with the same key. Throws SealingError naming the path.
SecretKey LoadOrMakeTeamKey(const std::string& path);

}  // namespace tarnwick

#include "storage/sealing.h"

#include <sodium.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "storage/data_locations.h"
#include "storage/replacement_file.h"
#include "storage/small_file.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

constexpr int kBase64 = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
// What a stored derivation may ask for at most: a file must not make the
// tool spend more than this.
constexpr unsigned long long kMaxOpsLimit = 16;
constexpr size_t kMaxMemLimit = size_t{1} << 30;
constexpr size_t kMaxTeamKeyFileBytes = 1024;

void Initialise() {
    if (sodium_init() < 0) throw SealingError("libsodium 无法初始化");
}

using Bytes = std::vector<unsigned char>;

std::string Encode(const unsigned char* data, size_t size) {
    std::string text(sodium_base64_ENCODED_LEN(size, kBase64), '\0');
    sodium_bin2base64(text.data(), text.size(), data, size, kBase64);
    text.resize(text.find('\0'));
    return text;
}

std::optional<Bytes> Decode(std::string_view text) {
    Bytes bytes(text.size());
    size_t size = 0;
    const char* end = nullptr;
    if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &size,
                          &end, kBase64) != 0 ||
        end != text.data() + text.size())
        return std::nullopt;
    bytes.resize(size);
    return bytes;
}

const unsigned char* Data(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

KeyDerivation NewKeyDerivation(DerivationCost cost) {
    Initialise();
    unsigned char salt[crypto_pwhash_SALTBYTES];
    randombytes_buf(salt, sizeof salt);
    const bool least = cost == DerivationCost::Least;
    return {Encode(salt, sizeof salt),
            least ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
            least ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

SecretKey DeriveKey(std::string_view passphrase, const KeyDerivation& d) {
    Initialise();
    const std::optional<Bytes> salt = Decode(d.salt);
    if (!salt || salt->size() != crypto_pwhash_SALTBYTES)
        throw SealingError("密钥参数有误：salt 不是16字节");
    if (d.opsLimit < crypto_pwhash_OPSLIMIT_MIN || d.opsLimit > kMaxOpsLimit ||
        d.memLimit < crypto_pwhash_MEMLIMIT_MIN || d.memLimit > kMaxMemLimit)
        throw SealingError("密钥参数有误：opslimit 或 memlimit 超出范围");
    SecretKey key{};
    if (crypto_pwhash(key.data(), key.size(), passphrase.data(), passphrase.size(), salt->data(),
                      d.opsLimit, d.memLimit, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw SealingError("由口令生成密钥时内存不足");
    return key;
}

std::string SealText(const SecretKey& key, std::string_view plain, std::string_view associated) {
    Initialise();
    Bytes out(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + plain.size() +
              crypto_aead_xchacha20poly1305_ietf_ABYTES);
    unsigned char* nonce = out.data();
    randombytes_buf(nonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    unsigned long long sealedSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, &sealedSize, Data(plain),
        plain.size(), Data(associated), associated.size(), nullptr, nonce, key.data());
    return Encode(out.data(), out.size());
}

std::optional<std::string> OpenText(const SecretKey& key, std::string_view sealed,
                                    std::string_view associated) {
    Initialise();
    const std::optional<Bytes> in = Decode(sealed);
    constexpr size_t kOverhead =
        crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + crypto_aead_xchacha20poly1305_ietf_ABYTES;
    if (!in || in->size() < kOverhead) return std::nullopt;
    std::string plain(in->size() - kOverhead, '\0');
    unsigned long long size = 0;
    const unsigned char* nonce = in->data();
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(plain.data()), &size, nullptr,
            nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES,
            in->size() - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, Data(associated),
            associated.size(), nonce, key.data()) != 0)
        return std::nullopt;
    plain.resize(size);
    return plain;
}

std::string KeyedHash(const SecretKey& key, std::string_view text) {
    Initialise();
    unsigned char hash[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, key.data(), key.size());
    crypto_auth_hmacsha256_update(&state, Data(text), text.size());
    crypto_auth_hmacsha256_final(&state, hash);
    return Encode(hash, sizeof hash);
}

std::string KeyName(const SecretKey& key) {
    return KeyedHash(key, "tarnwick key name").substr(0, 12);
}

SecretKey SubKey(const SecretKey& key, std::string_view purpose) {
    Initialise();
    SecretKey sub{};
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, key.data(), key.size());
    crypto_auth_hmacsha256_update(&state, Data(purpose), purpose.size());
    crypto_auth_hmacsha256_final(&state, sub.data());
    return sub;
}

std::string TeamKeyPath() {
    const DataLocationInputs inputs = ThisProgramsInputs();
    if (fs::path(inputs.configHome).is_absolute())
        return (fs::path(inputs.configHome) / "tarnwick" / "team.key").string();
    if (fs::path(inputs.home).is_absolute())
        return (fs::path(inputs.home) / ".config" / "tarnwick" / "team.key").string();
    return {};
}

namespace {

std::optional<SecretKey> ReadTeamKey(const std::string& path) {
    std::string text;
    try {
        text = ReadSmallFile(path, kMaxTeamKeyFileBytes);
    } catch (const FileReadError& e) {
        if (e.What() == FileReadError::Kind::CannotOpen && !fs::exists(path)) return std::nullopt;
        throw SealingError("团队密钥 " + path + " 无法读取：" + e.what());
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::optional<Bytes> bytes = Decode(text);
    SecretKey key{};
    if (!bytes || bytes->size() != key.size())
        throw SealingError("团队密钥 " + path + " 已损坏（应为32字节）");
    std::copy(bytes->begin(), bytes->end(), key.begin());
    return key;
}

}  // namespace

SecretKey LoadOrMakeTeamKey(const std::string& path) {
    Initialise();
    if (path.empty()) throw SealingError("没有主目录，无法保存团队密钥");
    if (const std::optional<SecretKey> kept = ReadTeamKey(path)) return *kept;
    std::error_code error;
    const fs::path folder = fs::path(path).parent_path();
    if (!fs::exists(folder, error)) {
        fs::create_directories(folder, error);
        if (!error) ::chmod(folder.c_str(), 0700);
    }
    SecretKey key{};
    randombytes_buf(key.data(), key.size());
    try {
        ReplacementFile file(path, FileAccess::OwnerOnly);
        file.Write(Encode(key.data(), key.size()) + "\n");
        // Another program that made it first wins: both then use its key.
        if (!file.CommitIfAbsent()) {
            if (const std::optional<SecretKey> first = ReadTeamKey(path)) return *first;
            throw SealingError("团队密钥 " + path + " 无法读取");
        }
    } catch (const FileWriteError& e) {
        throw SealingError("团队密钥 " + path + " 无法写入：" + e.what());
    }
    return key;
}

}  // namespace tarnwick

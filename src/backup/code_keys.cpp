#include "backup/code_keys.h"

#include <filesystem>

namespace tarnwick {
namespace {

constexpr const char* kFingerprintPurpose = "tarnwick snapshot code hashes";

}  // namespace

const char* CodeFormName(CodeForm form) {
    switch (form) {
        case CodeForm::Sealed:
            return "sealed";
        case CodeForm::Redacted:
            return "redacted";
        case CodeForm::Full:
            break;
    }
    return "full";
}

CodeKeys::CodeKeys(std::optional<std::string> passphrase, std::string teamKeyPath,
                   DerivationCost cost)
    : teamKeyPath_(std::move(teamKeyPath)), cost_(cost) {
    if (passphrase && !passphrase->empty()) passphrase_ = std::move(passphrase);
}

CodeForm CodeKeys::DefaultForm() {
    return Passphrase(false) ? CodeForm::Sealed : CodeForm::Redacted;
}

std::optional<std::string> CodeKeys::Passphrase(bool sealedFile) {
    std::lock_guard lock(mutex_);
    if (passphrase_ || !askPassphrase || (declined_ && !sealedFile)) return passphrase_;
    const std::optional<PassphraseAnswer> answer = askPassphrase(sealedFile);
    if (!answer || answer->passphrase.empty()) {
        declined_ = true;
        return std::nullopt;
    }
    passphrase_ = answer->passphrase;
    transient_ = !answer->remember;
    return passphrase_;
}

void CodeKeys::Forget() {
    std::lock_guard lock(mutex_);
    passphrase_.reset();
    transient_ = false;
    declined_ = false;
    sealing_.reset();
    derived_.clear();
}

void CodeKeys::EndUse() {
    bool transient = false;
    {
        std::lock_guard lock(mutex_);
        transient = transient_;
    }
    if (transient) Forget();
}

std::pair<KeyDerivation, SecretKey> CodeKeys::SealingKey(const std::string& passphrase) {
    std::lock_guard lock(mutex_);
    if (!sealing_ || sealingPassphrase_ != passphrase) {
        KeyDerivation derivation = NewKeyDerivation(cost_);
        sealing_ = {derivation, DeriveKey(passphrase, derivation)};
        sealingPassphrase_ = passphrase;
    }
    return *sealing_;
}

SecretKey CodeKeys::KeyFor(const std::string& passphrase, const KeyDerivation& derivation) {
    std::lock_guard lock(mutex_);
    const auto id =
        std::pair(passphrase, derivation.salt + ":" + std::to_string(derivation.opsLimit) + ":" +
                                  std::to_string(derivation.memLimit));
    if (const auto found = derived_.find(id); found != derived_.end()) return found->second;
    const SecretKey key = DeriveKey(passphrase, derivation);
    derived_.emplace(id, key);
    return key;
}

std::optional<SecretKey> CodeKeys::FingerprintKey(bool make) {
    std::lock_guard lock(mutex_);
    if (fingerprint_) return fingerprint_;
    std::error_code error;
    if (!make && (teamKeyPath_.empty() || !std::filesystem::exists(teamKeyPath_, error)))
        return std::nullopt;
    fingerprint_ = SubKey(LoadOrMakeTeamKey(teamKeyPath_), kFingerprintPurpose);
    return fingerprint_;
}

}  // namespace tarnwick

#include "backup/snapshot_codes.h"

#include <algorithm>

#include "backup/snapshot_json.h"
#include "modules/gprs_fields.h"
#include "programming/programming_layout.h"
#include "protocol/name_value_list.h"

namespace tarnwick {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr const char* kSealedForm = "sealed";
constexpr const char* kRedactedForm = "redacted";
constexpr const char* kFullForm = "full";
// Sealed under the key with the codes: a wrong passphrase is known before
// any code is opened, also in a file that holds none.
constexpr const char* kCheckText = "tarnwick";
constexpr const char* kCheckBinding = "check";

std::vector<SnapshotSecret> DescribeSecrets() {
    std::vector<SnapshotSecret> secrets;
    for (int section = 0; section < kProgrammingSectionCount; ++section)
        for (const SectionField& f : ProgrammingSection(section).entries)
            if (!f.secret.empty())
                secrets.push_back(
                    {std::string(f.key), section, f.position, f.width, std::string(f.secret)});
    // A module password that a reply stores is a code of the snapshot too.
    for (const GprsField& f : GprsFields())
        if (f.secret && !f.key.empty()) secrets.push_back({f.key, -1, 0, 0, "GPRS密码"});
    return secrets;
}

const SnapshotSecret* SecretOf(std::string_view key) {
    for (const SnapshotSecret& secret : SnapshotSecrets())
        if (SameName(secret.key, std::string(key))) return &secret;
    return nullptr;
}

// The code's digits as the snapshot holds them; nullopt when it holds none.
std::optional<std::string> CodeDigits(const ConfigSnapshot& s, const SnapshotSecret& secret) {
    if (secret.section >= 0) {
        const std::string& body = s.sections[static_cast<size_t>(secret.section)];
        if (body.size() < secret.position - 1 + secret.width) return std::nullopt;
        return body.substr(secret.position - 1, secret.width);
    }
    for (const auto& [key, value] : s.keys)
        if (SameName(key, secret.key)) return value;
    return std::nullopt;
}

// Puts `digits` wherever the code stands: its section body, the whole
// section keys over it, and its own key.
void SetCodeDigits(ConfigSnapshot& s, const SnapshotSecret& secret, const std::string& digits) {
    if (secret.section >= 0) {
        std::string& body = s.sections[static_cast<size_t>(secret.section)];
        if (body.size() >= secret.position - 1 + secret.width)
            body.replace(secret.position - 1, secret.width, digits);
        for (const SectionField& whole : ProgrammingSection(secret.section).entries) {
            if (whole.kind != FieldKind::Section || secret.position < whole.position ||
                secret.position + secret.width - 1 > whole.End())
                continue;
            for (auto& [key, value] : s.keys)
                if (SameName(key, std::string(whole.key)) &&
                    value.size() >= secret.position - whole.position + secret.width)
                    value.replace(secret.position - whole.position, secret.width, digits);
        }
    }
    for (auto& [key, value] : s.keys)
        if (SameName(key, secret.key)) value = digits;
}

std::string Binding(const ConfigSnapshot& s, const std::string& key) {
    return s.host + "\n" + key;
}

std::string Fingerprint(const SecretKey& key, const std::string& name, const std::string& value) {
    return KeyedHash(key, name + "\n" + value);
}

OrderedJson SealCodes(ConfigSnapshot& s, CodeKeys& keys) {
    const std::optional<std::string> passphrase = keys.Passphrase(false);
    if (!passphrase) throw SnapshotError("没有口令，无法加密配置中的密码");
    const auto [derivation, key] = keys.SealingKey(*passphrase);
    OrderedJson codes = {{"form", kSealedForm},
                         {"kdf",
                          {{"algorithm", "argon2id13"},
                           {"salt", derivation.salt},
                           {"opsLimit", derivation.opsLimit},
                           {"memLimit", derivation.memLimit}}},
                         {"aead", "xchacha20poly1305-ietf"},
                         {"check", SealText(key, kCheckText, kCheckBinding)}};
    codes["fields"] = OrderedJson::object();
    for (const SnapshotSecret& secret : SnapshotSecrets())
        if (const std::optional<std::string> digits = CodeDigits(s, secret)) {
            codes["fields"][secret.key] = SealText(key, *digits, Binding(s, secret.key));
            SetCodeDigits(s, secret, std::string(digits->size(), kCodeMask));
        }
    return codes;
}

OrderedJson RedactCodes(ConfigSnapshot& s, CodeKeys& keys) {
    const std::optional<SecretKey> key = keys.FingerprintKey(true);
    OrderedJson codes = {
        {"form", kRedactedForm}, {"hash", "hmac-sha256"}, {"keyName", KeyName(*key)}};
    codes["fields"] = OrderedJson::object();
    for (const SnapshotSecret& secret : SnapshotSecrets())
        if (const std::optional<std::string> digits = CodeDigits(s, secret)) {
            codes["fields"][secret.key] = Fingerprint(*key, secret.key, *digits);
            SetCodeDigits(s, secret, std::string(digits->size(), kCodeMask));
        }
    return codes;
}

// A snapshot that never held its codes keeps what it knows of them.
OrderedJson WithheldStill(const WithheldCodes& withheld) {
    OrderedJson codes = {{"form", kRedactedForm}, {"hash", "hmac-sha256"}};
    codes["keyName"] = withheld.keyName;
    codes["fields"] = OrderedJson::object();
    for (const auto& [key, hash] : withheld.fingerprints) codes["fields"][key] = hash;
    return codes;
}

KeyDerivation StoredDerivation(const Json& kdf) {
    try {
        return {kdf.at("salt").get<std::string>(), kdf.at("opsLimit").get<unsigned long long>(),
                kdf.at("memLimit").get<size_t>()};
    } catch (const Json::exception&) {
        throw SnapshotError("配置文件的密钥参数不完整");
    }
}

std::string TextAt(const Json& object, const char* name) {
    if (!object.is_object() || !object.contains(name) || !object[name].is_string())
        throw SnapshotError(std::string("配置文件的密码部分缺少 ") + name);
    return object[name].get<std::string>();
}

// The codes of a sealed file opened with `passphrase`, put in their places.
void OpenCodes(ConfigSnapshot& s, const Json& codes, CodeKeys& keys,
               const std::string& passphrase) {
    SecretKey key{};
    try {
        key = keys.KeyFor(passphrase, StoredDerivation(codes.at("kdf")));
    } catch (const SealingError& e) {
        throw SnapshotError(e.what());
    }
    if (!OpenText(key, TextAt(codes, "check"), kCheckBinding))
        throw WrongPassphraseError(kWrongPassphraseText);
    const Json& fields = codes.contains("fields") ? codes["fields"] : Json::object();
    for (const auto& [name, sealed] : fields.items()) {
        const SnapshotSecret* secret = SecretOf(name);
        const std::optional<std::string> digits =
            secret && sealed.is_string()
                ? OpenText(key, sealed.get<std::string>(), Binding(s, secret->key))
                : std::nullopt;
        if (!digits || (secret->section >= 0 && digits->size() != secret->width))
            throw SnapshotError("配置文件中的密码“" + name + "”已损坏");
        SetCodeDigits(s, *secret, *digits);
    }
    for (const std::string& body : s.sections)
        if (body.find(kCodeMask) != std::string::npos)
            throw SnapshotError("配置文件中的密码不完整");
}

WithheldCodes Withhold(const ConfigSnapshot& s, const Json& codes, CodeKeys* keys, bool redacted) {
    WithheldCodes w;
    w.reason = redacted ? kCodesNotStoredText : kNoPassphraseText;
    for (const SnapshotSecret& secret : SnapshotSecrets())
        if (CodeDigits(s, secret)) w.keys.push_back(secret.key);
    if (!redacted) return w;
    w.keyName = TextAt(codes, "keyName");
    if (codes.contains("fields") && codes["fields"].is_object())
        for (const auto& [name, hash] : codes["fields"].items())
            if (hash.is_string()) w.fingerprints[name] = hash.get<std::string>();
    const std::optional<SecretKey> key = keys ? keys->FingerprintKey(false) : std::nullopt;
    if (key && KeyName(*key) == w.keyName)
        w.fingerprint = [k = *key](const std::string& name, const std::string& value) {
            return Fingerprint(k, name, value);
        };
    return w;
}

std::string FormOf(const Json& j) {
    if (!j.contains("codes")) return kFullForm;
    return TextAt(j["codes"], "form");
}

}  // namespace

const std::vector<SnapshotSecret>& SnapshotSecrets() {
    static const std::vector<SnapshotSecret> secrets = DescribeSecrets();
    return secrets;
}

bool IsSecretKey(std::string_view key) {
    return SecretOf(key) != nullptr;
}

std::string StoredSnapshotText(const ConfigSnapshot& snapshot, CodeForm form, CodeKeys& keys) {
    ConfigSnapshot s = snapshot;
    s.formatVersion = kSnapshotFormatVersion;
    OrderedJson codes = {{"form", kFullForm}};
    try {
        if (s.withheld)
            codes = WithheldStill(*s.withheld);
        else if (form == CodeForm::Sealed)
            codes = SealCodes(s, keys);
        else if (form == CodeForm::Redacted)
            codes = RedactCodes(s, keys);
    } catch (const SealingError& e) {
        throw SnapshotError(e.what());
    }
    return SnapshotDocument(s, codes).dump(2) + "\n";
}

ConfigSnapshot SnapshotFromStoredText(const std::string& text, CodeKeys* keys) {
    const Json j = ParseSnapshotText(text);
    const std::string form = FormOf(j);
    if (form == kFullForm) return SnapshotFromDocument(j, false);
    if (form != kSealedForm && form != kRedactedForm)
        throw SnapshotError("配置文件的密码形式“" + form + "”不受支持");
    ConfigSnapshot s = SnapshotFromDocument(j, true);
    const bool sealed = form == kSealedForm;
    const std::optional<std::string> passphrase =
        sealed && keys ? keys->Passphrase(true) : std::nullopt;
    if (passphrase) {
        OpenCodes(s, j["codes"], *keys, *passphrase);
        return s;
    }
    try {
        s.withheld = Withhold(s, j["codes"], keys, !sealed);
    } catch (const SealingError&) {
        // A team key that cannot be read only keeps the hashes from being compared.
        s.withheld = Withhold(s, j["codes"], nullptr, !sealed);
    }
    return s;
}

std::optional<CodeForm> StoredCodeForm(const std::string& text) {
    try {
        const std::string form = FormOf(ParseSnapshotText(text));
        for (const CodeForm known : {CodeForm::Sealed, CodeForm::Redacted, CodeForm::Full})
            if (form == CodeFormName(known)) return known;
    } catch (const SnapshotError&) {
    }
    return std::nullopt;
}

std::string ProtectStoredText(const std::string& text, CodeKeys& keys) {
    if (StoredCodeForm(text) != CodeForm::Full) return text;
    return StoredSnapshotText(SnapshotFromStoredText(text, nullptr), keys.DefaultForm(), keys);
}

namespace {

// The code in clear; nullopt when the snapshot withholds it.
std::optional<std::string> ClearCode(const ConfigSnapshot& s, const std::string& key) {
    if (s.withheld && std::count(s.withheld->keys.begin(), s.withheld->keys.end(), key))
        return std::nullopt;
    const SnapshotSecret* secret = SecretOf(key);
    return secret ? CodeDigits(s, *secret).value_or("") : std::string();
}

std::optional<std::string> HashOf(const ConfigSnapshot& s, const std::string& key) {
    if (!s.withheld) return std::nullopt;
    const auto found = s.withheld->fingerprints.find(key);
    if (found == s.withheld->fingerprints.end()) return std::nullopt;
    return found->second;
}

}  // namespace

CodeComparison CompareCode(const ConfigSnapshot& a, const ConfigSnapshot& b,
                           const std::string& key) {
    const std::optional<std::string> clearA = ClearCode(a, key);
    const std::optional<std::string> clearB = ClearCode(b, key);
    const auto same = [](bool equal) {
        return equal ? CodeComparison::Same : CodeComparison::Changed;
    };
    if (clearA && clearB) return same(*clearA == *clearB);
    const std::optional<std::string> hashA = HashOf(a, key);
    const std::optional<std::string> hashB = HashOf(b, key);
    if (hashA && hashB && a.withheld->keyName == b.withheld->keyName) return same(*hashA == *hashB);
    if (clearA && hashB && b.withheld->fingerprint)
        return same(b.withheld->fingerprint(key, *clearA) == *hashB);
    if (clearB && hashA && a.withheld->fingerprint)
        return same(a.withheld->fingerprint(key, *clearB) == *hashA);
    return CodeComparison::Unknown;
}

std::vector<std::string> FillWithheldCodes(ConfigSnapshot& target, const ConfigSnapshot& source) {
    std::vector<std::string> leftOut;
    if (!target.withheld) return leftOut;
    for (const std::string& key : target.withheld->keys) {
        const SnapshotSecret* secret = SecretOf(key);
        const std::optional<std::string> value = ClearCode(source, key);
        if (!secret || !value) continue;
        const bool same = CompareCode(source, target, key) == CodeComparison::Same;
        if (!same && std::find(leftOut.begin(), leftOut.end(), secret->kind) == leftOut.end())
            leftOut.push_back(secret->kind);
        SetCodeDigits(target, *secret, *value);
    }
    target.withheld.reset();
    return leftOut;
}

}  // namespace tarnwick

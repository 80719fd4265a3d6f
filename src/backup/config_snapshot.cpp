#include "backup/config_snapshot.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <nlohmann/json.hpp>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "backup/snapshot_json.h"
#include "hosts/data_module.h"
#include "programming/programming_requests.h"

namespace tarnwick {

namespace {

// The keys where the decoders leave the host's model and its communication
// module's version.
constexpr const char* kModelKey = "HostModel";
constexpr const char* kModuleVersionKey = "GprsKERNELVer";

void RunRead(DataModule& tdm, const CommandEntry& entry) {
    std::string result;
    try {
        result = tdm.exchanger.Exchange(entry).text;
    } catch (const std::exception& e) {
        throw SnapshotError(entry.pair + ": " + e.what());
    }
    if (result.empty()) throw SnapshotError(entry.pair + ": 主机无应答");
}

std::string Field(const nlohmann::json& j, const char* name) {
    if (!j.contains(name) || !j[name].is_string())
        throw SnapshotError(std::string("配置文件缺少字段 ") + name);
    return j[name].get<std::string>();
}

}  // namespace

CommandList MergeReadLists(const std::vector<CommandList>& lists) {
    CommandList merged;
    for (const CommandList& list : lists)
        for (const CommandEntry& entry : list) {
            const bool seen = std::any_of(merged.begin(), merged.end(), [&](const CommandEntry& m) {
                return m.frame == entry.frame;
            });
            if (!seen) merged.push_back(entry);
        }
    return merged;
}

ConfigSnapshot TakeSnapshot(DataModule& tdm, const CommandList& reads,
                            const std::string& installerCode, const std::string& toolVersion) {
    const std::string host = tdm.session.CurrentHost();
    if (host.empty()) throw SnapshotError("未选择主机");
    tdm.params.Clear();
    // The installer code comes first: nothing more is read from a host the
    // code does not open.
    const CommandEntry first = ReadSectionRequest(0);
    RunRead(tdm, first);
    if (tdm.params.Get(std::string(kInstallerCodeKey)) != installerCode)
        throw SnapshotError(host + ": 安装员密码有误");
    for (const CommandEntry& entry : reads)
        if (entry.frame != first.frame) RunRead(tdm, entry);

    ConfigSnapshot s;
    s.host = host;
    s.model = tdm.params.Get(kModelKey);
    s.moduleVersion = tdm.params.Get(kModuleVersionKey);
    s.time = tdm.clock.NowText();
    s.toolVersion = toolVersion;
    for (int i = 0; i < kProgrammingSectionCount; ++i) {
        s.sections[static_cast<size_t>(i)] = StoredSectionBody(tdm.params, i);
        if (s.sections[static_cast<size_t>(i)].empty())
            throw SnapshotError(host + ": 编程区" + SectionCode(i) + "未读到");
    }
    s.keys = tdm.params.Entries();
    return s;
}

nlohmann::ordered_json SnapshotDocument(const ConfigSnapshot& s,
                                        const nlohmann::ordered_json& codes) {
    nlohmann::ordered_json j;
    j["format"] = s.formatVersion;
    j["host"] = s.host;
    j["model"] = s.model;
    j["moduleVersion"] = s.moduleVersion;
    j["time"] = s.time;
    j["toolVersion"] = s.toolVersion;
    if (!codes.is_null()) j["codes"] = codes;
    for (int i = 0; i < kProgrammingSectionCount; ++i)
        j["sections"][SectionCode(i)] = s.sections[static_cast<size_t>(i)];
    // Appended in their order without the ordered object's look-up of each
    // name, which would take quadratic time over a hundred thousand keys.
    nlohmann::ordered_json::object_t keys;
    keys.reserve(s.keys.size());
    std::unordered_set<std::string_view> seen;
    for (const auto& [key, value] : s.keys)
        if (seen.insert(key).second) keys.emplace_back(key, value);
    j["keys"] = std::move(keys);
    return j;
}

std::string SnapshotToJson(const ConfigSnapshot& s) {
    return SnapshotDocument(s, nullptr).dump(2) + "\n";
}

nlohmann::json ParseSnapshotText(const std::string& text) {
    nlohmann::json j;
    try {
        j = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        throw SnapshotError(std::string("配置文件不是完整的JSON: ") + e.what());
    }
    if (!j.is_object()) throw SnapshotError("配置文件不是完整的JSON: 顶层不是对象");
    return j;
}

ConfigSnapshot SnapshotFromJson(const std::string& text) {
    return SnapshotFromDocument(ParseSnapshotText(text), false);
}

namespace {

// Hex digits, and where `masked` the "*" of a code's digits.
bool ValidBody(int section, const std::string& body, bool masked) {
    for (size_t p = 0; p < body.size(); ++p) {
        if (std::isxdigit(static_cast<unsigned char>(body[p]))) continue;
        if (!masked || body[p] != kCodeMask) return false;
        bool inCode = false;
        for (const SectionField& f : ProgrammingSection(section).entries)
            inCode = inCode || (!f.secret.empty() && p + 1 >= f.position && p + 1 <= f.End());
        if (!inCode) return false;
    }
    return true;
}

void ReadSections(const nlohmann::json& j, ConfigSnapshot& s, bool masked) {
    if (!j.contains("sections") || !j["sections"].is_object())
        throw SnapshotError("配置文件缺少字段 sections");
    const nlohmann::json& sections = j["sections"];
    for (int i = 0; i < kProgrammingSectionCount; ++i) {
        const std::string code = SectionCode(i);
        const std::string name = "编程区" + code;
        if (!sections.contains(code) || !sections[code].is_string())
            throw SnapshotError(name + ": 缺少内容");
        const std::string body = sections[code].get<std::string>();
        const size_t expected = ProgrammingSection(i).bodyDigits;
        if (body.size() != expected)
            throw SnapshotError(name + ": 长度" + std::to_string(body.size()) + "，应为" +
                                std::to_string(expected));
        if (!ValidBody(i, body, masked)) throw SnapshotError(name + ": 含有非十六进制字符");
        s.sections[static_cast<size_t>(i)] = body;
    }
}

}  // namespace

ConfigSnapshot SnapshotFromDocument(const nlohmann::json& j, bool masked) {
    if (!j.contains("format") || !j["format"].is_number_integer())
        throw SnapshotError("配置文件缺少字段 format");
    ConfigSnapshot s;
    s.formatVersion = j["format"].get<int>();
    if (s.formatVersion > kSnapshotFormatVersion || s.formatVersion < 1)
        throw SnapshotError("配置文件格式版本" + std::to_string(s.formatVersion) +
                            "不受支持（本程序支持至版本" + std::to_string(kSnapshotFormatVersion) +
                            "）");
    s.host = Field(j, "host");
    s.model = Field(j, "model");
    s.moduleVersion = Field(j, "moduleVersion");
    s.time = Field(j, "time");
    s.toolVersion = Field(j, "toolVersion");
    ReadSections(j, s, masked);
    if (!j.contains("keys") || !j["keys"].is_object()) throw SnapshotError("配置文件缺少字段 keys");
    if (j["keys"].size() > kMaxSnapshotKeys)
        throw SnapshotError("配置文件有" + std::to_string(j["keys"].size()) + "项设置，超过" +
                            std::to_string(kMaxSnapshotKeys) + "项，不是主机的配置");
    s.keys.reserve(j["keys"].size());
    for (const auto& [key, value] : j["keys"].items()) {
        if (!value.is_string()) throw SnapshotError("设置" + key + ": 值不是文本");
        s.keys.emplace_back(key, value.get<std::string>());
    }
    return s;
}

}  // namespace tarnwick

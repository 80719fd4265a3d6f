#include "storage/data_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#include "install_dirs.h"
#include "storage/small_file.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDatabaseFile = "db.mdb";
constexpr const char* kOutboxFile = "outbox.mdb";
constexpr const char* kSettingsFile = "tarnwick/tarnwick.conf";
constexpr const char* kDatabaseSetting = "database";

bool Absolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

// The user's data folder as the XDG base directories define it: a relative
// $XDG_DATA_HOME is ignored. Empty when there is none.
std::string UserDataFolder(const std::string& dataHome, const std::string& home) {
    if (Absolute(dataHome)) return dataHome;
    if (Absolute(home)) return (fs::path(home) / ".local/share").string();
    return {};
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string AccountHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    return found->pw_dir;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string SettingsFileProblem(const fs::path& settings, const FileReadError& e) {
    const std::string named = "设置文件“" + settings.string() + "”";
    const std::string ignored = "，已忽略，使用默认设置。";
    switch (e.What()) {
        case FileReadError::Kind::NotAFile:
            return named + "不是普通文件" + ignored;
        case FileReadError::Kind::TooLarge:
            return named + "超过" + std::to_string(kSettingsFileMaxBytes / 1024) + "KB" + ignored;
        case FileReadError::Kind::CannotOpen:
            break;
    }
    return named + "无法读取（" + e.what() + "）" + ignored;
}

// The database the settings file names, if any; `problem` says why a
// settings file that is there could not be read.
std::string DatabaseSetting(const DataLocationInputs& inputs, std::string& problem) {
    fs::path settings;
    if (Absolute(inputs.configHome))
        settings = fs::path(inputs.configHome) / kSettingsFile;
    else if (Absolute(inputs.home))
        settings = fs::path(inputs.home) / ".config" / kSettingsFile;
    else
        return {};
    std::error_code error;
    if (fs::symlink_status(settings, error).type() == fs::file_type::not_found) return {};
    try {
        return SettingValue(ReadSmallFile(settings.string(), kSettingsFileMaxBytes),
                            kDatabaseSetting);
    } catch (const FileReadError& e) {
        problem = SettingsFileProblem(settings, e);
        return {};
    }
}

// The database by the user's data folders alone.
void ChooseDefaultDatabase(const DataLocationInputs& inputs, DataLocations& chosen) {
    std::error_code error;
    const fs::path shared = (fs::path(inputs.programFolder) / inputs.sharedFromProgram);
    chosen.installed = Absolute(inputs.programFolder) && fs::is_directory(shared, error);
    if (!chosen.installed) {
        chosen.database = kDatabaseFile;
        chosen.pictures = inputs.sourcePictures;
        return;
    }
    chosen.pictures = (shared.lexically_normal() / "images").string();
    const std::string userData = UserDataFolder(inputs.dataHome, inputs.home);
    chosen.database = userData.empty() ? kDatabaseFile
                                       : (fs::path(userData) / "tarnwick" / kDatabaseFile).string();
}

}  // namespace

std::string SettingValue(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        const size_t equals = trimmed.find('=');
        if (equals != std::string::npos && Trimmed(trimmed.substr(0, equals)) == key)
            return Trimmed(trimmed.substr(equals + 1));
    }
    return {};
}

DataLocations ChooseDataLocations(const DataLocationInputs& inputs) {
    DataLocations chosen;
    ChooseDefaultDatabase(inputs, chosen);
    chosen.outbox = (fs::path(chosen.database).parent_path() / kOutboxFile).string();
    if (!inputs.databaseVariable.empty())
        chosen.database = inputs.databaseVariable;
    else if (std::string setting = DatabaseSetting(inputs, chosen.settingsProblem);
             !setting.empty())
        chosen.database = setting;
    return chosen;
}

DataLocationInputs ThisProgramsInputs() {
    DataLocationInputs inputs;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) inputs.programFolder = program.parent_path().string();
    inputs.sharedFromProgram = kSharedFromProgram;
    inputs.sourcePictures = kSourcePictures;
    inputs.dataHome = Environment("XDG_DATA_HOME");
    inputs.home = Environment("HOME");
    inputs.databaseVariable = Environment(kDatabaseVariable);
    inputs.configHome = Environment("XDG_CONFIG_HOME");
    if (inputs.home.empty()) inputs.home = AccountHome();
    return inputs;
}

}  // namespace tarnwick

#include "storage/data_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "install_dirs.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDatabaseFile = "db.mdb";

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

}  // namespace

DataLocations ChooseDataLocations(const DataLocationInputs& inputs) {
    DataLocations chosen;
    std::error_code error;
    const fs::path shared = (fs::path(inputs.programFolder) / inputs.sharedFromProgram);
    chosen.installed = Absolute(inputs.programFolder) && fs::is_directory(shared, error);
    if (!chosen.installed) {
        chosen.database = kDatabaseFile;
        chosen.pictures = inputs.sourcePictures;
        return chosen;
    }
    chosen.pictures = (shared.lexically_normal() / "images").string();
    const std::string userData = UserDataFolder(inputs.dataHome, inputs.home);
    chosen.database = userData.empty() ? kDatabaseFile
                                       : (fs::path(userData) / "tarnwick" / kDatabaseFile).string();
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
    if (inputs.home.empty()) inputs.home = AccountHome();
    return inputs;
}

}  // namespace tarnwick

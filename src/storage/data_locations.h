#pragma once
#include <cstddef>
#include <string>

namespace tarnwick {

// Where the window keeps its database and finds its pictures.
struct DataLocations {
    // Installed: the program folder has the shared data folder beside it.
    bool installed = false;
    // The db.mdb path or the team database's "postgresql://" address.
    std::string database;
    // Where a team database's writes wait while its server is away: beside
    // the db.mdb the window would keep otherwise.
    std::string outbox;
    std::string pictures;  // folder
    // Why the settings file could not be read (it is then left out and the
    // defaults are used); empty when it was read or there is none.
    std::string settingsProblem;
};

// What the choice depends on; ThisProgramsInputs() gathers it for this
// process, the tests give it made-up trees.
struct DataLocationInputs {
    std::string programFolder;      // folder of the running program
    std::string sharedFromProgram;  // the installed data folder, relative to programFolder
    std::string sourcePictures;     // the pictures of the sources the build came from
    std::string dataHome;           // $XDG_DATA_HOME
    std::string home;               // $HOME, else the account's home folder
    std::string databaseVariable;   // $TARNWICK_DATABASE
    std::string configHome;         // $XDG_CONFIG_HOME
};

inline constexpr const char* kDatabaseVariable = "TARNWICK_DATABASE";
// The settings file holds a line or two; a larger one is no settings file.
inline constexpr size_t kSettingsFileMaxBytes = 64 * 1024;

// The value of `key` in a settings file's text: lines "key = value", blanks
// around both left out, "#" lines skipped. Empty when the key is missing.
std::string SettingValue(const std::string& text, const std::string& key);

// Run from its build folder (./run.sh), the window keeps db.mdb in the
// working folder and takes its pictures from the sources. Installed, it
// keeps one database per user in the user's data folder
// ($XDG_DATA_HOME/tarnwick, else ~/.local/share/tarnwick) and takes its
// pictures from the shared data folder. Without a usable home folder the
// database stays in the working folder.
// A team database replaces that db.mdb when $TARNWICK_DATABASE names one, or
// else the line "database = ..." of the settings file
// ($XDG_CONFIG_HOME/tarnwick/tarnwick.conf, else ~/.config/tarnwick/...),
// read like every small file: a regular file of at most
// kSettingsFileMaxBytes (a pipe or a device is never waited on).
DataLocations ChooseDataLocations(const DataLocationInputs& inputs);

DataLocationInputs ThisProgramsInputs();

}  // namespace tarnwick

#pragma once
#include <string>

namespace tarnwick {

// Where the window keeps its database and finds its pictures.
struct DataLocations {
    // Installed: the program folder has the shared data folder beside it.
    bool installed = false;
    std::string database;
    std::string pictures;  // folder
};

// What the choice depends on; ThisProgramsInputs() gathers it for this
// process, the tests give it made-up trees.
struct DataLocationInputs {
    std::string programFolder;      // folder of the running program
    std::string sharedFromProgram;  // the installed data folder, relative to programFolder
    std::string sourcePictures;     // the pictures of the sources the build came from
    std::string dataHome;           // $XDG_DATA_HOME
    std::string home;               // $HOME, else the account's home folder
};

// Run from its build folder (./run.sh), the window keeps db.mdb in the
// working folder and takes its pictures from the sources. Installed, it
// keeps one database per user in the user's data folder
// ($XDG_DATA_HOME/tarnwick, else ~/.local/share/tarnwick) and takes its
// pictures from the shared data folder. Without a usable home folder the
// database stays in the working folder.
DataLocations ChooseDataLocations(const DataLocationInputs& inputs);

DataLocationInputs ThisProgramsInputs();

}  // namespace tarnwick

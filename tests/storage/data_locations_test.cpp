#include "storage/data_locations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/temp_dir.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

// An unpacked install: usr/bin beside usr/share/tarnwick/images.
struct InstalledTree {
    testing::TempDir dir;
    std::string bin = (dir.Path() / "usr/bin").string();
    std::string shared = (dir.Path() / "usr/share/tarnwick").string();
    InstalledTree() {
        fs::create_directories(bin);
        fs::create_directories(shared + "/images");
    }
};

DataLocationInputs Inputs(const std::string& programFolder, const std::string& dataHome,
                          const std::string& home) {
    return {programFolder, "../share/tarnwick", "/src/data/images", dataHome, home, "", ""};
}

TEST(DataLocations, ABuildFolderKeepsTheDatabaseInTheWorkingFolderAndTheSourcesPictures) {
    testing::TempDir build;
    const DataLocations chosen =
        ChooseDataLocations(Inputs(build.Path().string(), "/data/op", "/home/op"));
    EXPECT_FALSE(chosen.installed);
    EXPECT_EQ(chosen.database, "db.mdb");
    EXPECT_EQ(chosen.pictures, "/src/data/images");
}

TEST(DataLocations, AnInstalledProgramKeepsADatabasePerUserAndTheSharedPictures) {
    InstalledTree tree;
    struct Case {
        std::string dataHome;
        std::string home;
        std::string database;
    };
    const Case cases[] = {
        {"", "/home/op", "/home/op/.local/share/tarnwick/db.mdb"},
        {"/data/op", "/home/op", "/data/op/tarnwick/db.mdb"},
        // A relative data folder would depend on the working folder: ignored.
        {"rel/data", "/home/op", "/home/op/.local/share/tarnwick/db.mdb"},
        // No home folder to keep it in: the working folder, as in a build.
        {"", "", "db.mdb"},
        {"rel/data", "relative-home", "db.mdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("XDG_DATA_HOME=" + c.dataHome + " HOME=" + c.home);
        const DataLocations chosen = ChooseDataLocations(Inputs(tree.bin, c.dataHome, c.home));
        EXPECT_TRUE(chosen.installed);
        EXPECT_EQ(chosen.database, c.database);
        EXPECT_EQ(chosen.pictures, tree.shared + "/images");
    }
}

TEST(DataLocations, OnlyAFolderBesideAnAbsoluteProgramFolderMakesAnInstall) {
    InstalledTree tree;
    fs::remove_all(tree.shared);
    std::ofstream(tree.shared).put('x');  // a file by that name is no data folder
    EXPECT_FALSE(ChooseDataLocations(Inputs(tree.bin, "", "/home/op")).installed);
    // /proc/self/exe unreadable leaves the program folder empty: never an
    // install found relative to the working folder.
    EXPECT_FALSE(ChooseDataLocations(Inputs("", "", "/home/op")).installed);
}

// The variable wins over the settings file, which wins over db.mdb; the
// outbox stays beside the db.mdb the user's folders give.
TEST(DataLocations, ATeamDatabaseComesFromTheVariableElseTheSettingsFile) {
    InstalledTree tree;
    testing::TempDir home;
    const std::string team = "postgresql://op@server/tarnwick";
    const std::string local = home.Path().string() + "/.local/share/tarnwick/db.mdb";
    const std::string outbox = home.Path().string() + "/.local/share/tarnwick/outbox.mdb";
    fs::create_directories(home.Path() / ".config/tarnwick");
    const struct {
        std::string settings;
        std::string variable;
        std::string database;
    } cases[] = {
        {"", "", local},
        {"# a comment\n  database =  " + team + "  \r\nother = x\n", "", team},
        {"database = " + team + "\n", "/data/other.mdb", "/data/other.mdb"},
        {"databases = x\n#database = y\n", "", local},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings + " | " + c.variable);
        std::ofstream(home.Path() / ".config/tarnwick/tarnwick.conf") << c.settings;
        DataLocationInputs inputs = Inputs(tree.bin, "", home.Path().string());
        inputs.databaseVariable = c.variable;
        const DataLocations chosen = ChooseDataLocations(inputs);
        EXPECT_EQ(chosen.database, c.database);
        EXPECT_EQ(chosen.outbox, outbox);
    }
}

// A settings file that is a pipe, a device or too large is never waited on
// or read whole: it is named, and db.mdb stays the database.
TEST(DataLocations, ASettingsFileThatIsNoSmallFileIsNamedAndLeftOut) {
    InstalledTree tree;
    testing::TempDir config;
    const fs::path settings = config.Path() / "tarnwick/tarnwick.conf";
    fs::create_directories(settings.parent_path());
    DataLocationInputs inputs = Inputs(tree.bin, "/data/op", "/home/op");
    inputs.configHome = config.Path().string();
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { ::mkfifo(settings.c_str(), 0600); }, "不是普通文件"},
        {[&] { fs::create_symlink("/dev/zero", settings); }, "不是普通文件"},
        {[&] { std::ofstream(settings) << std::string(kSettingsFileMaxBytes + 1, '#'); },
         "超过64KB"},
    };
    for (const auto& [make, problem] : cases) {
        SCOPED_TRACE(problem);
        fs::remove(settings);
        make();
        const DataLocations chosen = ChooseDataLocations(inputs);
        EXPECT_EQ(chosen.settingsProblem,
                  "设置文件“" + settings.string() + "”" + problem + "，已忽略，使用默认设置。");
        EXPECT_EQ(chosen.database, "/data/op/tarnwick/db.mdb");
    }
}

TEST(DataLocations, ThisProgramIsFoundInItsBuildFolder) {
    const DataLocationInputs inputs = ThisProgramsInputs();
    EXPECT_TRUE(
        fs::equivalent(inputs.programFolder, fs::read_symlink("/proc/self/exe").parent_path()));
    EXPECT_FALSE(ChooseDataLocations(inputs).installed);
    EXPECT_TRUE(fs::exists(ChooseDataLocations(inputs).pictures + "/title_strip.jpg"));
}

}  // namespace
}  // namespace tarnwick

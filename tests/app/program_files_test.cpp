#include "app/program_files.h"
#include "platform/path_map.h"

#include "support/drive_map.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace brumo {
namespace {

TEST(ProgramFiles, ExtensionIsReplacedFromTheLastDotOfTheFileName) {
    EXPECT_EQ(ProgramFiles::ChangeExtension("/opt/app/Brumo.exe", ".DAT"), "/opt/app/Brumo.DAT");
    EXPECT_EQ(ProgramFiles::ChangeExtension("/opt/my.app/brumo", ".INI"), "/opt/my.app/brumo.INI");
    EXPECT_EQ(ProgramFiles::ChangeExtension("/opt/brumo.2.0.x", ".LOG.TXT"),
              "/opt/brumo.2.0.LOG.TXT");
    EXPECT_EQ(ProgramFiles::ChangeExtension("C:\\My.Tools\\Brumo", ".D$$"),
              "C:\\My.Tools\\Brumo.D$$");
    EXPECT_EQ(ProgramFiles::ChangeExtension("C:\\Tools\\Brumo.EXE", ".$$$.TXT"),
              "C:\\Tools\\Brumo.$$$.TXT");
}

TEST(ProgramFiles, WritableFolderKeepsEveryFileBesideTheProgram) {
    test::TempTree tree;
    std::filesystem::create_directories(tree / "c" / "tools");
    test::DriveMap drives({{'C', tree / "c"}});
    std::string exe = (tree / "c" / "tools" / "brumo").string();
    ProgramFiles f = ProgramFiles::Derive(exe, true, (tree / "data" / "brumo").string());
    std::string base = (tree / "c" / "tools" / "brumo").string();
    EXPECT_EQ(f.TypeStore, base + ".DAT");
    EXPECT_EQ(f.RecoveryCopy, base + ".D$$");
    EXPECT_EQ(f.Log, base + ".LOG.TXT");
    EXPECT_EQ(f.TestLog, base + ".TEST.TXT");
    EXPECT_EQ(f.HelpFile, base + ".HLP");
    EXPECT_EQ(f.Settings, base + ".INI");
    EXPECT_EQ(f.FoundFiles, base + ".$$$.TXT");
    EXPECT_EQ(f.FilesFolder, (tree / "c" / "tools").string());
    EXPECT_EQ(f.ProgramFolderWindows, drives.Path('C', "tools"));
    // The data folder lies where no drive maps it on POSIX, and keeps its host path.
    const std::string host = (tree / "data" / "brumo").string();
    const std::string data = PathMap::ToWindows(host).value_or(host);
    EXPECT_EQ(f.DataFolderWindows, data);
    EXPECT_EQ(f.ExcludedFolders(), (std::vector<std::string>{drives.Path('C', "tools"), data}));
}

TEST(ProgramFiles, InstalledCopyUsesTheDataFolder) {
    test::TempTree tree;
    std::filesystem::create_directories(tree / "c" / "usr" / "bin");
    std::filesystem::create_directories(tree / "d" / "home" / "data");
    test::DriveMap drives({{'C', tree / "c"}, {'D', tree / "d"}});
    std::string exe = (tree / "c" / "usr" / "bin" / "brumo.app").string();
    std::string data = (tree / "d" / "home" / "data").string() + "/";
    ProgramFiles f = ProgramFiles::Derive(exe, false, data);
    EXPECT_EQ(f.TypeStore, (tree / "d" / "home" / "data" / "brumo.DAT").string());
    EXPECT_EQ(f.FoundFiles, (tree / "d" / "home" / "data" / "brumo.$$$.TXT").string());
    EXPECT_EQ(f.FilesFolder, (tree / "d" / "home" / "data").string());
    EXPECT_EQ(f.ExcludedFolders(), (std::vector<std::string>{drives.Path('C', "usr\\bin"),
                                                             drives.Path('D', "home\\data")}));
}

// Where the program lies decides, never what lies beside it: a copy in /usr/bin is installed
// though no /usr/share/doc is there (a minimal system), whoever may write its folder.
TEST(ProgramFiles, InstalledCopyIsOneBelowAnInstallPrefix) {
    const std::string prefixes = "/usr/local:/usr:/home/u/.local";
    const std::vector<std::pair<std::string, bool>> cases = {
        {"/usr/bin", true},           {"/usr/local/bin/", true}, {"/usr/lib/brumo", true},
        {"/home/u/.local/bin", true}, {"/usr2/bin", false},      {"/opt/brumo/bin", false},
        {"/home/u/brumo", false},     {"/usr", false},           {"bin", false},
    };
    for (const auto& [folder, installed] : cases)
        EXPECT_EQ(ProgramFiles::IsInstalledCopy(folder, prefixes), installed) << folder;
    // The prefix "/" holds everything: only its bin folder counts.
    EXPECT_TRUE(ProgramFiles::IsInstalledCopy("/bin", "/"));
    EXPECT_FALSE(ProgramFiles::IsInstalledCopy("/home/u/brumo", "/"));
    EXPECT_FALSE(ProgramFiles::IsInstalledCopy("/usr/bin", ""));
}

TEST(ProgramFiles, WritabilityIsProbedWithoutLeavingFiles) {
    test::TempTree tree;
    std::filesystem::create_directory(tree / "w");
    EXPECT_TRUE(ProgramFiles::FolderIsWritable((tree / "w").string()));
    EXPECT_TRUE(std::filesystem::is_empty(tree / "w"));
    EXPECT_FALSE(ProgramFiles::FolderIsWritable((tree / "missing").string()));
    std::filesystem::create_directory(tree / "ro");
    std::filesystem::permissions(tree / "ro", std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
    // Only where permissions bind this user (not for root).
    bool bound = !std::ofstream(tree / "ro" / "probe");
    if (bound) {
        EXPECT_FALSE(ProgramFiles::FolderIsWritable((tree / "ro").string()));
    }
}

} // namespace
} // namespace brumo

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

TEST(ProgramFiles, InstalledCopyIsTheBinFolderBesideBrumosSharedDocuments) {
    test::TempTree tree;
    for (const char* folder :
         {"usr/bin", "usr/share/doc/brumo", "opt/bin", "portable/share/doc/brumo"})
        std::filesystem::create_directories(tree / folder);
    EXPECT_TRUE(ProgramFiles::IsInstalledCopy((tree / "usr" / "bin").string()));
    EXPECT_FALSE(ProgramFiles::IsInstalledCopy((tree / "opt" / "bin").string()));
    EXPECT_FALSE(ProgramFiles::IsInstalledCopy((tree / "portable").string()));
    EXPECT_FALSE(ProgramFiles::IsInstalledCopy("bin"));
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

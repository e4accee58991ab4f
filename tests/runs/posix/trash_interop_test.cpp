#include "../run_test_support.h"
#include "runs/run_file_handler.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return text;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        text.append(buffer, n);
    return text;
}

bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Files the Recycle Bin method sends are in the user's trash as the desktop's tools see it,
// and come back from there.
TEST(TrashInteropTest, TrashedFilesAreListedAndRestoredByTrashCli) {
    if (!HaveTool("trash-list") || !HaveTool("trash-restore"))
        GTEST_SKIP() << "trash-cli is not installed";
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}};
    test::ScopedEnv home{"HOME", (tree / "home").string()};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "home" / "data").string()};
    fs::create_directories(tree / "home" / "data");
    test::TreeBuilder::MakeFile(tree / "c" / "t" / "a.tmp", 3);
    test::TreeBuilder::MakeFile(tree / "c" / "t" / "sub" / "b b.tmp", 4);

    RunLog log;
    ASSERT_FALSE(log.Open((tree / "run.log").string(), false));
    RunFileHandler handler{log, RecycleSender::System()};
    handler.StartRun();
    handler.BeginType(0);
    handler.RealFile("C:\\t\\a.tmp", 3);
    handler.RealFile("C:\\t\\sub\\b b.tmp", 4);
    handler.RecycleFile("", 0);
    ASSERT_EQ(handler.Counters().FilesFailed, 0);
    ASSERT_FALSE(fs::exists(tree / "c" / "t" / "a.tmp"));

    const std::string listed = Output("trash-list 2>&1");
    EXPECT_NE(listed.find((tree / "c" / "t" / "a.tmp").string()), std::string::npos) << listed;
    EXPECT_NE(listed.find((tree / "c" / "t" / "sub" / "b b.tmp").string()), std::string::npos)
        << listed;

    const std::string original = (tree / "c" / "t" / "sub" / "b b.tmp").string();
    Output("cd '" + tree.Root().string() + "' && echo 0 | trash-restore '" + original + "' 2>&1");
    EXPECT_TRUE(fs::exists(original));
    EXPECT_EQ(fs::file_size(original), 4u);
    EXPECT_FALSE(fs::exists(tree / "c" / "t" / "a.tmp"));
}

// A volume whose own trash cannot be used (here its top folder holds a file where the user's
// trash folder would be) sends its files to the home trash as copies, restorable as any other.
TEST(TrashInteropTest, AVolumeWithoutAUsableTrashFallsBackToTheHomeTrash) {
    if (!HaveTool("trash-list") || !HaveTool("trash-restore"))
        GTEST_SKIP() << "trash-cli is not installed";
    if (!test::Unprivileged::Available())
        GTEST_SKIP() << "root cannot become a user whom permissions stop";
    test::TempTree tree;
    char name[] = "/dev/shm/brumo-trash-XXXXXX";
    struct stat here {
    }, there{};
    if (::stat(tree.Root().c_str(), &here) != 0 || ::mkdtemp(name) == nullptr ||
        ::stat(name, &there) != 0 || here.st_dev == there.st_dev) {
        ::rmdir(name);
        GTEST_SKIP() << "no second file system to hold a volume";
    }
    const fs::path volume = name;
    test::DriveMap drives{{'T', volume}};
    test::ScopedEnv home{"HOME", (tree / "home").string()};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "home" / "data").string()};
    fs::create_directories(tree / "home" / "data");
    test::TreeBuilder::MakeFile(volume / "far.tmp", 5);
    fs::permissions(volume / "far.tmp", fs::perms::owner_read | fs::perms::group_read);
    test::Unprivileged::HandOver(tree.Root());
    test::Unprivileged::HandOver(volume);

    EXPECT_TRUE(test::Unprivileged::Run([&] {
        const fs::path blocked = "/dev/shm/.Trash-" + std::to_string(::getuid());
        if (fs::exists(fs::symlink_status(blocked)))
            return; // another user's trash, not ours to spoil
        std::ofstream(blocked) << "not a folder";
        RunLog log;
        ASSERT_FALSE(log.Open((tree / "run.log").string(), false));
        RunFileHandler handler{log, RecycleSender::System()};
        handler.StartRun();
        handler.BeginType(0);
        handler.RealFile("T:\\far.tmp", 5);
        handler.RecycleFile("", 0);
        fs::remove(blocked);
        EXPECT_EQ(handler.Counters().FilesFailed, 0);
        EXPECT_FALSE(fs::exists(volume / "far.tmp"));
        const fs::path copy = tree / "home" / "data" / "Trash" / "files" / "far.tmp";
        EXPECT_EQ(fs::file_size(copy), 5u);
        EXPECT_EQ(fs::status(copy).permissions(), fs::perms::owner_read | fs::perms::group_read);

        const std::string original = (volume / "far.tmp").string();
        EXPECT_NE(Output("trash-list 2>&1").find(original), std::string::npos);
        Output("cd '" + tree.Root().string() + "' && echo 0 | trash-restore '" + original +
               "' 2>&1");
        EXPECT_TRUE(fs::exists(original));
    }));
    fs::remove_all(volume);
}

} // namespace
} // namespace brumo

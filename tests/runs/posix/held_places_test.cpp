#include "../../platform/posix/ended_process.h"
#include "../run_test_support.h"
#include "model/junk_file_type.h"
#include "platform/file_system.h"
#include "platform/holding_folder.h"
#include "runs/held_files.h"
#include "runs/holding_path.h"
#include "runs/run_file_handler.h"
#include "support/drive_map.h"
#include "support/log_text.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

// Drive C: on tree/c, the data folder outside every drive, and files held in both places.
class HeldPlacesTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}, {'D', tree / "c" / "sub"}};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "data").string()};
    fs::path inData = tree / "data" / "brumo" / (std::string(HoldingFolder::Name) + "-C");
    fs::path atRoot = tree / "c" / HoldingFolder::Name;

    void SetUp() override {
        TreeBuilder::MakeDir(tree / "c" / "sub");
        TreeBuilder::MakeFile(tree / "outside" / "a.tmp", 7);
    }
    static std::vector<std::string> Originals(std::vector<std::string>* refused = nullptr) {
        std::vector<std::string> paths;
        for (const HeldFile& file : HeldFiles::List(refused))
            paths.push_back(file.originalPath);
        return paths;
    }
    void ExpectOutsideUntouched() {
        EXPECT_EQ(fs::file_size(tree / "outside" / "a.tmp"), 7u);
        EXPECT_EQ(std::distance(fs::directory_iterator(tree / "outside"), {}), 1);
    }
};

TEST_F(HeldPlacesTest, EveryDrivesHeldFilesAreListedFromBothPlaces) {
    TreeBuilder::MakeFile(atRoot / "TEMP" / "r.tmp", 1);
    TreeBuilder::MakeFile(inData / "TEMP" / "d.tmp", 2);
    TreeBuilder::MakeFile(tree / "c" / "sub" / HoldingFolder::Name / "b.tmp", 3);
    EXPECT_EQ(Originals(),
              (std::vector<std::string>{"C:\\TEMP\\d.tmp", "C:\\TEMP\\r.tmp", "D:\\b.tmp"}));
    // Each restores from where it lies.
    for (const HeldFile& file : HeldFiles::List())
        EXPECT_TRUE(HeldFiles::Restore(file, false).done) << file.originalPath;
    EXPECT_EQ(fs::file_size(tree / "c" / "TEMP" / "d.tmp"), 2u);
    EXPECT_EQ(fs::file_size(tree / "c" / "sub" / "b.tmp"), 3u);
    EXPECT_TRUE(Originals().empty());
}

// A link at any level of the data folder's holding folders is never followed by a listing, a
// restore, a deletion or a move into it.
TEST_F(HeldPlacesTest, LinksInTheDataFoldersHoldingFoldersAreRefused) {
    const struct {
        fs::path link;
        fs::path target;
    } levels[] = {
        {inData, tree / "outside"},
        {inData / "TEMP", tree / "outside"},
    };
    for (const auto& level : levels) {
        SCOPED_TRACE(level.link.string());
        fs::remove_all(tree / "data");
        TreeBuilder::MakeDir(level.link.parent_path());
        TreeBuilder::MakeLink(level.link, level.target);
        std::vector<std::string> refused;
        const std::vector<std::string> listed = Originals(&refused);
        EXPECT_TRUE(listed.empty()) << listed.front();
        ASSERT_EQ(refused.size(), 1u);
        EXPECT_EQ(refused[0], level.link.string());
        HeldFile planted;
        planted.originalPath = level.link == inData ? "C:\\a.tmp" : "C:\\TEMP\\a.tmp";
        planted.holdingFolder = inData.string();
        EXPECT_FALSE(HeldFiles::Delete(planted).done);
        EXPECT_FALSE(HeldFiles::Restore(planted, false).done);
        // A run holding C:\TEMP\a.tmp there.
        TreeBuilder::MakeFile(tree / "c" / "TEMP" / "a.tmp", 1);
        FileSystem::CreateFolders((inData / "TEMP").string());
        EXPECT_TRUE(FileSystem::MoveFile("C:\\TEMP\\a.tmp", (inData / "TEMP" / "a.tmp").string()));
        EXPECT_TRUE(fs::exists(tree / "c" / "TEMP" / "a.tmp"));
        ExpectOutsideUntouched();
    }
}

// A copy a move across file systems was writing is no held file; once its writer has ended,
// the next listing removes it. A held file that only looks like an older copy stays one.
TEST_F(HeldPlacesTest, PartialCopiesAreNeverListedAndGoOnceTheirWriterHasEnded) {
    const pid_t ended = test::EndedProcessId();
    ASSERT_GT(ended, 0);
    const std::string dead = ".f16.tmp\\" + std::to_string(ended) + "-0.tmp";
    const std::string live = ".g.tmp\\" + std::to_string(::getpid()) + "-3.tmp";
    const std::string genuine = ".x.tmp." + std::to_string(ended) + "-0.tmp";
    TreeBuilder::MakeFile(inData / "TEMP" / dead, 5);
    TreeBuilder::MakeFile(atRoot / "TEMP" / live, 5);
    TreeBuilder::MakeFile(atRoot / "TEMP" / "f16.tmp", 9);
    TreeBuilder::MakeFile(inData / "TEMP" / genuine, 4);
    EXPECT_EQ(Originals(), (std::vector<std::string>{"C:\\TEMP\\" + genuine, "C:\\TEMP\\f16.tmp"}));
    EXPECT_FALSE(fs::exists(inData / "TEMP" / dead));
    EXPECT_TRUE(fs::exists(atRoot / "TEMP" / live)) << "its writer still runs";
    EXPECT_TRUE(HeldFiles::Restore("C:\\TEMP\\" + genuine, false).done);
    EXPECT_EQ(fs::file_size(tree / "c" / "TEMP" / genuine), 4u);
}

// The held copy of a file whose name leaves no room for "name (2)" stays until the newer copy
// is in: a move that fails keeps it.
TEST_F(HeldPlacesTest, ALongHeldNameOutlivesAReplacementThatFails) {
    if (!test::Unprivileged::Available())
        GTEST_SKIP() << "root cannot become a user whom permissions stop";
    const std::string name = std::string(251, 'n') + ".tmp";
    const std::string path = "C:\\t\\" + name;
    TreeBuilder::MakeFile(tree / "c" / "t" / name, 10);
    TreeBuilder::MakeFile(tree / "run.log");
    test::Unprivileged::HandOver(tree.Root());
    EXPECT_TRUE(test::Unprivileged::Run([&] {
        RunLog log;
        test::FakeRecycleSender bin;
        RunFileHandler handler{log, bin};
        ASSERT_FALSE(log.Open((tree / "run.log").string(), false));
        handler.StartRun();
        handler.BeginType(MethodHoldingFolder);
        handler.RealFile(path, 10);
        ASSERT_EQ(fs::file_size(atRoot / "t" / name), 10u);
        // Second time: a newer copy that cannot leave its folder.
        TreeBuilder::MakeFile(tree / "c" / "t" / name, 20);
        fs::permissions(tree / "c" / "t", fs::perms::owner_read | fs::perms::owner_exec);
        handler.BeginType(MethodHoldingFolder); // a later type: a type sends a file once
        handler.RealFile(path, 20);
        fs::permissions(tree / "c" / "t", fs::perms::owner_all);
        EXPECT_EQ(fs::file_size(atRoot / "t" / name), 10u);
        EXPECT_EQ(fs::file_size(tree / "c" / "t" / name), 20u);
        EXPECT_EQ(std::distance(fs::directory_iterator(atRoot / "t"), {}), 1);
        // Once it can move, it replaces the older copy.
        handler.BeginType(MethodHoldingFolder);
        handler.RealFile(path, 20);
        EXPECT_EQ(fs::file_size(atRoot / "t" / name), 20u);
        EXPECT_FALSE(fs::exists(tree / "c" / "t" / name));
        log.Close();
        const std::vector<std::string> lines = test::ReadLogLines(tree / "run.log");
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[1], "ERR\t" + path);
        EXPECT_EQ(lines[3], "\t" + path);
    }));
}

// A holding folder at the top of a file system mounted below the drive is listed too.
TEST_F(HeldPlacesTest, AMountTopsHeldFilesAreListed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    const fs::path top = tree / "c" / "mnt";
    TreeBuilder::MakeDir(top);
    if (::mount("brumo-test", top.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no file system can be mounted here";
    test::DriveMap mounted{{'C', tree / "c"}, {'E', top}};
    TreeBuilder::MakeFile(top / HoldingFolder::Name / "m.tmp", 4);
    const std::vector<std::string> listed = Originals();
    ::umount2(top.c_str(), MNT_DETACH);
    EXPECT_EQ(listed, (std::vector<std::string>{"E:\\m.tmp"}));
}

// A move across file systems copies under a name no held file has, and leaves a held file that
// looks like an older copy of it alone.
TEST_F(HeldPlacesTest, AMoveAcrossFileSystemsKeepsAHeldLookAlike) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    const fs::path other = tree / "c" / "mnt";
    TreeBuilder::MakeDir(other);
    if (::mount("brumo-test", other.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no file system can be mounted here";
    const std::string lookAlike = ".a.tmp." + std::to_string(test::EndedProcessId()) + "-0.tmp";
    TreeBuilder::MakeFile(other / "a.tmp", 3);
    TreeBuilder::MakeFile(atRoot / "mnt" / lookAlike, 2);
    const OsError moved =
        FileSystem::MoveFile("C:\\mnt\\a.tmp", *HoldingPath::Of("C:\\mnt\\a.tmp"));
    ::umount2(other.c_str(), MNT_DETACH);
    EXPECT_FALSE(moved);
    EXPECT_EQ(fs::file_size(atRoot / "mnt" / "a.tmp"), 3u);
    EXPECT_EQ(fs::file_size(atRoot / "mnt" / lookAlike), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(atRoot / "mnt"), {}), 2);
}

} // namespace
} // namespace brumo

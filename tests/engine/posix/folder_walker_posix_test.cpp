#include "engine/walk_fixture.h"

#include <algorithm>

namespace brumo::test {
namespace {

namespace fs = std::filesystem;

// What only the POSIX backend has: the drive table, the freedesktop.org trash, symbolic links.
using FolderWalkerTest = WalkTest;

TEST_F(FolderWalkerTest, HoldingAndTrashFoldersAtADriveRootAreNeverEntered) {
    TreeBuilder::MakeFile(C("a.tmp"));
    TreeBuilder::MakeFile(C("HDVal$$$.$$$/T/held.tmp"));
    TreeBuilder::MakeFile(C(".Trash/1000/files/t1.tmp"));
    TreeBuilder::MakeFile(C(".Trash-1000/files/t2.tmp"));
    TreeBuilder::MakeFile(C(".Trash-x/kept.tmp"));  // not a trash name
    TreeBuilder::MakeFile(C("T/.Trash/below.tmp")); // only the root is special
    TreeBuilder::MakeFile(C("T/HDVal$$$.$$$/below2.tmp"));
    TreeBuilder::MakeFile(C("home/u/.local/share/Trash/files/t3.tmp"));
    TreeBuilder::MakeFile(C("home/u/.local/share/other/ok.tmp"));

    WalkResult r = Walk(Type({}, {"*.tmp"})); // all local drives: just C:
    std::vector<std::string> paths;
    for (const auto& f : r.files)
        paths.push_back(f.first);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\.Trash-x\\kept.tmp", "C:\\T\\.Trash\\below.tmp",
                                               "C:\\T\\HDVal$$$.$$$\\below2.tmp", "C:\\a.tmp",
                                               "C:\\home\\u\\.local\\share\\other\\ok.tmp"}));

    // Named directly, the holding folder is searched like any folder.
    r = Walk(Type({{"C:\\HDVAL$$$.$$$", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.filesMatched, 1);
    // The home trash is left out however it is reached.
    r = Walk(Type({{"C:\\home\\u\\.local\\share\\Trash", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.filesMatched, 0);
}

TEST_F(FolderWalkerTest, LinksAreNeverFollowed) {
    const fs::path outside = tree_ / "outside";
    TreeBuilder::MakeFile(outside / "victim.tmp", 1000);
    TreeBuilder::MakeFile(outside / "target.tmp", 5000);
    TreeBuilder::MakeFile(C("T/real.tmp"), 1);
    TreeBuilder::MakeLink(C("T/escape"), outside);
    TreeBuilder::MakeLink(C("T/loop/back"), C("T"));
    TreeBuilder::MakeLink(C("T/link.tmp"), outside / "target.tmp");

    WalkResult r = Walk(Type({{"C:\\T", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 2); // T and T\loop
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_TRUE(r.Has("C:\\T\\real.tmp"));
    // The link itself, with its own size, not its target's.
    ASSERT_TRUE(r.Has("C:\\T\\link.tmp"));
    for (const auto& [path, size] : r.files)
        if (path == "C:\\T\\link.tmp") {
            EXPECT_NE(size, 5000);
            EXPECT_EQ(size,
                      static_cast<int64_t>(fs::read_symlink(C("T/link.tmp")).string().size()));
        }

    // A folder entry that runs through a link is not followed either.
    r = Walk(Type({{"C:\\T\\escape", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.filesMatched, 0);
}

TEST_F(FolderWalkerTest, WorkingListStandsInForAllDrives) {
    TempTree second;
    DriveMap map({{'C', c_}, {'D', c_}, {'E', second.Root()}}); // C and D: one volume
    const std::vector<FolderEntry> expected = {{"C:", FolderAndSubfolders},
                                               {"E:", FolderAndSubfolders}};
    EXPECT_EQ(FolderWalker::WorkingList(Type({}, {})), expected);
    EXPECT_EQ(FolderWalker::WorkingList(Type({{"Local drives (C:)", FolderOnly}}, {})), expected);
    EXPECT_EQ(
        FolderWalker::WorkingList(Type({{"C:\\", FolderOnly}, {"C:\\T\\", SubfoldersOnly}}, {})),
        (std::vector<FolderEntry>{{"C:", FolderOnly}, {"C:\\T", SubfoldersOnly}}));
}

} // namespace
} // namespace brumo::test

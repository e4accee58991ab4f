#include "engine/posix/walk_fixture.h"

#include "platform/file_attributes.h"

#include <unistd.h>

namespace brumo::test {
namespace {

namespace fs = std::filesystem;

using FolderWalkerTest = WalkTest;

TEST_F(FolderWalkerTest, FileSelectionDeDuplicationAndNoExtensionRule) {
    TreeBuilder::MakeFile(C("T/~x.tmp"), 10);
    TreeBuilder::MakeFile(C("T/a.TMP"), 20);
    TreeBuilder::MakeFile(C("T/~y.doc"), 30);
    TreeBuilder::MakeFile(C("T/README"), 40);
    TreeBuilder::MakeFile(C("T/notes.txt"), 50);
    TreeBuilder::MakeDir(C("T/dir.tmp"));

    WalkResult r = Walk(Type({{"C:\\T", FolderOnly}}, {"*.tmp", "~*.*"}));
    EXPECT_EQ(r.counts.filesMatched, 3);
    EXPECT_EQ(r.counts.bytesMatched, 60);
    ASSERT_EQ(r.files.size(), 3u);
    EXPECT_TRUE(r.Has("C:\\T\\~x.tmp"));
    EXPECT_TRUE(r.Has("C:\\T\\a.TMP"));
    EXPECT_TRUE(r.Has("C:\\T\\~y.doc"));
    EXPECT_FALSE(r.Has("C:\\T\\dir.tmp"));

    r = Walk(Type({{"C:\\T", FolderOnly}}, {"*"}));
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0], std::make_pair(std::string("C:\\T\\README"), int64_t{40}));

    r = Walk(Type({{"C:\\T", FolderOnly}}, {"*.*"}));
    EXPECT_EQ(r.counts.filesMatched, 5);
    EXPECT_EQ(r.counts.bytesMatched, 150);

    r = Walk(Type({{"C:\\T", FolderOnly}}, {"readme"}));
    EXPECT_EQ(r.counts.filesMatched, 1);
}

TEST_F(FolderWalkerTest, ProtectionAndRestrictionCounters) {
    TreeBuilder::MakeFile(C("TEMP/keep.tmp"), 5);
    TreeBuilder::MakeFile(C("TEMP/file1.tmp"), 6);
    TreeBuilder::MakeFile(C("TEMP/file12.tmp"), 7);
    TreeBuilder::MakeFile(C("TEMP/big.tmp"), 5000);
    TreeBuilder::MakeFile(C("TEMP/bigfile.tmp"), 6000);

    TJunkFileObj type =
        Type({{"C:\\TEMP\\", FolderOnly}}, {"*.tmp"}, {"c:\\temp\\KEEP.TMP", "file?.tmp"});
    WalkResult r = Walk(type);
    EXPECT_EQ(r.counts.filesMatched, 5);
    EXPECT_EQ(r.counts.filesProtected, 2);
    EXPECT_EQ(r.counts.filesRestricted, 0);
    EXPECT_EQ(r.counts.bytesMatched, 7 + 5000 + 6000);
    EXPECT_FALSE(r.Has("C:\\TEMP\\keep.tmp"));
    EXPECT_TRUE(r.Has("C:\\TEMP\\file12.tmp"));

    // Restrictions come first: a small protected file counts as restricted only.
    type.SizeRestrict = true;
    type.SizeCompare = 2; // at least 1 KB
    type.Size1 = 1;
    type.SizeUnits = 1;
    type.Protects.push_back("bigfile.*");
    r = Walk(type);
    EXPECT_EQ(r.counts.filesMatched, 5);
    EXPECT_EQ(r.counts.filesRestricted, 3);
    EXPECT_EQ(r.counts.filesProtected, 1);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, "C:\\TEMP\\big.tmp");
}

TEST_F(FolderWalkerTest, FolderModesAndMissingFolders) {
    TreeBuilder::MakeFile(C("T/top.tmp"));
    TreeBuilder::MakeFile(C("T/sub/a.tmp"));
    TreeBuilder::MakeFile(C("T/sub/deeper/b.tmp"));
    TreeBuilder::MakeFile(C("T/other/c.tmp"));

    WalkResult r = Walk(Type({{"C:\\T", SubfoldersOnly}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 3);
    EXPECT_EQ(r.counts.filesMatched, 3);
    EXPECT_FALSE(r.Has("C:\\T\\top.tmp"));
    EXPECT_TRUE(r.Has("C:\\T\\sub\\deeper\\b.tmp"));

    r = Walk(Type({{"C:\\T", FolderOnly}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 1);
    EXPECT_EQ(r.counts.filesMatched, 1);

    r = Walk(Type({{"C:\\T", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 4);
    EXPECT_EQ(r.counts.filesMatched, 4);

    // Depth-first, a folder's own files before its subfolders, entries in list order.
    r = Walk(Type({{"C:\\T\\sub", FolderAndSubfolders}, {"C:\\T", FolderOnly}}, {"*.tmp"}));
    ASSERT_EQ(r.files.size(), 3u);
    EXPECT_EQ(r.files[0].first, "C:\\T\\sub\\a.tmp");
    EXPECT_EQ(r.files[1].first, "C:\\T\\sub\\deeper\\b.tmp");
    EXPECT_EQ(r.files[2].first, "C:\\T\\top.tmp");

    r = Walk(Type({{"C:\\missing", FolderAndSubfolders},
                   {"C:\\missing2", FolderOnly},
                   {"C:\\missing3", SubfoldersOnly}},
                  {"*.*"}));
    EXPECT_EQ(r.counts.foldersSearched, 2);
    EXPECT_EQ(r.counts.filesMatched, 0);
}

TEST_F(FolderWalkerTest, ExcludedFolderBelowAndAsEntry) {
    TreeBuilder::MakeFile(C("T/a.tmp"));
    TreeBuilder::MakeFile(C("T/Prog/own.tmp"));
    TreeBuilder::MakeFile(C("T/Prog/sub/own2.tmp"));
    TreeBuilder::MakeFile(C("T/data/d.tmp"));

    WalkResult r =
        Walk(Type({{"C:\\T", FolderAndSubfolders}}, {"*.tmp"}), {"c:\\t\\prog\\", "C:\\T\\DATA"});
    EXPECT_EQ(r.counts.foldersSearched, 1);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, "C:\\T\\a.tmp");

    r = Walk(Type({{"C:\\T\\prog", FolderAndSubfolders}}, {"*.tmp"}), {"C:\\T\\Prog"});
    EXPECT_EQ(r.counts.foldersSearched, 0);
    EXPECT_TRUE(r.files.empty());
}

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

TEST_F(FolderWalkerTest, RecycleBinFoldersAtTheRootNeedHiddenAndSystem) {
    TreeBuilder::MakeFile(C("RECYCLER/r1.tmp"));
    TreeBuilder::MakeFile(C("Recycled/r2.tmp"));
    TreeBuilder::MakeFile(C("$RECYCLE.BIN/r3.tmp"));
    TreeBuilder::MakeFile(C("RECYCLED2/r4.tmp"));
    constexpr uint32_t hs = FileAttributes::Hidden | FileAttributes::System;
    if (!TreeBuilder::SetDosAttributes(C("RECYCLER"), hs))
        GTEST_SKIP() << "the file system refuses extended attributes";
    TreeBuilder::SetDosAttributes(C("Recycled"), FileAttributes::Hidden); // not system
    TreeBuilder::SetDosAttributes(C("$RECYCLE.BIN"), hs);
    TreeBuilder::SetDosAttributes(C("RECYCLED2"), hs);

    WalkResult r = Walk(Type({{"C:\\", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_FALSE(r.Has("C:\\RECYCLER\\r1.tmp"));
    EXPECT_TRUE(r.Has("C:\\Recycled\\r2.tmp"));
    EXPECT_FALSE(r.Has("C:\\$RECYCLE.BIN\\r3.tmp"));
    EXPECT_TRUE(r.Has("C:\\RECYCLED2\\r4.tmp"));
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

TEST_F(FolderWalkerTest, DeepChainIsWalkedToTheBottom) {
    fs::path deep = C("D");
    std::string expected = "C:\\D";
    for (int i = 0; i < 600; ++i) {
        deep /= "d";
        expected += "\\d";
    }
    TreeBuilder::MakeFile(deep / "bottom.tmp", 3);
    WalkResult r = Walk(Type({{"C:\\D", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 601);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, expected + "\\bottom.tmp");
}

TEST_F(FolderWalkerTest, StopsBetweenEntriesAndWithinAFolder) {
    for (int i = 0; i < 5; ++i)
        TreeBuilder::MakeFile(C("A/f" + std::to_string(i) + ".tmp"));
    TreeBuilder::MakeFile(C("A/sub/s.tmp"));
    TreeBuilder::MakeFile(C("B/b.tmp"));

    // A stop during the first folder: no further entry, no subfolder, no later entry.
    WalkResult r = Walk(
        Type({{"C:\\A", FolderAndSubfolders}, {"C:\\B", FolderAndSubfolders}}, {"*.tmp", "f*.*"}),
        {}, [&](const std::string&) { stop_->Set(); });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.counts.filesMatched, 1);
    EXPECT_EQ(r.counts.foldersSearched, 1); // the interrupted folder still counts
    stop_->Reset();

    // A stop after the first entry leaves the second unsearched.
    r = Walk(Type({{"C:\\B", FolderOnly}, {"C:\\A", FolderAndSubfolders}}, {"*.tmp"}), {},
             [&](const std::string&) { stop_->Set(); });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.counts.foldersSearched, 1);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, "C:\\B\\b.tmp");
    stop_->Reset();
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

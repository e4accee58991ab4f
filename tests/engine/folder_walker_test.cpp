#include "engine/walk_fixture.h"

#include "platform/file_attributes.h"

#include <algorithm>

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

    WalkResult r = Walk(Type({{W("T"), FolderOnly}}, {"*.tmp", "~*.*"}));
    EXPECT_EQ(r.counts.filesMatched, 3);
    EXPECT_EQ(r.counts.bytesMatched, 60);
    ASSERT_EQ(r.files.size(), 3u);
    EXPECT_TRUE(r.Has(W("T\\~x.tmp")));
    EXPECT_TRUE(r.Has(W("T\\a.TMP")));
    EXPECT_TRUE(r.Has(W("T\\~y.doc")));
    EXPECT_FALSE(r.Has(W("T\\dir.tmp")));

    r = Walk(Type({{W("T"), FolderOnly}}, {"*"}));
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0], std::make_pair(std::string(W("T\\README")), int64_t{40}));

    r = Walk(Type({{W("T"), FolderOnly}}, {"*.*"}));
    EXPECT_EQ(r.counts.filesMatched, 5);
    EXPECT_EQ(r.counts.bytesMatched, 150);

    r = Walk(Type({{W("T"), FolderOnly}}, {"readme"}));
    EXPECT_EQ(r.counts.filesMatched, 1);
}

TEST_F(FolderWalkerTest, ProtectionAndRestrictionCounters) {
    TreeBuilder::MakeFile(C("TEMP/keep.tmp"), 5);
    TreeBuilder::MakeFile(C("TEMP/file1.tmp"), 6);
    TreeBuilder::MakeFile(C("TEMP/file12.tmp"), 7);
    TreeBuilder::MakeFile(C("TEMP/big.tmp"), 5000);
    TreeBuilder::MakeFile(C("TEMP/bigfile.tmp"), 6000);

    TJunkFileObj type =
        Type({{W("TEMP\\"), FolderOnly}}, {"*.tmp"}, {W("temp\\KEEP.TMP"), "file?.tmp"});
    WalkResult r = Walk(type);
    EXPECT_EQ(r.counts.filesMatched, 5);
    EXPECT_EQ(r.counts.filesProtected, 2);
    EXPECT_EQ(r.counts.filesRestricted, 0);
    EXPECT_EQ(r.counts.bytesMatched, 7 + 5000 + 6000);
    EXPECT_FALSE(r.Has(W("TEMP\\keep.tmp")));
    EXPECT_TRUE(r.Has(W("TEMP\\file12.tmp")));

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
    EXPECT_EQ(r.files[0].first, W("TEMP\\big.tmp"));
}

TEST_F(FolderWalkerTest, FolderModesAndMissingFolders) {
    TreeBuilder::MakeFile(C("T/top.tmp"));
    TreeBuilder::MakeFile(C("T/sub/a.tmp"));
    TreeBuilder::MakeFile(C("T/sub/deeper/b.tmp"));
    TreeBuilder::MakeFile(C("T/other/c.tmp"));

    WalkResult r = Walk(Type({{W("T"), SubfoldersOnly}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 3);
    EXPECT_EQ(r.counts.filesMatched, 3);
    EXPECT_FALSE(r.Has(W("T\\top.tmp")));
    EXPECT_TRUE(r.Has(W("T\\sub\\deeper\\b.tmp")));

    r = Walk(Type({{W("T"), FolderOnly}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 1);
    EXPECT_EQ(r.counts.filesMatched, 1);

    r = Walk(Type({{W("T"), FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 4);
    EXPECT_EQ(r.counts.filesMatched, 4);

    // Depth-first, a folder's own files before its subfolders, entries in list order.
    r = Walk(Type({{W("T\\sub"), FolderAndSubfolders}, {W("T"), FolderOnly}}, {"*.tmp"}));
    ASSERT_EQ(r.files.size(), 3u);
    EXPECT_EQ(r.files[0].first, W("T\\sub\\a.tmp"));
    EXPECT_EQ(r.files[1].first, W("T\\sub\\deeper\\b.tmp"));
    EXPECT_EQ(r.files[2].first, W("T\\top.tmp"));

    r = Walk(Type({{W("missing"), FolderAndSubfolders},
                   {W("missing2"), FolderOnly},
                   {W("missing3"), SubfoldersOnly}},
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
        Walk(Type({{W("T"), FolderAndSubfolders}}, {"*.tmp"}), {W("t\\prog\\"), W("T\\DATA")});
    EXPECT_EQ(r.counts.foldersSearched, 1);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, W("T\\a.tmp"));

    r = Walk(Type({{W("T\\prog"), FolderAndSubfolders}}, {"*.tmp"}), {W("T\\Prog")});
    EXPECT_EQ(r.counts.foldersSearched, 0);
    EXPECT_TRUE(r.files.empty());
}

TEST_F(FolderWalkerTest, RecycleBinFoldersAtTheRootNeedHiddenAndSystem) {
    TempTree root;
    DriveMap map({{'R', root.Root()}});
    if (!map.RootIsDrive('R'))
        GTEST_SKIP() << "no drive root to test on";
    const fs::path r = root.Root();
    TreeBuilder::MakeFile(r / "RECYCLER/r1.tmp");
    TreeBuilder::MakeFile(r / "Recycled/r2.tmp");
    TreeBuilder::MakeFile(r / "$RECYCLE.BIN/r3.tmp");
    TreeBuilder::MakeFile(r / "RECYCLED2/r4.tmp");
    constexpr uint32_t hs = FileAttributes::Hidden | FileAttributes::System;
    if (!TreeBuilder::SetDosAttributes(r / "RECYCLER", hs))
        GTEST_SKIP() << "the file system refuses extended attributes";
    TreeBuilder::SetDosAttributes(r / "Recycled", FileAttributes::Hidden); // not system
    TreeBuilder::SetDosAttributes(r / "$RECYCLE.BIN", hs);
    TreeBuilder::SetDosAttributes(r / "RECYCLED2", hs);

    WalkResult result = Walk(Type({{map.Root('R') + "\\", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_FALSE(result.Has(map.Path('R', "RECYCLER\\r1.tmp")));
    EXPECT_TRUE(result.Has(map.Path('R', "Recycled\\r2.tmp")));
    EXPECT_FALSE(result.Has(map.Path('R', "$RECYCLE.BIN\\r3.tmp")));
    EXPECT_TRUE(result.Has(map.Path('R', "RECYCLED2\\r4.tmp")));
    // Below the root the names are nothing special.
    TreeBuilder::MakeFile(r / "T/RECYCLER/r5.tmp");
    TreeBuilder::SetDosAttributes(r / "T/RECYCLER", hs);
    result = Walk(Type({{map.Path('R', "T"), FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_TRUE(result.Has(map.Path('R', "T\\RECYCLER\\r5.tmp")));
}

TEST_F(FolderWalkerTest, DeepChainIsWalkedToTheBottom) {
    fs::path deep = C("D");
    std::string expected = W("D");
    for (int i = 0; i < 600; ++i) {
        deep /= "d";
        expected += "\\d";
    }
    TreeBuilder::MakeFile(deep / "bottom.tmp", 3);
    WalkResult r = Walk(Type({{W("D"), FolderAndSubfolders}}, {"*.tmp"}));
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
        Type({{W("A"), FolderAndSubfolders}, {W("B"), FolderAndSubfolders}}, {"*.tmp", "f*.*"}), {},
        [&](const std::string&) { stop_->Set(); });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.counts.filesMatched, 1);
    EXPECT_EQ(r.counts.foldersSearched, 1); // the interrupted folder still counts
    stop_->Reset();

    // A stop after the first entry leaves the second unsearched.
    r = Walk(Type({{W("B"), FolderOnly}, {W("A"), FolderAndSubfolders}}, {"*.tmp"}), {},
             [&](const std::string&) { stop_->Set(); });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.counts.foldersSearched, 1);
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, W("B\\b.tmp"));
    stop_->Reset();
}

} // namespace
} // namespace brumo::test

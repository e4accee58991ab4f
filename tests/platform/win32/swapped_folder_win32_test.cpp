#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/recycle_bin.h"
#include "platform/win32/final_path.h"
#include "platform/win32/windows_api.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

constexpr int kRefused = ERROR_CANT_RESOLVE_FILENAME;

// A tree whose folder "dir" the walk saw as a plain folder, then swapped for a link to
// "outside", which holds files of the same names; and a link "deep" above a plain folder.
class SwappedFolder : public ::testing::Test {
protected:
    TempTree tree;
    DriveMap drives{{'C', tree.Root()}};

    void SetUp() override {
        if (!TreeBuilder::LinksSupported())
            GTEST_SKIP() << "this system makes no links for a normal user";
        TreeBuilder::MakeFile(tree / "dir" / "a.tmp", 1);
        TreeBuilder::MakeFile(tree / "dir" / "b.tmp", 2);
        TreeBuilder::MakeFile(tree / "outside" / "a.tmp", 10);
        TreeBuilder::MakeFile(tree / "outside" / "b.tmp", 20);
        TreeBuilder::MakeFile(tree / "outside" / "sub" / "c.tmp", 30);
        TreeBuilder::MakeFile(tree / "plain.tmp", 3);
        fs::rename(tree / "dir", tree / "dir.old");
        TreeBuilder::MakeLink(tree / "dir", tree / "outside");
        TreeBuilder::MakeLink(tree / "deep", tree / "outside");
        ASSERT_TRUE(TreeBuilder::IsLink(tree / "dir"));
    }

    std::string C(const std::string& relative) const { return drives.Path('C', relative); }
    bool OutsideIntact() const {
        return fs::file_size(tree / "outside" / "a.tmp") == 10 &&
               fs::file_size(tree / "outside" / "b.tmp") == 20 &&
               fs::file_size(tree / "outside" / "sub" / "c.tmp") == 30;
    }
};

TEST_F(SwappedFolder, DeleteMoveAndAttributesRefuseToActThroughTheLink) {
    EXPECT_EQ(FileSystem::DeleteFile(C("dir\\a.tmp")).code, kRefused);
    EXPECT_EQ(FileSystem::DeleteFile(C("deep\\sub\\c.tmp")).code, kRefused) << "a link above";
    EXPECT_EQ(FileSystem::MoveFile(C("dir\\a.tmp"), C("kept.tmp")).code, kRefused);
    EXPECT_EQ(FileSystem::MoveFile(C("plain.tmp"), C("dir\\plain.tmp")).code, kRefused)
        << "nor into a folder through a link";
    EXPECT_EQ(FileSystem::SetAttributes(C("dir\\b.tmp"), FileAttributes::ReadOnly).code, kRefused);
    EXPECT_EQ(FileSystem::CreateFolders(C("dir\\made\\here")).code, kRefused);
    EXPECT_TRUE(OutsideIntact());
    EXPECT_FALSE(*FileSystem::Attributes(C("dir\\b.tmp")) & FileAttributes::ReadOnly);
    EXPECT_FALSE(fs::exists(tree / "outside" / "made"));
    EXPECT_FALSE(fs::exists(tree / "kept.tmp"));
    EXPECT_TRUE(fs::exists(tree / "plain.tmp"));
    EXPECT_FALSE(OsError::MessageFor(kRefused).empty());

    // The same operations on plain folders still work.
    EXPECT_FALSE(FileSystem::MoveFile(C("plain.tmp"), C("dir.old\\plain.tmp")));
    EXPECT_FALSE(FileSystem::DeleteFile(C("dir.old\\plain.tmp")));
    EXPECT_FALSE(FileSystem::CreateFolders(C("dir.old\\made\\here")));
}

TEST_F(SwappedFolder, TheRecycleBinTakesTheFilesBeforeTheLinkAndNoneThroughIt) {
    TreeBuilder::MakeFile(tree / "first.tmp", 4);
    TreeBuilder::MakeFile(tree / "last.tmp", 5);
    const std::vector<std::string> batch = {C("first.tmp"), C("dir\\a.tmp"), C("last.tmp")};
    EXPECT_EQ(RecycleBin::SendFiles(batch), kRefused);
    EXPECT_FALSE(fs::exists(tree / "first.tmp"));
    EXPECT_TRUE(fs::exists(tree / "last.tmp")) << "a refused file ends the operation";
    EXPECT_EQ(RecycleBin::SendFiles({C("deep\\sub\\c.tmp"), C("last.tmp")}), kRefused);
    EXPECT_TRUE(OutsideIntact());
    EXPECT_FALSE(RecycleBin::ErrorText(kRefused).empty());
}

TEST_F(SwappedFolder, ALinkToAFileIsRemovedAsTheLinkOrNotAtAll) {
    // Windows deletes and moves a link itself; Wine shows a host's link to a file as a plain
    // file and would reach the target, so there the link is refused. Never is the target gone.
    TreeBuilder::MakeLink(tree / "link.tmp", tree / "outside" / "a.tmp");
    TreeBuilder::MakeLink(tree / "link2.tmp", tree / "outside" / "b.tmp");
    TreeBuilder::MakeLink(tree / "link3.tmp", tree / "outside" / "sub" / "c.tmp");
    const OsError deleted = FileSystem::DeleteFile(C("link.tmp"));
    EXPECT_TRUE(deleted ? deleted.code == kRefused : !FileSystem::FileExists(C("link.tmp")));
    const OsError moved = FileSystem::MoveFile(C("link2.tmp"), C("dir.old\\link2.tmp"));
    EXPECT_TRUE(moved ? moved.code == kRefused : FileSystem::FileExists(C("dir.old\\link2.tmp")));
    const int recycled = RecycleBin::SendFiles({C("link3.tmp")});
    EXPECT_TRUE(recycled == 0 || recycled == kRefused) << recycled;
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(SwappedFolder, TheProgramsOwnFoldersAreNamedWithoutLinks) {
    const std::string outside = FinalPath::Resolve(C("outside"));
    EXPECT_EQ(FinalPath::Resolve(C("dir")), outside);
    EXPECT_EQ(FinalPath::Resolve(C("dir\\not yet\\brumo.DAT")), outside + "\\not yet\\brumo.DAT");
    EXPECT_EQ(FinalPath::Resolve("\\\\server\\share\\x"), "\\\\server\\share\\x");
    // So named, they are acted on as usual.
    EXPECT_FALSE(FileSystem::DeleteFile(FinalPath::Resolve(C("dir\\a.tmp"))));
    EXPECT_FALSE(fs::exists(tree / "outside" / "a.tmp"));
}

TEST(Win32FileSystem, ShortNamesOnTheWayAreNoLinks) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "Long Folder Name" / "longer file name.text", 9);
    TreeBuilder::MakeFile(tree / "Long Folder Name" / "second file name.text", 9);
    DriveMap drives({{'C', tree.Root()}});
    const std::string first =
        FileSystem::ShortPathName(drives.Path('C', "Long Folder Name\\longer file name.text"));
    const std::string second =
        FileSystem::ShortPathName(drives.Path('C', "Long Folder Name\\second file name.text"));
    EXPECT_FALSE(FileSystem::DeleteFile(first)) << first;
    EXPECT_EQ(RecycleBin::SendFiles({second}), 0) << second;
    EXPECT_FALSE(fs::exists(tree / "Long Folder Name" / "longer file name.text"));
    EXPECT_FALSE(fs::exists(tree / "Long Folder Name" / "second file name.text"));
}

} // namespace
} // namespace brumo

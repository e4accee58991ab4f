#include "platform/clock.h"
#include "platform/folder.h"
#include "runs/held_files.h"
#include "support/holding_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

class HeldFilesTest : public test::HoldingTreeTest {
protected:
    std::vector<std::string> Originals() {
        std::vector<std::string> paths;
        for (const HeldFile& file : HeldFiles::ListDrive(drives.Root('C')[0]))
            paths.push_back(file.originalPath);
        return paths;
    }
};

TEST_F(HeldFilesTest, HeldFilesAreListedRestoredIntoMissingFoldersAndDeleted) {
    const std::string a = Held("TEMP\\a.tmp", 10);
    const std::string b = Held("b.log", 3);
    const std::string deep = Held("deep\\x\\y.dat", 5);
    TreeBuilder::SetWriteTime(Host(*HoldingPath::Of(a)), 2024, 3, 1);
    TreeBuilder::MakeReadOnly(Host(*HoldingPath::Of(b)));

    const std::vector<HeldFile> files = HeldFiles::ListDrive(drives.Root('C')[0]);
    ASSERT_EQ(Originals(), (std::vector<std::string>{a, b, deep}));
    EXPECT_EQ(files[0].size, 10);
    EXPECT_EQ(files[0].fileDate, *DateTime::EncodeDate(2024, 3, 1) + 0.5);
    const TDateTime now = Clock::Current().Now();
    EXPECT_NEAR(files[0].heldSince, now, 1.0 / 24);
    EXPECT_EQ(HeldFiles::HeldLongerThan(files, 3, files[0].heldSince + 2).size(), 0u);
    EXPECT_EQ(HeldFiles::HeldLongerThan(files, 3, now + 4).size(), 3u);

    // The original folders are gone: they are made again.
    const HeldOutcome restored = HeldFiles::Restore(a, false);
    EXPECT_TRUE(restored.done) << restored.reason;
    EXPECT_EQ(restored.path, a);
    EXPECT_EQ(fs::file_size(Host(a)), 10u);
    EXPECT_FALSE(fs::exists(tree / HoldingFolder::Name / "TEMP")) << "emptied, so removed";
    EXPECT_TRUE(HeldFiles::Delete(b).done);
    EXPECT_EQ(Originals(), (std::vector<std::string>{deep}));
    EXPECT_FALSE(HeldFiles::Restore(b, false).done) << "no longer held";

    // A file there is kept (see the command line's tests); a folder fails even keeping both.
    fs::create_directories(Host(deep));
    EXPECT_EQ(HeldFiles::Restore(deep, true).reason, "A folder is already there");
    EXPECT_EQ(Originals(), (std::vector<std::string>{deep}));
}

// Held case twins are two files, and a twin at the original path is never replaced.
TEST_F(HeldFilesTest, CaseTwinsAreListedApartAndNeverReplaceEachOther) {
    if (!Folder::SpellsAsOnDisk())
        GTEST_SKIP() << "names that differ only in case are one file here";
    const std::string upper = Held("t\\A.TMP", 1);
    const std::string lower = Held("t\\a.tmp", 2);
    EXPECT_EQ(Originals(), (std::vector<std::string>{upper, lower}));
    TreeBuilder::MakeFile(tree / "t" / "a.tmp", 3);
    EXPECT_TRUE(HeldFiles::Restore(upper, false).done);
    EXPECT_FALSE(HeldFiles::Restore(lower, false).done);
    EXPECT_EQ(HeldFiles::Restore(lower, true).path, drives.Path('C', "t\\a (2).tmp"));
    EXPECT_EQ(fs::file_size(tree / "t" / "A.TMP"), 1u);
    EXPECT_EQ(fs::file_size(tree / "t" / "a (2).tmp"), 2u);
    EXPECT_EQ(fs::file_size(tree / "t" / "a.tmp"), 3u);
}

// A link planted in the holding folder is never entered: what lies behind it is neither listed,
// restored nor deleted, and no path leads out of the holding folder.
TEST_F(HeldFilesTest, APlantedLinkIsNeverFollowed) {
    if (!TreeBuilder::LinksSupported())
        GTEST_SKIP() << "links cannot be made here";
    const fs::path outside = tree / "outside";
    TreeBuilder::MakeFile(outside / "secret.txt", 4);
    TreeBuilder::MakeFile(tree / "keep.txt", 2);
    const std::string kept = Held("kept.txt", 1);
    const fs::path holding = Host(*HoldingPath::Of(drives.Path('C', "x"))).parent_path();
    TreeBuilder::MakeLink(holding / "TEMP", outside);
    TreeBuilder::MakeLink(holding / "secret.txt", outside / "secret.txt");

    EXPECT_EQ(Originals(), (std::vector<std::string>{kept, drives.Path('C', "secret.txt")}));
    EXPECT_FALSE(HeldFiles::Restore(drives.Path('C', "TEMP\\secret.txt"), false).done);
    EXPECT_FALSE(HeldFiles::Delete(drives.Path('C', "TEMP\\secret.txt")).done);
    EXPECT_FALSE(HeldFiles::Delete(drives.Path('C', "x\\..\\..\\keep.txt")).done);
    EXPECT_FALSE(HeldFiles::Restore(drives.Path('C', "..\\outside\\secret.txt"), false).done);
    // A link held as a file goes as the link itself (where the system can remove one: Wine
    // cannot).
    HeldFiles::Delete(drives.Path('C', "secret.txt"));
    EXPECT_EQ(fs::file_size(outside / "secret.txt"), 4u);
    EXPECT_EQ(fs::file_size(tree / "keep.txt"), 2u);
    EXPECT_TRUE(TreeBuilder::IsLink(holding / "TEMP"));
}

} // namespace
} // namespace brumo

#include "model/junk_file_type.h"
#include "platform/clock.h"
#include "platform/folder.h"
#include "runs/held_files.h"
#include "runs/recycle_sender.h"
#include "runs/run_file_handler.h"
#include "support/holding_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

// FAT and exFAT keep no change time: it reads as 1601 there.
class NoChangeTimes : public FileOperations {
public:
    std::optional<int64_t> ChangeTime(const std::string&) const override { return 0; }
};

class HeldFilesTest : public test::HoldingTreeTest {
protected:
    std::vector<std::string> Originals() {
        std::vector<std::string> paths;
        for (const HeldFile& file : HeldFiles::ListDrive(drives.Root('C')[0]))
            paths.push_back(file.originalPath);
        return paths;
    }
    // Makes C:\relative and holds it by a real run's holding-folder method.
    std::string HeldByRun(const std::string& relative, int64_t size) {
        const std::string path = drives.Path('C', relative);
        TreeBuilder::MakeFile(Host(path), size);
        RunLog log;
        EXPECT_FALSE(log.Open((tree / "run.log").string(), true));
        RunFileHandler handler{log, RecycleSender::System()};
        handler.StartRun();
        handler.BeginType(MethodHoldingFolder);
        handler.RealFile(path, size);
        EXPECT_EQ(handler.Counters().FilesFailed, 0);
        return path;
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

// Without change times a held file's own record tells since when it is held; a file without
// either is held since a time unknown, and never taken for old. The record goes with the file.
TEST_F(HeldFilesTest, HeldSinceComesFromTheRecordAndIsNeverGuessed) {
    const std::string a = HeldByRun("TEMP\\a.tmp", 4);
    const std::string b = Held("TEMP\\b.tmp", 5); // held before records were kept
    const std::string c = HeldByRun("c.tmp", 6);
    const TDateTime now = Clock::Current().Now();
    const char drive = drives.Root('C')[0];
    const std::vector<HeldFile> files = HeldFiles::ListDrive(drive, nullptr, NoChangeTimes());
    ASSERT_EQ(Originals(), (std::vector<std::string>{a, b, c})) << "records are no held files";
    EXPECT_NEAR(files[0].heldSince, now, 1.0 / 24);
    EXPECT_EQ(files[1].heldSince, 0);
    EXPECT_NEAR(files[2].heldSince, now, 1.0 / 24);
    EXPECT_EQ(HeldFiles::HeldLongerThan(files, 0, now + 1000).size(), 2u);
    EXPECT_NEAR(HeldFiles::ListDrive(drive)[1].heldSince, now, 1.0 / 24) << "the change time tells";

    EXPECT_FALSE(
        HeldFiles::Delete(drives.Path('C', std::string(HoldingFolder::Name) + "\\c.tmp")).done)
        << "a record is no held file";
    EXPECT_TRUE(HeldFiles::Restore(a, false).done);
    EXPECT_TRUE(HeldFiles::Delete(c).done);
    EXPECT_FALSE(fs::exists(tree / HoldingFolder::Name / HoldingFolder::Name));
    // A record that a file held there before left behind (in 1980) gives way to the new one.
    TreeBuilder::MakeDir(tree / HoldingFolder::Name / HoldingFolder::Name);
    std::ofstream(tree / HoldingFolder::Name / HoldingFolder::Name / "d.tmp") << 119600064000000000;
    HeldByRun("d.tmp", 2);
    EXPECT_NEAR(HeldFiles::ListDrive(drive, nullptr, NoChangeTimes())[1].heldSince, now, 1.0 / 24);
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
    // Nor is a link in the records' place: a file's record is not written through it.
    TreeBuilder::MakeLink(holding / HoldingFolder::Name, outside);
    const std::string recorded = HeldByRun("recorded.txt", 3);

    EXPECT_EQ(Originals(),
              (std::vector<std::string>{kept, recorded, drives.Path('C', "secret.txt")}));
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
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

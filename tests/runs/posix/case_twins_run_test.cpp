#include "../cleanup_run_fixture.h"
#include "platform/holding_folder.h"
#include "platform/recycle_bin.h"
#include "runs/run_file_handler.h"
#include "runs/run_texts.h"
#include "support/recycle_probe.h"

#include <algorithm>

namespace brumo {
namespace {

using test::CleanupRunTest;
namespace fs = std::filesystem;

bool Lists(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// On a file system that tells case apart, "A.TMP" and "a.tmp" are two files: both are listed,
// counted and removed by every method, and a held file is never replaced by its twin.
TEST_F(CleanupRunTest, CaseTwinsAreTwoFilesForEveryMethodAndNothingHeldIsLost) {
    const std::vector<std::pair<std::string, int32_t>> methods = {
        {"bin", MethodRecycleBin}, {"hold", MethodHoldingFolder}, {"del", MethodDelete}};
    for (const auto& [folder, method] : methods) {
        File(folder + "\\A.TMP", 1);
        File(folder + "\\a.tmp", 2);
        rows.Add(folder, method, W(folder), {"*.tmp"});
    }
    ASSERT_TRUE(RunToEnd(true));
    std::vector<std::string> lines = test::ReadLogLines(TestLogPath());
    for (const auto& [folder, method] : methods) {
        EXPECT_TRUE(Lists(lines, "\t" + W(folder + "\\A.TMP"))) << folder;
        EXPECT_TRUE(Lists(lines, "\t" + W(folder + "\\a.tmp"))) << folder;
    }
    EXPECT_TRUE(Lists(lines, "Processed 3 junk file types and found 6 junk files."));

    ASSERT_TRUE(RunToEnd(false));
    lines = test::ReadLogLines(LogPath());
    EXPECT_TRUE(Lists(lines, "Processed 3 junk file types and removed 6 junk files."));
    EXPECT_TRUE(test::InRecycleBin(tree / "home" / "data", "A.TMP"));
    EXPECT_TRUE(test::InRecycleBin(tree / "home" / "data", "a.tmp"));
    const fs::path held = tree / "c" / HoldingFolder::Name / "hold";
    EXPECT_EQ(fs::file_size(held / "A.TMP"), 1u);
    EXPECT_EQ(fs::file_size(held / "a.tmp"), 2u);

    // The next run finds a new "a.tmp", and a file that bears a name the holding folder gives:
    // the newer "a.tmp" replaces its own held copy only, and the held "A.TMP" stays.
    File("hold\\a.tmp", 3);
    File("hold\\a (2).tmp", 4);
    ASSERT_TRUE(RunToEnd(false));
    EXPECT_EQ(fs::file_size(held / "A.TMP"), 1u);
    EXPECT_EQ(fs::file_size(held / "a.tmp"), 3u);
    EXPECT_EQ(fs::file_size(held / "a (2).tmp"), 4u);
    for (const auto& [folder, method] : methods)
        EXPECT_TRUE(fs::is_empty(HostOf(folder))) << folder;
}

// The same source path moved again replaces its held copy, also where its folder was written
// in another case; a twin folder's file keeps its own.
TEST_F(CleanupRunTest, OnlyTheSameSourcePathReplacesAHeldFile) {
    File("TEMP\\x.tmp", 1);
    File("temp\\x.tmp", 2);
    rows.Add("hold", MethodHoldingFolder, W(""), {"x.tmp"});
    ASSERT_TRUE(RunToEnd(false));
    File("TEMP\\x.tmp", 3);
    ASSERT_TRUE(RunToEnd(false));

    const fs::path held = tree / "c" / HoldingFolder::Name;
    const std::string records = (held / HoldingFolder::Name).string(); // when each was held
    std::vector<uintmax_t> sizes;
    for (const auto& entry : fs::recursive_directory_iterator(held))
        if (entry.is_regular_file() && entry.path().string().rfind(records, 0) != 0)
            sizes.push_back(entry.file_size());
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<uintmax_t>{2, 3})) << "the newer TEMP\\x.tmp replaced its own";
}

// A file found by the walk that a racer removed before the action is missing, by every
// method: its case twin is never removed in its place.
TEST_F(CleanupRunTest, AFileThatVanishedIsNeverReplacedByItsCaseTwin) {
    File("A.TMP", 1);
    const std::string gone = W("a.tmp");
    EXPECT_EQ(RecycleBin::SendFiles({gone}), OsError::NotFound());
    const std::string missing = RunTexts::FailureDetail(OsError::MessageFor(OsError::NotFound()));
    for (const int32_t method : {MethodDelete, MethodHoldingFolder}) {
        RunLog log;
        ASSERT_FALSE(log.Open(LogPath().string(), false));
        RunFileHandler handler{log, RecycleSender::System()};
        handler.BeginType(method);
        handler.RealFile(gone, 2);
        log.Close();
        EXPECT_EQ(test::ReadLogLines(LogPath()),
                  (std::vector<std::string>{"ERR\t" + gone, missing}));
    }
    EXPECT_EQ(fs::file_size(HostOf("A.TMP")), 1u);
    EXPECT_FALSE(test::InRecycleBin(tree / "home" / "data", "A.TMP"));
}

// A twin that the bin cannot take does not make the file that went look as if it stayed.
TEST(CaseTwinsRecycleTest, ATwinLeftBehindIsNotTakenForTheFileThatWent) {
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}};
    const std::string upper = drives.Path('C', "A.TMP"), lower = drives.Path('C', "a.tmp");
    test::TreeBuilder::MakeFile(tree / "c" / "A.TMP", 1);
    test::TreeBuilder::MakeFile(tree / "c" / "a.tmp", 2);
    test::FakeRecycleSender bin;
    bin.stuck = {lower};
    RunLog log;
    ASSERT_FALSE(log.Open((tree / "run.log").string(), false));
    RunFileHandler handler{log, bin};
    handler.StartRun();
    handler.BeginType(MethodRecycleBin);
    handler.RealFile(upper, 1);
    handler.RealFile(lower, 2);
    handler.RecycleFile("", 0);
    log.Close();
    const std::vector<std::string> lines = test::ReadLogLines(tree / "run.log");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "\t" + upper);
    EXPECT_EQ(lines[1], "ERR\t" + lower);
    EXPECT_EQ(handler.Counters().TotalBytes, 1);
}

} // namespace
} // namespace brumo

#include "../../platform/posix/ended_process.h"
#include "../cleanup_run_fixture.h"
#include "platform/holding_folder.h"
#include "runs/holding_path.h"

#include <csignal>
#include <fstream>
#include <sys/resource.h>

namespace brumo {
namespace {

using test::CleanupRunTest;
using test::TreeBuilder;
namespace fs = std::filesystem;

// Two letters for one folder reach a file twice in one walk: it is sent once, by every method.
TEST_F(CleanupRunTest, AFileReachedUnderTwoDriveLettersIsSentOnce) {
    test::DriveMap two{{'C', tree / "c"}, {'D', tree / "c" / "tr"}};
    for (const int32_t method : {MethodRecycleBin, MethodHoldingFolder, MethodDelete}) {
        SCOPED_TRACE(method);
        File("tr\\a.tmp", 10);
        File("tr\\sub\\b.tmp", 20);
        rows.types.clear();
        rows.checked.clear();
        rows.Add("Two letters", method, "C:\\tr", {"*.tmp"});
        rows.types[0].Folders.push_back({"D:", FolderAndSubfolders});
        fs::remove(LogPath());
        ASSERT_TRUE(RunToEnd(false));
        const std::vector<std::string> lines = test::ReadLogLines(LogPath());
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.begin() + 7),
                  (std::vector<std::string>{"\tC:\\tr\\a.tmp", "\tC:\\tr\\sub\\b.tmp"}));
        EXPECT_EQ(lines[7], Stars());
        EXPECT_EQ(front.messages.back().text.rfind(
                      "Brumo processed 1 junk file types and removed 2 junk files.", 0),
                  0u);
    }
}

TEST_F(CleanupRunTest, ALogThatFailsMidwayEndsTheRunAndRemovesNothingMore) {
    const std::string longName(150, 'n');
    for (int i = 0; i < 200; ++i)
        File("a\\" + std::to_string(100 + i) + longName + ".tmp", 1);
    rows.Add("Delete", MethodDelete, "C:\\a", {"*.tmp"});
    rows.Add("Never", MethodDelete, "C:\\a", {"*.tmp"});

    // Files may not grow past 4 KB for a while: the log fails after some twenty lines.
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool started = RunToEnd(false);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(started);

    EXPECT_FALSE(run->Running());
    EXPECT_TRUE(run->LogFailed());
    int remaining = 0;
    for (const auto& entry : fs::directory_iterator(HostOf("a")))
        remaining += entry.is_regular_file() ? 1 : 0;
    // The write that failed may have left part of its line behind.
    std::ifstream in(LogPath(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    int logged = 0;
    for (const std::string& line : lines)
        logged += line.rfind("\tC:\\a\\", 0) == 0 ? 1 : 0;
    EXPECT_GT(remaining, 100);
    // At most the file whose line could not be written went unlogged.
    EXPECT_LE(200 - remaining, logged + 1);
    EXPECT_EQ(
        std::find(lines.begin(), lines.end(), "\"Never\" files have been deleted permanently"),
        lines.end());
    ASSERT_EQ(front.messages.size(), 1u);
    EXPECT_EQ(front.messages[0].icon, MessageIcon::Error);
    EXPECT_NE(front.messages[0].text.find(LogPath().string()), std::string::npos);
    EXPECT_EQ(front.captions.back(), "&Clean up");
}

TEST_F(CleanupRunTest, BothLogsAreWrittenThroughTheirLinks) {
    fs::create_directories(tree / "kept");
    TreeBuilder::MakeFile(tree / "kept" / "test.txt", 3);
    fs::create_symlink("kept/test.txt", TestLogPath());
    fs::create_symlink("kept/new.txt", LogPath()); // nothing there yet
    File("a\\x.tmp", 1);
    rows.Add("Delete", MethodDelete, "C:\\a", {"*.tmp"});

    ASSERT_TRUE(RunToEnd(true));
    ASSERT_TRUE(RunToEnd(false));
    EXPECT_FALSE(run->LogFailed());
    EXPECT_TRUE(fs::is_symlink(TestLogPath()));
    EXPECT_TRUE(fs::is_symlink(LogPath()));
    for (const char* name : {"test.txt", "new.txt"}) {
        const std::vector<std::string> lines = test::ReadLogLines(tree / "kept" / name);
        EXPECT_NE(std::find(lines.begin(), lines.end(), "\t" + W("a\\x.tmp")), lines.end()) << name;
    }
    EXPECT_FALSE(fs::exists(HostOf("a\\x.tmp")));
}

TEST_F(CleanupRunTest, AHeldCopyWithTheLongestNameIsReplacedToo) {
    // No name with " (2)" added fits beside it.
    const std::string name = "a\\" + std::string(250, 'n') + ".tmp";
    rows.Add("Hold", MethodHoldingFolder, "C:\\a", {"*.tmp"});
    for (const int64_t size : {10, 20}) {
        File(name, size);
        ASSERT_TRUE(RunToEnd(false));
        EXPECT_EQ(run->Outcome().filesFailed, 0);
    }
    EXPECT_EQ(fs::file_size(test::Host(*HoldingPath::Of(W(name)))), 20u);
}

// A real run sweeps the partial copy a killed move left in a holding folder, and only once its
// writer has gone; a held file that only looks like an older copy stays.
TEST_F(CleanupRunTest, ARealRunRemovesPartialCopiesWhoseWriterHasEnded) {
    const pid_t ended = test::EndedProcessId();
    ASSERT_GT(ended, 0);
    const fs::path held = tree / "c" / HoldingFolder::Name / "a";
    const fs::path dead = held / (".b.tmp\\" + std::to_string(ended) + "-0.tmp");
    const fs::path live = held / (".c.tmp\\" + std::to_string(::getpid()) + "-1.tmp");
    const fs::path genuine = held / (".e.tmp." + std::to_string(ended) + "-0.tmp");
    for (const fs::path& path : {dead, live, genuine})
        TreeBuilder::MakeFile(path, 5);
    rows.Add("Hold", MethodHoldingFolder, "C:\\a", {"*.tmp"});
    File("a\\d.tmp", 10);
    ASSERT_TRUE(RunToEnd(false));
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(genuine));
    EXPECT_EQ(fs::file_size(held / "d.tmp"), 10u);
}

} // namespace
} // namespace brumo

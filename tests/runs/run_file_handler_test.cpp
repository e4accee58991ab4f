#include "model/junk_file_type.h"
#include "platform/file_system.h"
#include "platform/os_error.h"
#include "platform/recycle_bin.h"
#include "run_test_support.h"
#include "runs/holding_path.h"
#include "runs/line_escape.h"
#include "runs/run_file_handler.h"
#include "runs/run_texts.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

class RunFileHandlerTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}};
    test::ScopedEnv home{"HOME", (tree / "home").string()};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "home" / "data").string()};
    test::FakeRecycleSender fakeBin;
    RunLog log;
    RunFileHandler handler{log, fakeBin};
    DriveRecycleStats stats;

    void SetUp() override {
        fs::create_directories(tree / "c");
        fs::create_directories(tree / "home" / "data");
        ASSERT_FALSE(log.Open((tree / "run.log").string(), false));
        handler.SetRecycleStats(&stats);
        handler.StartRun();
    }

    // Makes "C:\<relative>" with the size given and returns its Windows path.
    std::string File(const std::string& relative, int64_t size = 0) {
        std::string host = relative;
        for (char& c : host)
            if (c == '\\')
                c = '/';
        TreeBuilder::MakeFile(tree / "c" / host, size);
        return drives.Path('C', relative);
    }
    std::vector<std::string> Lines() {
        log.Close();
        return test::ReadLogLines(tree / "run.log");
    }
    const RunCounters& Counts() const { return handler.Counters(); }
};

TEST_F(RunFileHandlerTest, OnlyTheFilesTheBinTookAreLoggedAsSent) {
    const std::string a = File("t\\1.tmp", 100), b = File("t\\2.tmp", 200),
                      c = File("t\\3.tmp", 300), d = File("t\\4.tmp", 400);
    fakeBin.stuck = {b};
    handler.BeginType(MethodRecycleBin);
    for (const std::string& path : {a, b, c, d})
        handler.RealFile(path, static_cast<int64_t>(fs::file_size(test::Host(path))));
    handler.RealFile(drives.Path('C', "t\\gone.tmp"), 50); // vanished since the search: not counted
    EXPECT_TRUE(fakeBin.calls.empty()) << "files wait in the batch";
    EXPECT_EQ(Counts().FilesProcessed, 4);
    fs::rename(test::Host(c), tree / "elsewhere.tmp"); // moved away after it was queued

    handler.RecycleFile("", 0);
    ASSERT_EQ(fakeBin.calls.size(), 1u);
    EXPECT_EQ(fakeBin.calls[0], (std::vector<std::string>{a, b, c, d}));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "\t" + a, "ERR\t" + b, "\t* The file is in use by another program", "ERR\t" + c,
                  "\t* The system cannot find the file specified", "\t" + d}));
    EXPECT_EQ(Counts().FilesProcessed, 2);
    EXPECT_EQ(Counts().FilesRestorable, 2);
    EXPECT_EQ(Counts().TypeFileCount, 2);
    EXPECT_EQ(Counts().FilesFailed, 2);
    EXPECT_EQ(Counts().TotalBytes, 500);
    EXPECT_TRUE(fs::exists(test::Host(b)));
    EXPECT_TRUE(handler.Batch().Empty());
}

TEST_F(RunFileHandlerTest, AnImmutableFileStaysOutOfTheRealTrash) {
    const std::string a = File("t\\a.tmp", 10), b = File("t\\b.tmp", 20), c = File("t\\c.tmp", 30);
    const std::string lockCommand = "chattr +i '" + test::Host(b).string() + "' 2>/dev/null";
    if (!fs::exists("/dev/null") || std::system(lockCommand.c_str()) != 0)
        GTEST_SKIP() << "the file system cannot make a file immutable";
    RunFileHandler real{log, RecycleSender::System()};
    real.StartRun();
    real.BeginType(MethodRecycleBin);
    real.RealFile(a, 10);
    real.RealFile(b, 20);
    real.RealFile(c, 30);
    real.RecycleFile("", 0);
    [[maybe_unused]] const int unfrozen =
        std::system(("chattr -i '" + test::Host(b).string() + "'").c_str());

    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "\t" + a);
    EXPECT_EQ(lines[1], "ERR\t" + b);
    EXPECT_EQ(lines[2].rfind("\t* ", 0), 0u);
    EXPECT_EQ(lines[3], "\t" + c);
    EXPECT_FALSE(fs::exists(test::Host(a)));
    EXPECT_TRUE(fs::exists(test::Host(b)));
    EXPECT_FALSE(fs::exists(test::Host(c)));
    EXPECT_EQ(real.Counters().FilesFailed, 1);
    EXPECT_EQ(real.Counters().TotalBytes, 40);
}

TEST_F(RunFileHandlerTest, APathThatWouldOverfillTheBatchSendsItFirst) {
    // 205-character paths: 79 fill the batch (79 x 206 = 16274 bytes); the 80th sends them.
    handler.BeginType(MethodRecycleBin);
    const size_t folder = drives.Path('C', "t\\").size(); // 5 for "C:\\t\\"
    for (int i = 0; i < 100; ++i) {
        const std::string name = std::to_string(1000 + i) + std::string(201 - folder, 'x');
        handler.RealFile(File("t\\" + name), 0);
    }
    ASSERT_EQ(fakeBin.calls.size(), 1u);
    EXPECT_EQ(fakeBin.calls[0].size(), 79u);
    handler.RecycleFile("", 0);
    ASSERT_EQ(fakeBin.calls.size(), 2u);
    EXPECT_EQ(fakeBin.calls[1].size(), 21u);
    EXPECT_EQ(Lines().size(), 100u);
}

TEST_F(RunFileHandlerTest, MovingTheSameFileAgainReplacesTheHeldCopy) {
    const std::string path = File("TEMP\\a.tmp", 10);
    handler.BeginType(MethodHoldingFolder);
    handler.RealFile(path, 10);
    const fs::path held = test::Host(*HoldingPath::Of(path));
    ASSERT_EQ(fs::file_size(held), 10u);
    TreeBuilder::MakeReadOnly(held);

    File("TEMP\\a.tmp", 20);
    handler.BeginType(MethodHoldingFolder); // a later type: a type sends a file once
    handler.RealFile(path, 20);
    EXPECT_EQ(fs::file_size(held), 20u);
    EXPECT_FALSE(fs::exists(test::Host(path)));

    // Gone since the walk found it: the held copy must outlive the failed move.
    handler.BeginType(MethodHoldingFolder);
    handler.RealFile(path, 5);
    ASSERT_TRUE(fs::exists(held));
    EXPECT_EQ(fs::file_size(held), 20u);
    EXPECT_EQ(std::distance(fs::directory_iterator(held.parent_path()), {}), 1);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "\t" + path);
    EXPECT_EQ(lines[2], "ERR\t" + path);
    EXPECT_EQ(Counts().FilesRestorable, 2);
    EXPECT_EQ(Counts().TotalBytes, 30);
}

// A held file named like a folder a later file needs stays; that file is held beside it.
TEST_F(RunFileHandlerTest, AHeldFileInTheWayOfAFolderIsKept) {
    const std::string first = File("t\\x", 3);
    handler.BeginType(MethodHoldingFolder);
    handler.RealFile(first, 3);
    const std::string second = File("t\\x\\a.tmp", 4);
    handler.RealFile(second, 4);
    const std::string beside = *HoldingPath::Of(drives.Path('C', "t\\x (2)\\a.tmp"));
    EXPECT_EQ(fs::file_size(test::Host(*HoldingPath::Of(first))), 3u);
    EXPECT_EQ(fs::file_size(test::Host(beside)), 4u);
    EXPECT_FALSE(fs::exists(test::Host(second)));
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "\t" + second);
    EXPECT_EQ(lines[2], RunTexts::HeldAsDetail(beside));
    EXPECT_EQ(Counts().FilesFailed, 0);
}

TEST_F(RunFileHandlerTest, AReadOnlyFileFailsToDeleteButMoves) {
    const std::string path = File("t\\ro.tmp", 7);
    TreeBuilder::MakeReadOnly(test::Host(path));
    handler.BeginType(MethodDelete);
    handler.RealFile(path, 7);
    EXPECT_TRUE(fs::exists(test::Host(path)));
    EXPECT_EQ(Counts().FilesFailed, 1);
    EXPECT_EQ(Counts().FilesProcessed, 0);

    handler.BeginType(MethodHoldingFolder);
    handler.RealFile(path, 7);
    EXPECT_FALSE(fs::exists(test::Host(path)));
    EXPECT_EQ(Counts().FilesProcessed, 1);
    EXPECT_EQ(Counts().TotalBytes, 7);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "ERR\t" + path,
                           RunTexts::FailureDetail(OsError::MessageFor(OsError::AccessDenied())),
                           "\t" + path}));
}

TEST_F(RunFileHandlerTest, ATestRunListsAFileOnceAndMeasuresWhatTheBinWouldGet) {
    handler.BeginType(MethodRecycleBin);
    handler.TestFile("C:\\t\\a.tmp", 10);
    handler.TestFile("", 99);
    handler.BeginType(MethodDelete);
    handler.TestFile("c:\\t\\a.tmp", 10);
    handler.TestFile("C:\\t\\b.tmp", 5);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\tC:\\t\\a.tmp", "\t(c:\\t\\a.tmp) dupe",
                                                 "\tC:\\t\\b.tmp"}));
    EXPECT_EQ(Counts().FilesProcessed, 2);
    EXPECT_EQ(Counts().FilesRestorable, 1);
    EXPECT_EQ(Counts().TypeFileCount, 1);
    EXPECT_EQ(Counts().TotalBytes, 15);
    EXPECT_EQ(stats[2].PendingBytes, 10);
}

TEST_F(RunFileHandlerTest, ANameWithControlCharactersTakesOneVisibleLine) {
    const std::string odd = drives.Path('C', "t\\two\nlines\tand ^caret.tmp");
    handler.BeginType(MethodDelete);
    handler.TestFile(odd, 3);
    handler.RealFile(odd, 3); // no such file: an error line, escaped the same way
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "\t" + drives.Path('C', "t\\two^Jlines^Iand ^^caret.tmp"));
    EXPECT_EQ(lines[1], "ERR" + lines[0]);
    EXPECT_EQ(LineEscape::Undo(lines[0].substr(1)), odd);
    EXPECT_EQ(LineEscape::Undo(LineEscape::Of("\r\x1f\x7f^")), "\r\x1f\x7f^");
}

TEST_F(RunFileHandlerTest, NothingIsRemovedOnceTheLogFailed) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no device that is always full";
    const std::string a = File("t\\a.tmp", 1), b = File("t\\b.tmp", 2), c = File("t\\c.tmp", 3),
                      d = File("t\\d.tmp", 4);
    RunLog full;
    ASSERT_FALSE(full.Open("/dev/full", true));
    int failures = 0;
    full.SetFailureHandler([&] { ++failures; });
    RunFileHandler onFull{full, fakeBin};
    onFull.StartRun();

    onFull.BeginType(MethodRecycleBin);
    onFull.RealFile(a, 1);
    onFull.RealFile(b, 2);
    EXPECT_FALSE(full.WriteLine("header"));
    onFull.RecycleFile("", 0);
    EXPECT_TRUE(fakeBin.calls.empty());
    EXPECT_EQ(onFull.Counters().FilesProcessed, 0);
    EXPECT_EQ(onFull.Counters().TotalBytes, 0);

    onFull.BeginType(MethodDelete);
    onFull.RealFile(c, 3);
    onFull.RealFile(d, 4);
    for (const std::string& path : {a, b, c, d})
        EXPECT_TRUE(fs::exists(test::Host(path))) << path;
    EXPECT_EQ(failures, 1);
    EXPECT_NE(full.Error().code, 0);
}

TEST_F(RunFileHandlerTest, AFolderSwappedForALinkLeavesTheFilesOutsideAlone) {
    if (!TreeBuilder::LinksSupported())
        GTEST_SKIP() << "this system makes no links for a normal user";
    const std::string path = File("dir\\a.tmp", 1);
    TreeBuilder::MakeFile(tree / "outside" / "a.tmp", 1);
    fs::rename(tree / "c" / "dir", tree / "c" / "dir.old");
    TreeBuilder::MakeLink(tree / "c" / "dir", tree / "outside");

    RunFileHandler real{log, RecycleSender::System()};
    real.StartRun();
    for (int method : {MethodDelete, MethodHoldingFolder, MethodRecycleBin}) {
        real.BeginType(method);
        real.RealFile(path, 1);
        real.RecycleFile("", 0);
        EXPECT_TRUE(fs::exists(tree / "outside" / "a.tmp")) << "method " << method;
    }
    EXPECT_TRUE(fs::exists(tree / "c" / "dir.old" / "a.tmp"));
    EXPECT_TRUE(TreeBuilder::IsLink(tree / "c" / "dir"));
}

} // namespace
} // namespace brumo

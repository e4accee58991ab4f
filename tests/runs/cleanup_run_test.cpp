#include "cleanup_run_fixture.h"
#include "support/recycle_probe.h"

#include <gtest/gtest.h>

#include <cctype>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fstream>
#include <mutex>

namespace brumo {
namespace {

using test::CleanupRunTest;
using test::TreeBuilder;
namespace fs = std::filesystem;

TEST_F(CleanupRunTest, RealRunLogsRecycleBinFilesWhenTheirTypeEnds) {
    File("one\\a.tmp", 10);
    File("one\\b.tmp", 20);
    File("two\\c.tmp", 30);
    rows.Add("Old files", MethodRecycleBin, W("one"), {"*.tmp"});
    rows.Add("Temp", MethodDelete, W("two"), {"*.tmp"});
    ASSERT_TRUE(RunToEnd(false));

    std::vector<std::string> lines = test::ReadLogLines(LogPath());
    ASSERT_EQ(lines.size(), 18u);
    std::sort(lines.begin() + 5, lines.begin() + 7);
    const std::vector<std::string> expected = {
        Stars(),
        "Brumo Log - Monday, December 7, 2026  02:05:09 pm",
        Stars(),
        "\"Old files\" files have been sent to Recycle Bin",
        Dashes(),
        "\t" + W("one\\a.tmp"),
        "\t" + W("one\\b.tmp"),
        "",
        "\"Temp\" files have been deleted permanently",
        Dashes(),
        "\t" + W("two\\c.tmp"),
        Stars(),
        "Brumo finished at 02:05:09 pm",
        "Processed 2 junk file types and removed 3 junk files.",
        "TOTAL: 60 bytes  (files may occupy more space on disk)",
        Stars(),
        "",
        "",
    };
    EXPECT_EQ(lines, expected);

    EXPECT_FALSE(fs::exists(HostOf("one\\a.tmp")));
    EXPECT_TRUE(test::InRecycleBin(tree / "home" / "data", "a.tmp"));
    EXPECT_FALSE(fs::exists(HostOf("two\\c.tmp")));
    ASSERT_EQ(front.messages.size(), 1u);
    EXPECT_EQ(front.messages[0].FullText(),
              "Brumo processed 2 junk file types and removed 3 junk files.\r\nWhen all of these "
              "files are permanently deleted, you will realize a savings of at least 60 "
              "bytes\r\n\r\nDo you want to view the log file?");
    EXPECT_EQ(front.selected, (std::vector<int>{0, 1}));
    EXPECT_EQ(front.captions, (std::vector<std::string>{"Stop", "&Clean up"}));
    EXPECT_EQ(front.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(front.nowProcessing.front(), "Now processing Old files...");
    EXPECT_TRUE(front.opened.empty());

    // The log grows run by run; a run that finds nothing has no TOTAL line.
    front.answer = MessageAnswer::Yes;
    ASSERT_TRUE(RunToEnd(false));
    lines = test::ReadLogLines(LogPath());
    ASSERT_EQ(lines.size(), 18u + 14u);
    EXPECT_EQ(lines[18], Stars());
    EXPECT_EQ(lines[18 + 10], "Processed 2 junk file types and removed 0 junk files.");
    EXPECT_EQ(lines[18 + 11], Stars());
    EXPECT_EQ(front.messages.back().text,
              "Brumo processed 2 junk file types and removed 0 junk files.");
    EXPECT_EQ(front.opened, (std::vector<std::string>{LogPath().string()}));
}

// A type whose folder entries overlap (a folder and its subfolder, the folder in another case)
// sends each file once by every method: one log line each, no error, the right totals.
TEST_F(CleanupRunTest, OverlappingFolderEntriesSendEachFileOnceByEveryMethod) {
    for (const int32_t method : {MethodRecycleBin, MethodHoldingFolder, MethodDelete}) {
        SCOPED_TRACE(method);
        File("tr\\a.tmp", 10);
        File("tr\\sub\\b.tmp", 20);
        File("tr\\sub\\c.tmp", 30);
        rows.types.clear();
        rows.checked.clear();
        rows.Add("Overlap", method, W("tr"), {"*.tmp"});
        rows.types[0].Folders.push_back({W("tr\\sub"), FolderAndSubfolders});
        rows.types[0].Folders.push_back({W("TR"), FolderAndSubfolders});
        fs::remove(LogPath());
        ASSERT_TRUE(RunToEnd(false));

        const std::vector<std::string> lines = test::ReadLogLines(LogPath());
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& line) { return line.rfind('\t', 0) == 0; }),
                  3);
        EXPECT_EQ(std::count(lines.begin(), lines.end(),
                             "TOTAL: 60 bytes  (files may occupy more "
                             "space on disk)"),
                  1);
        EXPECT_EQ(front.messages.back().text.rfind(
                      "Brumo processed 1 junk file types and removed 3 junk files.", 0),
                  0u)
            << front.messages.back().text;
        for (const char* name : {"tr\\a.tmp", "tr\\sub\\b.tmp", "tr\\sub\\c.tmp"})
            EXPECT_FALSE(fs::exists(HostOf(name))) << name;
    }
}

TEST_F(CleanupRunTest, TestRunListsAFileOfTwoTypesOnceAndEndsWithStatistics) {
    const char letter = drives.Root('C')[0]; // the drive the tree lies on
    settings.drivesWithSetting = {static_cast<char>(std::toupper(letter))};
    File("x\\a.tmp", 10);
    File("x\\a.txt", 5);
    rows.Add("A", MethodRecycleBin, W("x"), {"*.tmp"});
    rows.Add("B", MethodDelete, W("x"), {"*.tmp", "*.txt"});
    fs::create_directories(TestLogPath().parent_path());
    TreeBuilder::MakeFile(TestLogPath(), 100000); // made anew
    ASSERT_TRUE(RunToEnd(true));

    const std::vector<std::string> lines = test::ReadLogLines(TestLogPath());
    ASSERT_EQ(lines.size(), 19u);
    const std::vector<std::string> expected = {
        Stars(),
        "Brumo TEST Log - Monday, December 7, 2026  02:05:09 pm",
        Stars(),
        "\"A\" files would have been sent to Recycle Bin",
        Dashes(),
        "\t" + W("x\\a.tmp"),
        "",
        "\"B\" files would have been deleted permanently",
        Dashes(),
        "\t(" + W("x\\a.tmp") + ") dupe",
        "\t" + W("x\\a.txt"),
        Stars(),
        "Brumo finished testing at 02:05:09 pm",
        "Processed 2 junk file types and found 2 junk files.",
        "TOTAL: 15 bytes  (files may occupy more space on disk)",
        Stars(),
        "Recycle Bin statistics:",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 17), expected);
    const std::string drive{static_cast<char>(std::tolower(letter)), ':', '\\'};
    EXPECT_EQ(lines[17].rfind(drive + "     10 bytes, Size: ", 0), 0u) << lines[17];
    EXPECT_EQ(lines[17].substr(lines[17].size() - 5), "(10%)");
    EXPECT_EQ(lines[18], Stars()) << "no empty lines after the statistics";
    EXPECT_TRUE(fs::exists(HostOf("x\\a.tmp")));
    EXPECT_TRUE(fs::exists(HostOf("x\\a.txt")));
    ASSERT_EQ(front.messages.size(), 1u);
    EXPECT_EQ(front.messages[0].FullText(),
              "Brumo tested 2 junk file types and found 2 junk files.\r\nIf all of these files "
              "were permanently deleted, you would realize a savings of at least 15 bytes."
              "\r\n\r\nDo you want to view the test log?");
    EXPECT_EQ(front.messages[0].helpContext, 14);
}

TEST_F(CleanupRunTest, StoppingDuringTheSecondOfThreeTypesEndsTheRunThere) {
    File("1\\a.tmp", 1);
    for (int i = 0; i < 40; ++i)
        File("2\\f" + std::to_string(i) + ".tmp", 2);
    File("3\\c.tmp", 3);
    rows.Add("First", MethodDelete, W("1"), {"*.tmp"});
    rows.Add("Second", MethodDelete, W("2"), {"*.tmp"});
    rows.Add("Third", MethodDelete, W("3"), {"*.tmp"});
    std::atomic<bool> stopped{false};
    front.onCount = [&](int32_t count) {
        // The first file of the second type: press Stop on the main thread.
        if (front.selected.size() == 2 && count == 1 && !stopped.exchange(true))
            queue.Invoke([&] { run->Stop(); });
    };
    ASSERT_TRUE(RunToEnd(false));

    const std::vector<std::string> lines = test::ReadLogLines(LogPath());
    const auto halted =
        std::find(lines.begin(), lines.end(), "**** PROCESSING HALTED BY USER ****");
    ASSERT_NE(halted, lines.end());
    const auto second =
        std::find(lines.begin(), lines.end(), "\"Second\" files have been deleted permanently");
    ASSERT_LT(second + 2, halted) << "the halted line follows the type's first file line";
    EXPECT_EQ((second + 2)->rfind("\t" + W("2\\"), 0), 0u);
    EXPECT_EQ(*(halted + 1), "");
    const auto footer = std::find(halted, lines.end(), Stars());
    ASSERT_NE(footer, lines.end());
    for (auto line = halted + 2; line != footer; ++line)
        EXPECT_EQ(line->rfind("\t" + W("2\\"), 0), 0u) << *line;
    EXPECT_EQ(
        std::find(lines.begin(), lines.end(), "\"Third\" files have been deleted permanently"),
        lines.end());
    EXPECT_EQ(*(footer + 2), "Processed 2 junk file types and removed " +
                                 std::to_string(run->Outcome().filesProcessed) + " junk files.");
    EXPECT_TRUE(fs::exists(HostOf("3\\c.tmp")));
    EXPECT_EQ(run->Outcome().typesProcessed, 2);
    ASSERT_EQ(front.messages.size(), 1u);
    EXPECT_EQ(front.messages[0].text.rfind("Before you stopped it, Brumo processed 2 junk file "
                                           "types and removed ",
                                           0),
              0u);
    EXPECT_NE(front.messages[0].text.find("\r\nBy permanently deleting these files you have "
                                          "realized a savings of at least "),
              std::string::npos);
}

TEST_F(CleanupRunTest, ARecycleBinSettingsErrorDisablesRecycleBinTypes) {
    auto info = RecycleSettingsCheck::DefaultPurgeInfo();
    info[62] = 0; // zero percent for all drives
    settings.value = std::vector<uint8_t>(info.begin(), info.end());
    File("a\\x.tmp", 1);
    rows.Add("One", MethodRecycleBin, W("a"), {"*.tmp"});
    rows.Add("Two", MethodRecycleBin, W("a"), {"*.tmp"});
    rows.Add("Off", MethodRecycleBin, W("a"), {"*.tmp"});
    rows.types[2].Enabled = false;
    rows.checked[2] = false;

    EXPECT_FALSE(RunToEnd(false));
    ASSERT_EQ(front.messages.size(), 1u);
    EXPECT_EQ(front.messages[0].FullText(),
              "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use one setting "
              "for all drives. It is either disabled, or it is set to use zero percent of each "
              "drive.\r\n\r\n2 junk file types that rely on the Recycle Bin have been "
              "disabled.\r\n\r\nThere are no enabled junk file types to process.\r\n\r\nPlease "
              "see the help for instructions on correcting this problem");
    EXPECT_EQ(front.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(front.messages[0].helpContext, 12);
    EXPECT_FALSE(rows.checked[0] || rows.checked[1] || rows.types[0].Enabled);
    EXPECT_FALSE(fs::exists(LogPath()));
    EXPECT_TRUE(front.captions.empty());

    // With another type left the user is asked; Yes runs what remains.
    rows.Add("Delete", MethodDelete, W("a"), {"*.tmp"});
    rows.types[0].Enabled = rows.checked[0] = true;
    front.answer = MessageAnswer::Yes;
    ASSERT_TRUE(RunToEnd(false));
    ASSERT_EQ(front.messages.size(), 3u);
    EXPECT_EQ(front.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(front.messages[1].question, "\r\n\r\nDo you want to proceed?");
    EXPECT_NE(front.messages[1].text.find("\r\n\r\n1 junk file types that rely on the Recycle "
                                          "Bin have been disabled.\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(front.messages[2].text.rfind("Brumo processed 1 junk file types and removed 1 ", 0),
              0u);
    EXPECT_EQ(front.selected, (std::vector<int>{3}));
}

TEST_F(CleanupRunTest, ALogThatCannotBeCreatedStartsNoRun) {
    File("a\\x.tmp", 1);
    rows.Add("Delete", MethodDelete, W("a"), {"*.tmp"});
    CleanupRunSetup setup;
    setup.front = &front;
    setup.types = &rows;
    setup.mainThread = &queue;
    setup.recycleSettings = &check;
    setup.logPath = (tree / "missing" / "brumo.LOG.TXT").string();
    CleanupRun nowhere(std::move(setup));
    EXPECT_FALSE(nowhere.Start(false));
    EXPECT_FALSE(nowhere.Running());
    EXPECT_TRUE(fs::exists(HostOf("a\\x.tmp")));
    ASSERT_EQ(front.messages.size(), 1u);
    EXPECT_NE(front.messages[0].text.find((tree / "missing" / "brumo.LOG.TXT").string()),
              std::string::npos);
    EXPECT_EQ(front.captions, (std::vector<std::string>{"Stop", "&Clean up"}));
    EXPECT_EQ(front.busy, (std::vector<bool>{true, false}));
}

TEST_F(CleanupRunTest, ASecondRealRunIsRefusedWhileOneRuns) {
    File("a\\x.tmp", 1);
    File("a\\y.tmp", 1);
    rows.Add("Delete", MethodDelete, W("a"), {"x.tmp"});
    test::RecordingFront otherFront;
    CleanupRunSetup setup;
    setup.front = &otherFront;
    setup.types = &rows;
    setup.mainThread = &queue;
    setup.recycleSettings = &check;
    setup.logPath = LogPath().string();
    setup.testLogPath = (tree / "other.TEST.TXT").string();
    CleanupRun second(std::move(setup));

    ASSERT_TRUE(run->Start(false));
    EXPECT_FALSE(second.Start(false));
    ASSERT_EQ(otherFront.messages.size(), 1u);
    EXPECT_EQ(otherFront.messages[0].text, RunTexts::RunInProgressMessage().text);
    EXPECT_TRUE(otherFront.captions.empty());
    EXPECT_TRUE(second.Start(true)) << "a test run removes nothing and may still run";
    queue.Run([&] { return !run->Running() && !second.Running(); }, std::chrono::milliseconds(20));

    rows.Add("Delete y", MethodDelete, W("a"), {"y.tmp"});
    EXPECT_TRUE(RunToEnd(false)) << "the lock goes with the run";
    EXPECT_FALSE(fs::exists(HostOf("a\\y.tmp")));
}

} // namespace
} // namespace brumo

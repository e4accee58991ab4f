#include "../fake_recycle_settings.h"
#include "cli/task_queue.h"
#include "platform/clock.h"
#include "platform/locale_info.h"
#include "run_test_support.h"
#include "runs/cleanup_run.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fstream>
#include <mutex>
#include <sys/resource.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

// The rows of a list: types with check boxes.
class TypeRows : public RunTypeList {
public:
    std::vector<TJunkFileObj> types;
    std::vector<bool> checked;

    void Add(const std::string& name, int32_t method, const std::string& folder,
             std::vector<std::string> specs) {
        TJunkFileObj type;
        type.Name = name;
        type.Method = method;
        type.Folders = {FolderEntry{folder, FolderAndSubfolders}};
        type.Specs = std::move(specs);
        types.push_back(type);
        checked.push_back(true);
    }
    int Count() const override { return static_cast<int>(types.size()); }
    TJunkFileObj* TypeAt(int index) override { return &types[index]; }
    bool Checked(int index) const override { return checked[index]; }
    void SetChecked(int index, bool value) override { checked[index] = value; }
};

// A front that records what the run shows and answers its questions as told.
class RecordingFront : public RunFront {
public:
    std::vector<RunMessage> messages;
    std::vector<int> selected;
    std::vector<std::string> captions;
    std::vector<bool> busy;
    std::vector<std::string> nowProcessing;
    std::vector<std::string> opened;
    MessageAnswer answer = MessageAnswer::No;
    std::function<void(int32_t)> onCount; // on the worker thread
    std::atomic<int32_t> lastCount{0};

    void SelectType(int index) override { selected.push_back(index); }
    void SetStatusPanel(int panel, const std::string& text) override {
        if (panel == 1)
            nowProcessing.push_back(text);
    }
    void ShowTypeFileCount(int32_t count) override {
        lastCount = count;
        if (onCount)
            onCount(count);
    }
    void SetBusy(bool value) override { busy.push_back(value); }
    void SetCommandCaption(const std::string& caption) override { captions.push_back(caption); }
    MessageAnswer ShowMessage(const RunMessage& message) override {
        messages.push_back(message);
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
    }
    void OpenLog(const std::string& path) override { opened.push_back(path); }
};

class CleanupRunTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}};
    test::ScopedEnv home{"HOME", (tree / "home").string()};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "home" / "data").string()};
    FixedClock clock{*DateTime::EncodeDate(2026, 12, 7) + DateTime::EncodeTime({14, 5, 9, 0})};
    test::FakeRecycleSettings settings;
    RecycleSettingsCheck check{settings};
    TaskQueue queue;
    RecordingFront front;
    TypeRows rows;
    std::unique_ptr<CleanupRun> run;

    void SetUp() override {
        fs::create_directories(tree / "c");
        fs::create_directories(tree / "home" / "data");
        Clock::Install(&clock);
        LocaleInfo::PinEnglish(true);
        CleanupRunSetup setup;
        setup.front = &front;
        setup.types = &rows;
        setup.mainThread = &queue;
        setup.recycleSettings = &check;
        setup.logPath = LogPath().string();
        setup.testLogPath = TestLogPath().string();
        run = std::make_unique<CleanupRun>(std::move(setup));
    }
    void TearDown() override {
        Clock::Install(nullptr);
        LocaleInfo::PinEnglish(false);
    }

    fs::path LogPath() const { return tree / "brumo.LOG.TXT"; }
    fs::path TestLogPath() const { return tree / "brumo.TEST.TXT"; }
    fs::path HostOf(const std::string& relative) const {
        std::string host = relative;
        std::replace(host.begin(), host.end(), '\\', '/');
        return tree / "c" / host;
    }
    void File(const std::string& relative, int64_t size) {
        TreeBuilder::MakeFile(HostOf(relative), size);
    }
    // Runs the clean-up to its end; false when no run started.
    bool RunToEnd(bool testMode) {
        if (!run->Start(testMode))
            return false;
        queue.Run([&] { return !run->Running(); }, std::chrono::milliseconds(20));
        return true;
    }

    static std::string Stars() { return std::string(60, '*'); }
    static std::string Dashes() { return std::string(60, '-'); }
};

TEST_F(CleanupRunTest, RealRunLogsRecycleBinFilesWhenTheirTypeEnds) {
    File("one\\a.tmp", 10);
    File("one\\b.tmp", 20);
    File("two\\c.tmp", 30);
    rows.Add("Old files", MethodRecycleBin, "C:\\one", {"*.tmp"});
    rows.Add("Temp", MethodDelete, "C:\\two", {"*.tmp"});
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
        "\tC:\\one\\a.tmp",
        "\tC:\\one\\b.tmp",
        "",
        "\"Temp\" files have been deleted permanently",
        Dashes(),
        "\tC:\\two\\c.tmp",
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
    EXPECT_TRUE(fs::exists(tree / "home" / "data" / "Trash" / "files" / "a.tmp"));
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

TEST_F(CleanupRunTest, TestRunListsAFileOfTwoTypesOnceAndEndsWithStatistics) {
    settings.drivesWithSetting = {'C'};
    File("x\\a.tmp", 10);
    File("x\\a.txt", 5);
    rows.Add("A", MethodRecycleBin, "C:\\x", {"*.tmp"});
    rows.Add("B", MethodDelete, "C:\\x", {"*.tmp", "*.txt"});
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
        "\tC:\\x\\a.tmp",
        "",
        "\"B\" files would have been deleted permanently",
        Dashes(),
        "\t(C:\\x\\a.tmp) dupe",
        "\tC:\\x\\a.txt",
        Stars(),
        "Brumo finished testing at 02:05:09 pm",
        "Processed 2 junk file types and found 2 junk files.",
        "TOTAL: 15 bytes  (files may occupy more space on disk)",
        Stars(),
        "Recycle Bin statistics:",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 17), expected);
    EXPECT_EQ(lines[17].rfind("c:\\     10 bytes, Size: ", 0), 0u) << lines[17];
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
    rows.Add("First", MethodDelete, "C:\\1", {"*.tmp"});
    rows.Add("Second", MethodDelete, "C:\\2", {"*.tmp"});
    rows.Add("Third", MethodDelete, "C:\\3", {"*.tmp"});
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
    EXPECT_EQ((second + 2)->rfind("\tC:\\2\\", 0), 0u);
    EXPECT_EQ(*(halted + 1), "");
    const auto footer = std::find(halted, lines.end(), Stars());
    ASSERT_NE(footer, lines.end());
    for (auto line = halted + 2; line != footer; ++line)
        EXPECT_EQ(line->rfind("\tC:\\2\\", 0), 0u) << *line;
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
    rows.Add("One", MethodRecycleBin, "C:\\a", {"*.tmp"});
    rows.Add("Two", MethodRecycleBin, "C:\\a", {"*.tmp"});
    rows.Add("Off", MethodRecycleBin, "C:\\a", {"*.tmp"});
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
    rows.Add("Delete", MethodDelete, "C:\\a", {"*.tmp"});
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
    rows.Add("Delete", MethodDelete, "C:\\a", {"*.tmp"});
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

} // namespace
} // namespace brumo

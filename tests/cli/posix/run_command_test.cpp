#include "../cli_test_support.h"
#include "app/program_files.h"
#include "cli/command_line.h"
#include "model/type_store.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/holding_folder.h"
#include "platform/locale_info.h"
#include "platform/os_error.h"
#include "support/drive_map.h"
#include "support/file_text.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

// Standard input from /dev/null, so that no terminal can be asked.
class NoTerminalInput {
public:
    NoTerminalInput() : saved_(::dup(0)) {
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::close(null);
    }
    ~NoTerminalInput() {
        ::dup2(saved_, 0);
        ::close(saved_);
    }

private:
    int saved_;
};

class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvVar() {
        if (old_.empty())
            ::unsetenv(name_);
        else
            ::setenv(name_, old_.c_str(), 1);
    }

private:
    const char* name_;
    std::string old_;
};

class RunCommandTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}};
    EnvVar home{"HOME", (tree / "home").string()};
    EnvVar data{"XDG_DATA_HOME", (tree / "home" / "data").string()};
    FixedClock clock{*DateTime::EncodeDate(2026, 12, 7) + DateTime::EncodeTime({9, 30, 0, 0})};
    NoTerminalInput input;
    ProgramFiles files;
    std::ostringstream out, err;

    void SetUp() override {
        fs::create_directories(tree / "c");
        fs::create_directories(tree / "prog");
        fs::create_directories(tree / "home" / "data");
        files = ProgramFiles::Derive((tree / "prog" / "brumo").string(), true,
                                     (tree / "home" / "data" / "brumo").string());
        Clock::Install(&clock);
        LocaleInfo::PinEnglish(true);
    }
    void TearDown() override {
        Clock::Install(nullptr);
        LocaleInfo::PinEnglish(false);
    }

    static TJunkFileObj Type(const std::string& name, int32_t method, const std::string& folder,
                             bool enabled = true) {
        TJunkFileObj type;
        type.Name = name;
        type.Method = method;
        type.Enabled = enabled;
        type.Folders = {FolderEntry{folder, FolderAndSubfolders}};
        type.Specs = {"*.tmp"};
        return type;
    }
    void Store(const std::vector<TJunkFileObj>& types) {
        TypeStore store;
        ASSERT_TRUE(store.Save(files.TypeStore, types).saved);
    }
    void File(const std::string& relative, int64_t size = 1) {
        TreeBuilder::MakeFile(tree / "c" / relative, size);
    }
    int Brumo(std::vector<std::string> args) {
        args.insert(args.begin(), "brumo");
        out.str("");
        err.str("");
        return CommandLine::Run(args, files, out, err);
    }
    void TwoTypes() {
        Store({Type("Temp", MethodDelete, "C:\\t"), Type("Off", MethodDelete, "C:\\u", false)});
        File("t/a.tmp", 10);
        File("t/b.tmp", 20);
        File("u/c.tmp", 5);
    }
};

TEST_F(RunCommandTest, ATestRunReportsTheEnabledTypesAndNamesItsLog) {
    TwoTypes();
    EXPECT_EQ(Brumo({"run"}), 0) << err.str();
    EXPECT_NE(out.str().find("Brumo tested 1 junk file types and found 2 junk files.\nIf all of "
                             "these files were permanently deleted, you would realize a savings "
                             "of at least 30 bytes.\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("Do you want"), std::string::npos);
    EXPECT_NE(out.str().find("Test log: " + files.TestLog + "\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(tree / "c" / "t" / "a.tmp"));
    const std::string log = test::ReadFileText(files.TestLog);
    EXPECT_NE(log.find("\tC:\\t\\a.tmp\r\n"), std::string::npos);
    EXPECT_EQ(log.find("c.tmp"), std::string::npos);
}

TEST_F(RunCommandTest, ARealRunWithoutATerminalNeedsYes) {
    TwoTypes();
    EXPECT_EQ(Brumo({"run", "--real"}), 2);
    EXPECT_NE(err.str().find("--yes"), std::string::npos) << err.str();
    EXPECT_TRUE(fs::exists(tree / "c" / "t" / "a.tmp"));
    EXPECT_FALSE(fs::exists(files.Log));

    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 0) << err.str();
    EXPECT_FALSE(fs::exists(tree / "c" / "t" / "a.tmp"));
    EXPECT_FALSE(fs::exists(tree / "c" / "t" / "b.tmp"));
    EXPECT_TRUE(fs::exists(tree / "c" / "u" / "c.tmp"));
    EXPECT_NE(out.str().find("Brumo processed 1 junk file types and removed 2 junk files.\nBy "
                             "permanently deleting these files you have realized a savings of at "
                             "least 30 bytes\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Log: " + files.Log + "\n"), std::string::npos);
}

TEST_F(RunCommandTest, ExitCodesTellFailuresAndBadUse) {
    TwoTypes();
    TreeBuilder::MakeReadOnly(tree / "c" / "t" / "a.tmp");
    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 1);
    EXPECT_NE(out.str().find(" 1 files could not be removed. Check the log for details."),
              std::string::npos)
        << out.str();
    EXPECT_NE(test::ReadFileText(files.Log).find("ERR\tC:\\t\\a.tmp\r\n\t* "), std::string::npos);

    EXPECT_EQ(Brumo({"run", "--bogus"}), 2);
    Store({Type("Off", MethodDelete, "C:\\u", false)});
    EXPECT_EQ(Brumo({"run"}), 2);
    EXPECT_NE(err.str().find("There are no enabled junk file types to process."), std::string::npos)
        << err.str();
}

TEST_F(RunCommandTest, JsonLinesGiveEachFileAndTheSummary) {
    Store({Type("Temp", MethodDelete, "C:\\t")});
    File("t/a.tmp", 10);
    File("t/Größe \"x\".tmp", 20);
    TreeBuilder::MakeFile(tree / "c" / HoldingFolder::Name / "old.tmp", 2000);

    // A test run's final message names what is held, on standard error when --json is given.
    EXPECT_EQ(Brumo({"run"}), 0) << err.str();
    EXPECT_NE(out.str().find("\nThe holding folders already hold 2,000 bytes in 1 file.\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(Brumo({"run", "--json"}), 0) << err.str();
    EXPECT_NE(err.str().find("already hold 2,000 bytes in 1 file."), std::string::npos);
    std::vector<nlohmann::json> lines = test::JsonLines(out.str());
    ASSERT_EQ(lines.size(), 3u) << out.str();
    nlohmann::json odd = lines[0]["size"] == 20 ? lines[0] : lines[1];
    EXPECT_EQ(odd, nlohmann::json::parse(R"({"record": "file", "type": "Temp", "method": "delete",
        "path": "C:\\t\\Größe \"x\".tmp", "size": 20, "ok": true})"));
    EXPECT_EQ(lines[2], nlohmann::json::parse(R"({"record": "summary", "testRun": true,
        "stopped": false, "typesProcessed": 1, "filesProcessed": 2, "filesRestorable": 0,
        "filesFailed": 0, "foldersUnreadable": 0, "namesSkipped": 0, "typesUnprocessed": 0, "totalSize": 30, "logFailed": false,
        "recycleBinTooSmall": false, "heldFiles": 1, "heldSize": 2000,
        "log": )" + nlohmann::json(files.TestLog).dump() +
                                              "}"));

    TreeBuilder::MakeReadOnly(tree / "c" / "t" / "a.tmp");
    EXPECT_EQ(Brumo({"run", "--real", "--yes", "--json"}), 1);
    lines = test::JsonLines(out.str());
    ASSERT_EQ(lines.size(), 3u) << out.str();
    const nlohmann::json failed = lines[0]["ok"] == false ? lines[0] : lines[1];
    EXPECT_EQ(failed["path"], "C:\\t\\a.tmp");
    EXPECT_FALSE(failed["error"].get<std::string>().empty());
    EXPECT_EQ(lines[2]["filesFailed"], 1);
    EXPECT_EQ(lines[2]["testRun"], false);
    EXPECT_FALSE(lines[2].contains("heldFiles"));
    EXPECT_NE(err.str().find("1 files could not be removed"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(tree / "c" / "t" / "Größe \"x\".tmp"));
}

TEST_F(RunCommandTest, OutputThatCannotBeWrittenFailsAndStopsAJsonRun) {
    TwoTypes();
    std::ostream lost(nullptr); // as standard output is on a full disk or a closed pipe
    EXPECT_EQ(CommandLine::Run({"brumo", "list"}, files, lost, err), 1);
    EXPECT_NE(err.str().find("brumo: the output could not be written\n"), std::string::npos);

    EXPECT_EQ(CommandLine::Run({"brumo", "run", "--real", "--yes", "--json"}, files, lost, err), 1);
    // The first file's line was lost, and the stop came before the end of the search.
    const std::string log = test::ReadFileText(files.Log);
    const size_t halted = log.find("\r\n**** PROCESSING HALTED: THE OUTPUT WAS CLOSED ****\r\n");
    ASSERT_NE(halted, std::string::npos) << log;
    EXPECT_NE(log.find("\r\nBrumo finished at ", halted), std::string::npos);
    EXPECT_NE(err.str().find("Before its output was closed, "), std::string::npos) << err.str();
}

TEST_F(RunCommandTest, AReadOnlyProgramFolderRunsTheStoreBesideItAndNoOtherTypes) {
    // An installed copy keeps its files in the data folder, where there is no store yet.
    files = ProgramFiles::Derive((tree / "prog" / "brumo").string(), false,
                                 (tree / "home" / "data" / "brumo").string());
    fs::create_directories(tree / "home" / "data" / "brumo");
    TypeStore beside;
    const std::vector<TJunkFileObj> types = {Type("Temp", MethodDelete, "C:\\t")};
    ASSERT_TRUE(beside.Save(files.ProgramFolderTypeStore, types).saved);
    File("t/a.tmp");
    File("other/b.tmp");
    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 0) << err.str();
    EXPECT_FALSE(fs::exists(tree / "c" / "t" / "a.tmp"));
    EXPECT_TRUE(fs::exists(tree / "c" / "other" / "b.tmp"));
    EXPECT_NE(err.str().find("Using the type store beside the program, \"" +
                             files.ProgramFolderTypeStore + "\"."),
              std::string::npos)
        << err.str();

    // Once the data folder has a store of its own, that one is used.
    Store({Type("Other", MethodDelete, "C:\\other")});
    File("t/c.tmp");
    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 0) << err.str();
    EXPECT_TRUE(fs::exists(tree / "c" / "t" / "c.tmp"));
    EXPECT_FALSE(fs::exists(tree / "c" / "other" / "b.tmp"));
    EXPECT_NE(err.str().find("is not read."), std::string::npos) << err.str();
}

TEST_F(RunCommandTest, ARealRunWithoutAStoreRefusesUntilTheDefaultsAreSaved) {
    File("t/a.tmp");
    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 2);
    EXPECT_NE(err.str().find("\"brumo defaults --save\""), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(files.Log));
    EXPECT_TRUE(fs::exists(tree / "c" / "t" / "a.tmp"));

    EXPECT_EQ(Brumo({"defaults", "--save"}), 0) << err.str();
    EXPECT_GT(TypeStore().Load(files.TypeStore).types.size(), 0u);
    EXPECT_EQ(Brumo({"defaults", "--save"}), 2) << "never over a store";
    EXPECT_NE(err.str().find("nothing was written"), std::string::npos);
}

TEST_F(RunCommandTest, AnUnreadableFolderIsAnErrorLineAndIsCounted) {
    if (!test::Unprivileged::Available())
        GTEST_SKIP() << "root cannot become a user whom permissions stop";
    Store({Type("Temp", MethodDelete, "C:\\t")});
    File("t/a.tmp");
    File("t/locked/b.tmp");
    test::Unprivileged::HandOver(tree.Root());
    fs::permissions(tree / "c" / "t" / "locked", fs::perms::none);
    EXPECT_TRUE(test::Unprivileged::Run([&] {
        EXPECT_EQ(Brumo({"run"}), 0) << err.str();
        EXPECT_NE(out.str().find("found 1 junk files. 1 folder could not be read; the test log "
                                 "names it.\n"),
                  std::string::npos)
            << out.str();
        EXPECT_NE(test::ReadFileText(files.TestLog)
                      .find("\tC:\\t\\a.tmp\r\nERR\tC:\\t\\locked\\\r\n\t* " +
                            OsError::MessageFor(EACCES) + "\r\n"),
                  std::string::npos)
            << test::ReadFileText(files.TestLog);
        EXPECT_EQ(Brumo({"count", "Temp"}), 0) << err.str();
        EXPECT_NE(out.str().find("2 folders were searched\n1 folder could not be read\n"),
                  std::string::npos)
            << out.str();
    }));
}

TEST_F(RunCommandTest, CtrlCStopsTheRunAsStopDoes) {
    // The test log is a pipe this test reads: the run cannot get far ahead of the reader, so
    // the interrupt arrives while the first type is being searched.
    const std::string name(100, 'n');
    for (int i = 0; i < 2000; ++i)
        File("m/" + std::to_string(1000 + i) + name + ".tmp");
    File("t/a.tmp");
    Store({Type("Many", MethodDelete, "C:\\m"), Type("Later", MethodDelete, "C:\\t")});
    ASSERT_EQ(::mkfifo(files.TestLog.c_str(), 0600), 0);

    std::string log;
    std::thread reader([&] {
        const int fd = ::open(files.TestLog.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        char buffer[4096];
        bool interrupted = false;
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            log.append(buffer, static_cast<size_t>(n));
            if (!interrupted && log.find("\"Many\" files would have been") != std::string::npos) {
                interrupted = true;
                ::kill(::getpid(), SIGINT);
                // Long enough for the command's loop to notice; the worker waits meanwhile.
                std::this_thread::sleep_for(std::chrono::milliseconds(800));
            }
        }
        ::close(fd);
    });
    const int code = Brumo({"run"});
    reader.join();

    EXPECT_EQ(code, 130);
    const size_t halted = log.find("\r\n**** PROCESSING HALTED BY USER ****\r\n\r\n");
    ASSERT_NE(halted, std::string::npos);
    EXPECT_NE(log.find("Brumo finished testing at 09:30:00 am\r\n", halted), std::string::npos);
    EXPECT_EQ(log.find("\"Later\""), std::string::npos);
    EXPECT_EQ(
        out.str().rfind("Before you stopped it, Brumo tested 1 junk file types and found ", 0), 0u)
        << out.str();
}

TEST_F(RunCommandTest, NoSpellingOrSecondLetterReachesTheProgram) {
    // The program lives in D:, which is also C:\bin.
    test::DriveMap nested{{'C', tree / "s"}, {'D', tree / "s" / "bin"}};
    TreeBuilder::MakeFile(tree / "s" / "bin" / "brumo", 100);
    TreeBuilder::MakeFile(tree / "s" / "junk.tmp");
    files = ProgramFiles::Derive((tree / "s" / "bin" / "brumo").string(), true,
                                 (tree / "home" / "data" / "brumo").string());
    TJunkFileObj all = Type("All", MethodDelete, "");
    all.Folders.clear();
    all.Specs = {"*", "*.*"};
    TJunkFileObj dots = Type("Dots", MethodDelete, "C:\\other\\..\\bin");
    dots.Specs = {"*.*"};
    Store({all, dots});

    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 0) << err.str();
    EXPECT_FALSE(fs::exists(tree / "s" / "junk.tmp"));
    for (const std::string& kept : {files.Executable, files.TypeStore, files.Log})
        EXPECT_TRUE(fs::exists(kept)) << kept;
}

TEST_F(RunCommandTest, ALinkNamedLikeJunkGoesAsTheLinkAndAFifoIsLeftAlone) {
    Store({Type("Temp", MethodDelete, "C:\\t")});
    File("t/a.tmp", 10);
    TreeBuilder::MakeFile(tree / "outside" / "target.tmp", 5000);
    TreeBuilder::MakeLink(tree / "c" / "t" / "link.tmp", tree / "outside" / "target.tmp");
    ASSERT_EQ(::mkfifo((tree / "c" / "t" / "fifo.tmp").c_str(), 0600), 0);

    EXPECT_EQ(Brumo({"run", "--real", "--yes"}), 0) << err.str();
    EXPECT_NE(out.str().find("removed 2 junk files.\nBy permanently deleting these files you "
                             "have realized a savings of at least 10 bytes"),
              std::string::npos)
        << out.str();
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree / "c" / "t" / "link.tmp")));
    EXPECT_TRUE(fs::exists(tree / "outside" / "target.tmp"));
    EXPECT_TRUE(fs::is_fifo(tree / "c" / "t" / "fifo.tmp"));
}

TEST_F(RunCommandTest, StandardErrorSaysWhichFolderEntriesAreNotSearched) {
    File("t/a.tmp");
    TreeBuilder::MakeDir(tree / "elsewhere");
    TreeBuilder::MakeLink(tree / "c" / "link", tree / "elsewhere");
    TJunkFileObj type = Type("Temp", MethodDelete, (tree / "c" / "t").string());
    type.Folders.push_back({(tree / "elsewhere").string(), FolderAndSubfolders});
    type.Folders.push_back({"C:\\link", FolderAndSubfolders});
    Store({type});

    EXPECT_EQ(Brumo({"run"}), 0) << err.str();
    EXPECT_NE(err.str().find("brumo: Temp: \"" + (tree / "elsewhere").string() +
                             "\" is not searched: it lies in no drive\n"),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("brumo: Temp: \"C:\\link\" is not searched: it is a link to a "
                             "folder\n"),
              std::string::npos)
        << err.str();
    EXPECT_NE(test::ReadFileText(files.TestLog).find("\tC:\\t\\a.tmp\r\n"), std::string::npos);

    // The system's own folders, under any spelling: a test run lists nothing there.
    {
        EnvVar root{"BRUMO_DRIVES", "C=" + (tree / "c").string() + ";R=/"};
        Drives::Reload();
        TJunkFileObj system = Type("System", MethodDelete, "R:\\usr\\lib");
        system.Folders.push_back({"r:\\USR\\Share\\..\\include", FolderAndSubfolders});
        system.Specs = {"*.*"};
        Store({system});
        EXPECT_EQ(Brumo({"run"}), 0) << err.str();
        for (const char* entry : {"R:\\usr\\lib", "r:\\USR\\Share\\..\\include"})
            EXPECT_NE(err.str().find(std::string("brumo: System: \"") + entry +
                                     "\" is not searched: it lies in /usr, one of the operating "
                                     "system's own folders\n"),
                      std::string::npos)
                << err.str();
        EXPECT_NE(out.str().find("found 0 junk files."), std::string::npos) << out.str();
    }

    EnvVar none{"BRUMO_DRIVES", "nonsense"};
    Drives::Reload();
    EXPECT_EQ(Brumo({"list"}), 2);
    EXPECT_NE(err.str().find("BRUMO_DRIVES=\"nonsense\": \"nonsense\" is no drive"),
              std::string::npos)
        << err.str();
}

} // namespace
} // namespace brumo

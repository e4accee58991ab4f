#include "../cli_test_support.h"
#include "model/type_store.h"
#include "platform/file_lock.h"
#include "program_process.h"
#include "support/file_text.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::ProgramProcess;

// The program as a user's shell runs it: its words, its environment and its output streams.
class ProgramTest : public ::testing::Test {
protected:
    test::TempTree tree;
    ProgramProcess brumo{tree / "prog"};
    // No display, no terminal; drive C: on the tree.
    std::string Env(const std::string& drives = "") const {
        return "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME=" +
               ProgramProcess::Quoted((tree / "home").string()) +
               " XDG_DATA_HOME=" + ProgramProcess::Quoted((tree / "home" / "data").string()) +
               " BRUMO_DRIVES=" +
               ProgramProcess::Quoted(drives.empty() ? "C=" + (tree / "c").string() : drives);
    }
    void SetUp() override {
        fs::create_directories(tree / "c");
        fs::create_directories(tree / "home" / "data" / "Trash");
    }
};

TEST_F(ProgramTest, EveryFirstWordIsAnswered) {
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out, err; // found in the stream
    } cases[] = {
        {{"List"}, 2, "", "\"List\" is no command. Did you mean \"brumo list\"?"},
        {{"clean"}, 2, "", "\"clean\" is no command."},
        {{"cont", "1"}, 2, "", "Did you mean \"brumo count\"?"},
        {{"list", "1", "2"}, 2, "", "arguments were not expected: 1 2\n"},
        {{"help"}, 0, "ENVIRONMENT:", ""},
        {{"help", "restore"}, 0, "--keep-both", ""},
        {{"help", "frob"}, 2, "", "\"frob\" is no command."},
        {{"version"}, 0, "Brumo 2.0", ""},
        {{"purge", "--older-than", "-1"}, 2, "", "0 or more"},
    };
    for (const Case& c : cases) {
        const auto result = brumo.Run(c.args, Env());
        EXPECT_EQ(result.code, c.code) << c.args[0] << ": " << result.err;
        EXPECT_NE(result.out.find(c.out), std::string::npos) << c.args[0] << ": " << result.out;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << c.args[0] << ": " << result.err;
    }
    // What a launcher passes is for the window (a test run without a display, the help in a
    // build without windows), never an error.
    const auto launched = brumo.Run({(tree / "c").string()}, Env());
    EXPECT_EQ(launched.code, 0) << launched.err;
}

TEST_F(ProgramTest, HelpFitsEightyColumnsAndFailsWhereItCannotBeWritten) {
    const auto help = brumo.Run({"--help"}, Env());
    ASSERT_EQ(help.code, 0);
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 80u) << line;
    for (const char* section : {"ENVIRONMENT:", "BRUMO_DRIVES", "FILES:", "EXIT STATUS:"})
        EXPECT_NE(help.out.find(section), std::string::npos) << section;
    for (const char* word : {"--help", "--version", "help", "version"}) {
        const auto full = brumo.Run({word}, Env(), ">/dev/full");
        EXPECT_NE(full.code, 0) << word;
        EXPECT_NE(full.err.find("could not be written"), std::string::npos) << full.err;
    }
}

TEST_F(ProgramTest, DriveTableMistakesAreNamed) {
    const std::string c = (tree / "c").string();
    struct Case {
        std::string drives;
        std::string err;
    } cases[] = {
        {"C=./c", "must be absolute"},
        {"C=" + c + ";c=/other", "each letter may be named once"},
        {"C" + c, "is no drive"},
        {"C=" + c + ";D", "\"D\" is no drive"},
        {"C=" + (tree / "none").string(), "no drive is ready"},
    };
    for (const Case& k : cases) {
        const auto result = brumo.Run({"list"}, Env(k.drives));
        EXPECT_EQ(result.code, 2) << k.drives;
        EXPECT_NE(result.err.find(k.err), std::string::npos) << k.drives << ": " << result.err;
    }
    // Set to nothing is not set at all.
    EXPECT_EQ(brumo.Run({"list"}, "env BRUMO_DRIVES=").code, 0);
}

TEST_F(ProgramTest, AJsonRunWhoseReaderGoesEndsItsLogWithThat) {
    // Far more lines than a pipe holds, so that the run writes on after head has gone.
    const std::string folder(100, 'f');
    for (int i = 0; i < 1500; ++i)
        test::TreeBuilder::MakeFile(tree / "c" / "t" / folder / (std::to_string(i) + ".tmp"), 1);
    const auto result = brumo.Run({"run", "--json"}, Env(),
                                  "| head -1 >" + ProgramProcess::Quoted((tree / "one").string()));
    EXPECT_EQ(result.code, 1) << result.err;
    EXPECT_EQ(result.err.find("Before you stopped it"), std::string::npos) << result.err;
    const std::string log = test::ReadFileText(tree / "prog" / "brumo.TEST.TXT");
    EXPECT_NE(log.find("THE OUTPUT WAS CLOSED"), std::string::npos) << log.substr(0, 2000);
    EXPECT_EQ(log.find("HALTED BY USER"), std::string::npos);
}

TEST_F(ProgramTest, ANameThatIsNoUtf8GoesFromHeldBackIntoRestore) {
    test::TreeBuilder::MakeFile(tree / "c" / "HDVal$$$.$$$" / "t" / "bad\xff.tmp", 3);
    const auto held = brumo.Run({"held", "--json"}, Env());
    ASSERT_EQ(held.code, 0) << held.err;
    const auto file = nlohmann::json::parse(held.out)["files"][0];
    ASSERT_TRUE(file.contains("originalPathBase64")) << held.out;
    EXPECT_FALSE(file.contains("sizeBase64"));
    const auto restored =
        brumo.Run({"restore", "--yes", "--base64", file["originalPathBase64"]}, Env());
    EXPECT_EQ(restored.code, 0) << restored.err;
    EXPECT_TRUE(fs::exists(tree / "c" / "t" / "bad\xff.tmp"));
    EXPECT_EQ(brumo.Run({"restore", "--yes", "--base64", "no*base64"}, Env()).code, 2);
}

// The type store's own problems: each said plainly, none a hang, a crash or a silent stand-in.
class StoreProgramTest : public ProgramTest {
protected:
    fs::path store = tree / "prog" / "brumo.DAT";
    void Store(std::vector<TJunkFileObj> types) {
        TypeStore writer;
        ASSERT_TRUE(writer.Save(store.string(), types).saved);
    }
    static TJunkFileObj Type(const std::string& name, int32_t method) {
        TJunkFileObj type;
        type.Name = name;
        type.Method = method;
        type.Folders = {FolderEntry{"C:\\t", FolderAndSubfolders}};
        type.Specs = {"*.tmp"};
        return type;
    }
};

TEST_F(StoreProgramTest, WhatStandsAtTheStoresNameIsNamed) {
    struct Case {
        const char* what;
        std::function<void()> make;
        std::string err;
    } cases[] = {
        {"folder", [&] { fs::create_directories(store); }, "is a folder"},
        {"fifo", [&] { ::mkfifo(store.c_str(), 0600); }, "no regular file"},
        {"device", [&] { fs::create_symlink("/dev/zero", store); }, "no regular file"},
    };
    for (const Case& c : cases) {
        fs::remove_all(store);
        c.make();
        const auto result = brumo.Run({"list"}, Env());
        EXPECT_EQ(result.code, 2) << c.what;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << c.what << ": " << result.err;
    }
    // A link to a file yet to be: defaults --save writes through it, as the window would.
    fs::remove_all(store);
    fs::create_symlink(tree / "kept" / "types.dat", store);
    fs::create_directories(tree / "kept");
    const auto saved = brumo.Run({"defaults", "--save"}, Env());
    EXPECT_EQ(saved.code, 0) << saved.err;
    EXPECT_TRUE(fs::is_regular_file(tree / "kept" / "types.dat"));
}

TEST_F(StoreProgramTest, NamesAndMethodsOfTheStoreAreTakenAsTheyAre) {
    Store({Type("line\nbreak\ttab", MethodDelete), Type("Future", 7)});
    test::TreeBuilder::MakeFile(tree / "c" / "t" / "a.tmp", 1);
    const auto list = brumo.Run({"list"}, Env());
    EXPECT_NE(list.out.find("line^Jbreak^Itab"), std::string::npos) << list.out;
    EXPECT_NE(brumo.Run({"describe", "1"}, Env()).out.find("line^Jbreak^Itab"), std::string::npos);
    for (bool real : {false, true}) {
        std::vector<std::string> args = {"run", "--json"};
        if (real)
            args.insert(args.end(), {"--real", "--yes"});
        const auto run = brumo.Run(args, Env());
        EXPECT_EQ(run.code, 1) << run.err;
        EXPECT_NE(run.err.find("\"Future\" cannot be processed"), std::string::npos) << run.err;
        const auto summary = test::JsonLines(run.out).back();
        EXPECT_EQ(summary["typesUnprocessed"], 1) << run.out;
        const std::string log =
            test::ReadFileText(tree / "prog" / (real ? "brumo.LOG.TXT" : "brumo.TEST.TXT"));
        EXPECT_NE(log.find("\"line^Jbreak^Itab\" files "), std::string::npos) << log;
    }
}

TEST_F(StoreProgramTest, NamesAWindowsPathCannotHoldAreReportedAsSkipped) {
    Store({Type("Temp", MethodDelete)});
    const fs::path t = tree / "c" / "t";
    for (const char* name : {"a\\b.tmp", "a\\b.txt", "bad\xff.tmp", "ok.tmp"})
        test::TreeBuilder::MakeFile(t / name, 1);
    fs::create_directories(t / "sub\\dir"); // a folder whose files no path reaches
    const std::string where = "2 names in C:\\t were skipped";

    const auto count = brumo.Run({"count", "1", "--json"}, Env());
    ASSERT_EQ(count.code, 0) << count.err;
    const auto figures = nlohmann::json::parse(count.out);
    EXPECT_EQ(figures["filesMatched"], 2) << count.out; // the bad bytes are searched
    EXPECT_EQ(figures["namesSkipped"], 2) << count.out; // the .txt is no match
    EXPECT_EQ(figures["skipped"][0]["path"], "C:\\t");
    EXPECT_NE(count.err.find(where), std::string::npos) << count.err;

    const auto run = brumo.Run({"run", "--real", "--yes", "--json"}, Env());
    EXPECT_EQ(run.code, 0) << run.err;
    const auto lines = test::JsonLines(run.out);
    EXPECT_EQ(lines.back()["namesSkipped"], 2) << run.out;
    EXPECT_EQ(lines.back()["filesProcessed"], 2);
    EXPECT_EQ(lines.front()["record"], "skipped") << run.out;
    EXPECT_NE(run.err.find(where), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("2 names were skipped"), std::string::npos) << run.err;
    const std::string log = test::ReadFileText(tree / "prog" / "brumo.LOG.TXT");
    EXPECT_NE(log.find("ERR\tC:\\t\\"), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(t / "a\\b.tmp"));
    EXPECT_FALSE(fs::exists(t / "bad\xff.tmp"));
}

TEST_F(StoreProgramTest, AFileOnAReadOnlyVolumeBlamesTheVolumeNotTheHomeTrash) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a read-only file system needs root";
    const fs::path volume = tree / "c" / "ro";
    fs::create_directories(volume);
    if (::mount("brumo-test", volume.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no file system can be mounted here";
    struct Unmount {
        fs::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{volume};
    test::TreeBuilder::MakeFile(volume / "a.tmp", 1);
    ASSERT_EQ(::mount(nullptr, volume.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    TJunkFileObj type = Type("Trash", MethodRecycleBin);
    type.Folders = {FolderEntry{"C:\\ro", FolderOnly}};
    Store({type});
    const auto run = brumo.Run({"run", "--real", "--yes", "--json"}, Env());
    EXPECT_EQ(run.code, 1) << run.err;
    const std::string error = test::JsonLines(run.out).front().value("error", "");
    EXPECT_NE(error.find("The volume " + volume.string() + " is read-only"), std::string::npos)
        << run.out;
    EXPECT_EQ(error.find("Trash"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(volume / "a.tmp"));
}

TEST_F(StoreProgramTest, APendingRecoveryCopyHoldsBackARealRun) {
    Store({Type("Old", MethodDelete)});
    const std::vector<TJunkFileObj> changed = {Type("New", MethodDelete)};
    TypeStore copy;
    ASSERT_TRUE(copy.Save((tree / "prog" / "brumo.D$$").string(), changed).saved);
    const auto list = brumo.Run({"list"}, Env());
    EXPECT_NE(list.err.find("brumo.D$$"), std::string::npos) << list.err;
    const auto refused = brumo.Run({"run", "--real", "--yes"}, Env());
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("recovery copy"), std::string::npos) << refused.err;
    EXPECT_EQ(brumo.Run({"recover", "restore"}, Env()).code, 0);
    EXPECT_FALSE(fs::exists(tree / "prog" / "brumo.D$$"));
    EXPECT_NE(brumo.Run({"list"}, Env()).out.find("New"), std::string::npos);
    EXPECT_EQ(brumo.Run({"run", "--real", "--yes"}, Env()).code, 0);
}

TEST_F(StoreProgramTest, AnOpenWindowsRecoveryCopyIsNoCrashedWindows) {
    Store({Type("Old", MethodDelete)});
    const fs::path copy = tree / "prog" / "brumo.D$$";
    TypeStore writer;
    const std::vector<TJunkFileObj> changed = {Type("New", MethodDelete)};
    ASSERT_TRUE(writer.Save(copy.string(), changed).saved);
    {
        // As the window holds it for as long as it is open.
        bool held = false;
        OsError error;
        const std::unique_ptr<FileLock> window =
            FileLock::TryTake((tree / "prog" / "brumo.DAT.lock").string(), held, error);
        ASSERT_TRUE(window);
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"run", "--real", "--yes"}, {"recover", "restore"}, {"recover", "discard"}}) {
            const auto refused = brumo.Run(args, Env());
            EXPECT_EQ(refused.code, 2) << args[0];
            EXPECT_NE(refused.err.find("a Brumo window is open"), std::string::npos) << refused.err;
            EXPECT_EQ(refused.err.find("brumo recover"), std::string::npos) << refused.err;
        }
        const auto list = brumo.Run({"list"}, Env());
        EXPECT_NE(list.err.find("a Brumo window is open"), std::string::npos) << list.err;
        EXPECT_EQ(list.err.find("did not close normally"), std::string::npos) << list.err;
        EXPECT_TRUE(fs::exists(copy));
    }
    // The window is gone and its copy stayed: a crashed window's, to settle.
    EXPECT_NE(brumo.Run({"list"}, Env()).err.find("did not close normally"), std::string::npos);
    EXPECT_EQ(brumo.Run({"recover", "discard"}, Env()).code, 0);
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(StoreProgramTest, TheTrashLimitThatIsNoNumberIsReportedAndIgnored) {
    Store({Type("Trash", MethodRecycleBin)});
    const std::string trash = (tree / "home" / "data" / "Trash").string();
    fs::create_directories(tree / "home" / ".config");
    std::ofstream(tree / "home" / ".config" / "ktrashrc")
        << "[" << trash << "]\nUseSizeLimit=true\nPercent=abc\n";
    const auto run = brumo.Run({"run"}, Env() + " XDG_CONFIG_HOME=");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("Percent=abc"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("have been disabled"), std::string::npos) << run.err;
}

TEST_F(StoreProgramTest, TheQuestionOnATerminalCountsTheTypesThatWillRun) {
    Store({Type("Trash", MethodRecycleBin), Type("Temp", MethodDelete)});
    fs::create_directories(tree / "home" / ".config");
    std::ofstream(tree / "home" / ".config" / "ktrashrc")
        << "[" << (tree / "home" / "data" / "Trash").string()
        << "]\nUseSizeLimit=true\nPercent=0\n";
    // script(1) gives the program a terminal; the answer is no.
    const std::string command =
        Env() + " XDG_CONFIG_HOME= " + ProgramProcess::Quoted(brumo.Program().string()) +
        " run --real";
    const std::string shell = "printf 'n\\n' | script -qec " + ProgramProcess::Quoted(command) +
                              " /dev/null >" + ProgramProcess::Quoted((tree / "out.txt").string());
    ASSERT_NE(std::system(shell.c_str()), -1);
    const std::string shown = test::ReadFileText(tree / "out.txt");
    EXPECT_NE(shown.find("remove the files of 1 enabled junk file type,"), std::string::npos)
        << shown;
}

} // namespace
} // namespace brumo

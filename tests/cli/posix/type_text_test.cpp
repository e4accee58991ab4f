#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_lock.h"
#include "support/file_text.h"
#include "support/tree_builder.h"
#include "type_commands_fixture.h"

namespace brumo {
namespace {

TDateTime Day(int year, int month, int day) {
    return *DateTime::EncodeDate(year, month, day);
}

// Every field and restriction, names that are no ASCII, and the values the wizard keeps for
// restrictions that are off.
std::vector<TJunkFileObj> EveryKindOfType() {
    TJunkFileObj dated("Größere Dateien", true, MethodHoldingFolder,
                       {{"C:\\Data", FolderOnly}, {"C:\\Tëmp", SubfoldersOnly}},
                       {"*.tmp", "~*.", "ab?.log"}, {"keep.tmp", "C:\\Data\\x.tmp"}, true, 3,
                       Day(2024, 1, 5), Day(2023, 2, 1), false, 1, 2, -1, true, 4, 10, 3, 1);
    TJunkFileObj aged("Café logs", false, MethodDelete, {}, {"*.log"}, {}, false, 2,
                      Day(2026, 12, 8), Day(2026, 12, 8), true, 1, 3, -1, false, -1, 0, 0, -1);
    TJunkFileObj plain("Plain", true, MethodRecycleBin, {}, {"*.bak"}, {}, false, -1,
                       Day(2026, 1, 1), Day(2026, 1, 1), false, -1, -1, -1, true, 0, 7, 7, 0);
    return {dated, aged, plain};
}

TEST_F(TypeCommandsTest, ExportedTypesComeBackByteForByte) {
    const std::vector<TJunkFileObj> types = EveryKindOfType();
    Store(types);
    const std::string original = test::ReadFileText(files.TypeStore);
    ASSERT_EQ(Run({"export"}), 0) << err;
    const std::string exported = out;
    const fs::path file = tree / "types.json";
    std::ofstream(file, std::ios::binary) << exported;

    // Into another program's folder, whose list is the built-in one until the import replaces it.
    files = ProgramFiles::Derive((tree / "c" / "other" / "brumo").string(), true,
                                 (tree / "data2").string());
    fs::create_directories(tree / "c" / "other");
    ASSERT_EQ(Run({"import", "--replace", file.string()}), 0) << err;
    EXPECT_EQ(test::ReadFileText(files.TypeStore), original);
    ASSERT_EQ(Run({"export"}), 0) << err;
    EXPECT_EQ(out, exported);

    // One type by name, added after the others.
    ASSERT_EQ(Run({"export", "plain"}), 0) << err;
    std::ofstream(file, std::ios::binary) << out;
    ASSERT_EQ(Run({"import", file.string()}), 0) << err;
    EXPECT_NE(out.find("1 junk file type was imported; the list now holds 4."), std::string::npos)
        << out;
}

TEST_F(TypeCommandsTest, AnImportIsCheckedByTheWizardsRulesAndWritesNothingOnAFault) {
    const std::string good = R"("name":"T","patterns":["*.tmp"])";
    const struct {
        std::string json;
        std::string fault;
    } cases[] = {
        {"[{\"patterns\":[\"*.tmp\"]}]", "type 1, name: is missing"},
        {R"([{"name":"","patterns":["*.tmp"]}])", "name: must not be empty"},
        {R"([{"name":"a\tb","patterns":["*.tmp"]}])", "name: holds a control character"},
        {"[{" + good + R"(,"method":"shred"}])", "method: must be one of \"recycleBin\""},
        {R"([{"name":"T","patterns":[]}])", "patterns: needs at least one"},
        {R"([{"name":"T","patterns":["tmp"]}])", "patterns[0]: a file specification needs"},
        {R"([{"name":"T","patterns":["a/b.tmp"]}])", "patterns[0]: a file specification holds"},
        {"[{" + good + R"(,"protects":["C:keep.txt"]}])", "protects[0]: a full name begins"},
        {"[{" + good + R"(,"folders":[{"path":"Temp"}]}])", "folders[0].path: must be a full"},
        {"[{" + good + R"(,"folders":[{"path":"C:\\T","mode":"deep"}]}])",
         "folders[0].mode: must be one of"},
        {"[{" + good +
             R"(,"dateRestriction":{"compare":"between","date1":"2026-01-02","date2":"2026-01-02T10:00:00"}}])",
         "dateRestriction.date2: must be another day"},
        {"[{" + good + R"(,"dateRestriction":{"compare":"before","date1":"2026-02-30"}}])",
         "dateRestriction.date1: must be a date"},
        {"[{" + good +
             R"(,"dateRestriction":{"compare":"before","date1":"2026-01-02"},"ageRestriction":{"compare":"olderThan","age1":"1 week"}}])",
         "ageRestriction: a type is restricted by date or by age, not both"},
        {"[{" + good +
             R"(,"ageRestriction":{"compare":"between","age1":"1 week","age2":"1 week"}}])",
         "ageRestriction.age2: must be another age"},
        {"[{" + good + R"(,"sizeRestriction":{"compare":"lessThan","size1":1000,"unit":"KB"}}])",
         "sizeRestriction.size1: must be a number of bytes: a whole number of KB"},
        {"[{" + good + R"(,"sizeRestriction":{"compare":"exactly","size1":2147483648}}])",
         "sizeRestriction.size1"},
        {"[{" + good + R"(,"colour":"red"}])", "colour: is no field of a junk file type"},
        {"[{" + good + "}, 7]", "type 2: must be an object"},
        {"{\"name\":", "the text is no JSON"},
    };
    const fs::path file = tree / "in.json";
    for (const auto& c : cases) {
        std::ofstream(file, std::ios::binary) << c.json;
        EXPECT_EQ(Run({"import", file.string()}), 2) << c.json;
        EXPECT_NE(err.find(c.fault), std::string::npos) << c.json << "\n" << err;
        EXPECT_NE(err.find("nothing was imported"), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(files.TypeStore)) << c.json;
    }
    // The largest size the wizard takes, in bytes of its unit.
    std::ofstream(file, std::ios::binary)
        << "{" + good + R"(,"sizeRestriction":{"compare":"exactly","size1":2147483647}})";
    EXPECT_EQ(Run({"import", file.string()}), 0) << err;
}

TEST_F(TypeCommandsTest, RemoveEnableDisableAndMoveChangeTheStoredList) {
    Store({TJunkFileObj("A", true, MethodDelete, "", "*.a", "", 0),
           TJunkFileObj("B", false, MethodDelete, "", "*.b", "", 0),
           TJunkFileObj("C", true, MethodHoldingFolder, "", "*.c", "", 0)});
    const struct {
        std::vector<std::string> args;
        int code;
        std::string said;
    } steps[] = {
        {{"enable", "b"}, 0, "Enabled \"B\", type 2."},
        {{"enable", "2"}, 0, "\"B\" is enabled already; nothing was written."},
        {{"disable", "A"}, 0, "Disabled \"A\", type 1."},
        {{"move", "C", "1"}, 0, "Moved \"C\" from 3 to 1."},
        {{"move", "C", "4"}, 2, "the position must be a number from 1 to 3"},
        {{"remove", "2"}, 0, "Removed \"A\", type 2."},
        {{"remove", "Z"}, 2, "Z"},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(Run(step.args), step.code) << step.args[0] << ": " << err;
        EXPECT_NE((out + err).find(step.said), std::string::npos) << out << err;
    }
    ASSERT_EQ(Run({"list"}), 0);
    EXPECT_EQ(out, "No.  Enabled  Name  Clean-up method\n"
                   "  1  yes      C     backing them up to a holding folder\n"
                   "  2  yes      B     deleting them permanently\n");
}

TEST_F(TypeCommandsTest, NoChangeIsMadeWhileAWindowHasTheListOrARecoveryCopyWaits) {
    Store({TJunkFileObj("A", false, MethodDelete, "", "*.a", "", 0)});
    const std::string before = test::ReadFileText(files.TypeStore);
    const fs::path file = tree / "in.json";
    std::ofstream(file) << R"([{"name":"N","patterns":["*.n"]}])";
    const std::vector<std::vector<std::string>> edits = {
        {"import", file.string()}, {"remove", "1"}, {"enable", "1"}, {"move", "1", "1"}};
    bool held = false;
    OsError error;
    for (const std::string reason : {"window", "recovery copy"}) {
        std::unique_ptr<FileLock> window;
        if (reason == "window")
            window = FileLock::TryTake(files.WindowLock, held, error);
        else
            std::ofstream(files.RecoveryCopy) << "x";
        for (const auto& edit : edits) {
            EXPECT_EQ(Run(edit), 2) << edit[0];
            EXPECT_NE(err.find(reason), std::string::npos) << err;
        }
        EXPECT_EQ(test::ReadFileText(files.TypeStore), before);
    }
}

TEST_F(TypeCommandsTest, RecycleBinTypesStayDisabledWhileTheRecycleBinCannotBeUsed) {
    // A trash limit of 0% leaves the Recycle Bin nothing to take.
    const fs::path home = tree / "home";
    fs::create_directories(home / ".config");
    fs::create_directories(home / ".local" / "share" / "Trash");
    std::ofstream(home / ".config" / "ktrashrc")
        << "[" << (home / ".local" / "share" / "Trash").string()
        << "]\nUseSizeLimit=true\nPercent=0\n";
    test::ScopedEnv homeEnv("HOME", home.string());
    test::ScopedEnv dataEnv("XDG_DATA_HOME", (home / ".local" / "share").string());
    test::ScopedEnv configEnv("XDG_CONFIG_HOME", (home / ".config").string());
    Store({TJunkFileObj("A", false, MethodRecycleBin, "", "*.a", "", 0)});

    EXPECT_EQ(Run({"enable", "A"}), 2);
    EXPECT_NE(err.find("You cannot enable it at this time."), std::string::npos) << err;
    const fs::path file = tree / "in.json";
    std::ofstream(file) << R"([{"name":"N","patterns":["*.n"],"enabled":true}])";
    ASSERT_EQ(Run({"import", file.string()}), 0) << err;
    ASSERT_EQ(Run({"list"}), 0);
    EXPECT_NE(out.find("  2  no       N"), std::string::npos) << out;
}

TEST_F(TypeCommandsTest, TheLinuxTypesFindOnlyOldJunkInTheHomeFolder) {
    const fs::path home = tree / "c" / "home";
    test::ScopedEnv homeEnv("HOME", home.string());
    test::ScopedEnv cacheEnv("XDG_CACHE_HOME", "");
    const struct {
        const char* path;
        bool old;
    } files[] = {
        {".cache/thumbnails/large/old.png", true},
        {".cache/thumbnails/large/new.png", false},
        {".cache/app/old.bin", true},
        {".cache/app/new.bin", false},
        {".cache/app/run.lock", true},
        {".cache/app/daemon.pid", true},
        {"notes.txt~", true},
        {"src/Makefile~", true},
        {"fresh.txt~", false},
        {"keep.txt", true},
    };
    for (const auto& file : files) {
        test::TreeBuilder::MakeFile(home / file.path, 10);
        if (file.old)
            test::TreeBuilder::SetWriteTime(home / file.path, 2020, 1, 1);
    }
    const std::pair<const char*, int> found[] = {
        {"Thumbnail cache", 1}, {"Cached files", 2}, {"Editor backup files", 2}};
    for (const auto& [type, count] : found) {
        ASSERT_EQ(Run({"count", type, "--json"}), 0) << type << ": " << err;
        EXPECT_EQ(nlohmann::json::parse(out)["filesToProcess"], count) << type << ": " << out;
    }
}

// The schedule through a stand-in for systemctl that notes what it is asked.
class ScheduleTest : public TypeCommandsTest {
protected:
    fs::path config = tree / "config";
    fs::path calls = tree / "calls.txt";
    std::optional<test::ScopedEnv> configEnv, systemctlEnv;

    void SetUp() override {
        TypeCommandsTest::SetUp();
        configEnv.emplace("XDG_CONFIG_HOME", config.string());
        Systemctl(0);
        Store({TJunkFileObj("Gone", true, MethodDelete, "C:\\d", "*.tmp", "", 0),
               TJunkFileObj("Kept", true, MethodHoldingFolder, "C:\\h", "*.tmp", "", 0)});
    }
    void Systemctl(int exitCode) {
        const fs::path script = tree / "systemctl";
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" >>'" << calls.string() << "'\nexit "
                              << exitCode << "\n";
        fs::permissions(script, fs::perms::owner_all);
        systemctlEnv.emplace("BRUMO_SYSTEMCTL", script.string());
    }
    fs::path Unit(const char* suffix) const {
        return config / "systemd" / "user" / (std::string("brumo-clean") + suffix);
    }
};

TEST_F(ScheduleTest, TheScheduleIsASystemdTimerThatCatchesUpMissedRuns) {
    ASSERT_EQ(Run({"schedule", "weekly", "--at", "04:30", "--purge-held-after", "30"}), 0) << err;
    const std::string timer = test::ReadFileText(Unit(".timer"));
    const std::string service = test::ReadFileText(Unit(".service"));
    EXPECT_NE(timer.find("OnCalendar=Mon *-*-* 04:30:00\nPersistent=true\n"), std::string::npos)
        << timer;
    EXPECT_NE(service.find("ExecStart=\"" + files.Executable +
                           "\" \"schedule\" \"run\" \"--purge-held-after\" \"30\"\n"),
              std::string::npos)
        << service;
    EXPECT_EQ(test::ReadFileText(calls),
              "--user daemon-reload\n--user enable --now brumo-clean.timer\n");
    // As systemd itself reads the units, where it is installed.
    if (std::system("command -v systemd-analyze >/dev/null") == 0) {
        test::TreeBuilder::MakeFile(files.Executable);
        fs::permissions(files.Executable, fs::perms::owner_all);
        // A user manager's runtime folder, which a test machine need not have.
        fs::create_directories(tree / "runtime");
        fs::permissions(tree / "runtime", fs::perms::owner_all);
        const std::string verify = "XDG_RUNTIME_DIR='" + (tree / "runtime").string() +
                                   "' systemd-analyze --user --man=no verify '" +
                                   Unit(".timer").string() + "' '" + Unit(".service").string() +
                                   "'";
        EXPECT_EQ(std::system(verify.c_str()), 0) << verify;
    }
    ASSERT_EQ(Run({"schedule"}), 0);
    EXPECT_NE(out.find("Brumo cleans up weekly on Mondays at 04:30: a real run of the enabled "
                       "junk file types, leaving out those that delete for good; then held files "
                       "older than 30 days are deleted for good."),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("No scheduled clean-up has run yet."), std::string::npos) << out;

    ASSERT_EQ(Run({"schedule", "off"}), 0) << err;
    EXPECT_FALSE(fs::exists(Unit(".timer")) || fs::exists(Unit(".service")));
    EXPECT_NE(test::ReadFileText(calls).find("--user disable --now brumo-clean.timer"),
              std::string::npos);
    ASSERT_EQ(Run({"schedule"}), 0);
    EXPECT_NE(out.find("No clean-up is scheduled."), std::string::npos) << out;

    // A time that is none, and a scheduler that refuses: no schedule is left half made.
    EXPECT_EQ(Run({"schedule", "daily", "--at", "25:00"}), 2);
    EXPECT_NE(err.find("HH:MM"), std::string::npos) << err;
    Systemctl(1);
    EXPECT_EQ(Run({"schedule", "daily"}), 2);
    EXPECT_NE(err.find("no clean-up is scheduled"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Unit(".timer")));
}

TEST_F(ScheduleTest, AScheduledRunHoldsButNeverDeletesAndPurgesWhatIsHeldTooLong) {
    test::TreeBuilder::MakeFile(tree / "c" / "d" / "a.tmp", 5);
    test::TreeBuilder::MakeFile(tree / "c" / "h" / "b.tmp", 5);
    ASSERT_EQ(Run({"schedule", "run", "--purge-held-after", "30"}), 0) << err;
    EXPECT_TRUE(fs::exists(tree / "c" / "d" / "a.tmp"));
    EXPECT_FALSE(fs::exists(tree / "c" / "h" / "b.tmp"));
    const fs::path held = tree / "c" / "HDVal$$$.$$$" / "h" / "b.tmp";
    EXPECT_TRUE(fs::exists(held));
    EXPECT_NE(
        test::ReadFileText(files.Log).find("\"Gone\" was left out: it deletes files for good"),
        std::string::npos);
    ASSERT_EQ(Run({"schedule"}), 0);
    EXPECT_NE(out.find(", finished."), std::string::npos) << out;

    // Forty days on, the next scheduled run purges what it held.
    FixedClock later(Clock::Current().Now() + 40);
    Clock::Install(&later);
    const int code = Run({"schedule", "run", "--purge-held-after", "30"});
    Clock::Install(nullptr);
    EXPECT_EQ(code, 0) << err;
    EXPECT_FALSE(fs::exists(held));
    EXPECT_TRUE(fs::exists(tree / "c" / "d" / "a.tmp"));
}

} // namespace
} // namespace brumo

#include "cli_test_support.h"
#include "platform/clock.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "support/holding_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

class HeldCommandsTest : public test::HoldingTreeTest {
protected:
    std::string out, err;

    void TearDown() override { Clock::Install(nullptr); }
    int Run(std::vector<std::string> args) {
        return test::RunBrumo(ProgramFiles{}, std::move(args), out, err);
    }
};

TEST_F(HeldCommandsTest, HeldListsRestoreAsksAndKeepsWhatIsThere) {
    EXPECT_EQ(Run({"held"}), 0);
    EXPECT_EQ(out, "No file is held.\n");

    const std::string a = Held("TEMP\\a.tmp", 10), b = Held("TEMP\\b.tmp", 2000);
    const std::string log = Held("x.log", 1);
    EXPECT_EQ(Run({"held"}), 0) << err;
    EXPECT_NE(out.find("Original path"), std::string::npos) << out;
    EXPECT_NE(out.find(a + "  "), std::string::npos) << out;
    EXPECT_NE(out.find("2,000 bytes"), std::string::npos) << out;
    EXPECT_NE(out.find("3 files hold 2,011 bytes.\n"), std::string::npos) << out;

    // Without a terminal to ask on, nothing moves unless --yes says so.
    EXPECT_EQ(Run({"restore", "*.tmp"}), 2);
    EXPECT_FALSE(fs::exists(Host(a)));
    EXPECT_EQ(Run({"restore", "c:\\nothing*", "--yes"}), 2);

    TreeBuilder::MakeFile(Host(b), 5);
    EXPECT_EQ(Run({"restore", "*.TMP", "--yes"}), 1);
    EXPECT_NE(out.find("Restored " + a + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Restored 1 of 2 files.\n"), std::string::npos) << out;
    EXPECT_NE(err.find("Not restored: " + b + ": Another file is already there"), std::string::npos)
        << err;
    EXPECT_EQ(fs::file_size(Host(a)), 10u);
    EXPECT_EQ(fs::file_size(Host(b)), 5u);

    EXPECT_EQ(Run({"restore", b, "--keep-both", "-y"}), 0) << err;
    EXPECT_NE(out.find("as " + drives.Path('C', "TEMP\\b (2).tmp")), std::string::npos) << out;
    EXPECT_EQ(Run({"held"}), 0);
    EXPECT_NE(out.find(log), std::string::npos);
    EXPECT_EQ(out.find(".tmp"), std::string::npos) << out;
}

TEST_F(HeldCommandsTest, HeldGivesJson) {
    EXPECT_EQ(Run({"held", "--json"}), 0);
    EXPECT_EQ(nlohmann::json::parse(out),
              nlohmann::json::parse(R"({"files": [], "fileCount": 0, "totalSize": 0})"));

    const std::string odd = Held("TEMP\\Größe 'x'.tmp", 2000);
    EXPECT_EQ(Run({"held", "--json"}), 0) << err;
    const nlohmann::json held = nlohmann::json::parse(out);
    ASSERT_EQ(held["files"].size(), 1u) << out;
    const nlohmann::json& file = held["files"][0];
    EXPECT_EQ(file["originalPath"], odd);
    EXPECT_EQ(file["heldPath"], *HoldingPath::Of(odd));
    EXPECT_EQ(file["size"], 2000);
    EXPECT_TRUE(file["fileDate"].is_string());
    EXPECT_EQ(file["heldSince"].get<std::string>().size(), 19u) << file; // 2026-12-07T16:05:09
    EXPECT_EQ(file["heldSince"].get<std::string>()[10], 'T');
    EXPECT_EQ(held["totalSize"], 2000);
}

TEST_F(HeldCommandsTest, PurgeDeletesOnlyWhatWasHeldLongerThanTheDaysGiven) {
    const std::string a = Held("a.tmp", 1);
    TreeBuilder::MakeReadOnly(Host(*HoldingPath::Of(a)));
    FixedClock tenDaysOn(Clock::Current().Now() + 10);
    Clock::Install(&tenDaysOn);
    EXPECT_EQ(Run({"purge", "--older-than", "11", "--yes"}), 0);
    EXPECT_EQ(out, "No file has been held longer than 11 days.\n");
    EXPECT_EQ(Run({"purge", "--older-than", "9"}), 2);
    EXPECT_EQ(Run({"purge"}), 2);
    EXPECT_TRUE(fs::exists(Host(*HoldingPath::Of(a))));
    EXPECT_EQ(Run({"purge", "--older-than", "9", "--yes"}), 0) << err;
    EXPECT_EQ(out, "Deleted " + a + "\nDeleted 1 of 1 files held longer than 9 days, 1 bytes.\n");
    EXPECT_FALSE(fs::exists(Host(*HoldingPath::Of(a))));
}

// A path without wildcards that names a held file letter for letter restores that file alone;
// other spellings find it ignoring case, letters beyond ASCII too.
TEST_F(HeldCommandsTest, AnExactPathRestoresThatFileAloneAndOthersFoldCase) {
    const std::string cafe = Held("UNI\\café.tmp", 1);
    EXPECT_EQ(Run({"restore", drives.Path('C', "uni\\CAFÉ.TMP"), "--yes"}), 0) << err;
    EXPECT_TRUE(FileSystem::FileExists(cafe)); // a narrow host path is no UTF-8 on Windows
    if (!Folder::SpellsAsOnDisk())
        return; // names that differ only in case are one file here
    const std::string upper = Held("t\\A.TMP", 1), lower = Held("t\\a.tmp", 2);
    EXPECT_EQ(Run({"restore", lower, "--yes"}), 0) << err;
    EXPECT_EQ(out, "Restored " + lower + "\nRestored 1 of 1 files.\n");
    EXPECT_TRUE(fs::exists(Host(*HoldingPath::Of(upper))));
}

TEST_F(HeldCommandsTest, RestoreAndPurgeWaitForARealRunToEnd) {
    const std::string a = Held("a.tmp", 1);
    ProgramFiles files;
    files.Log = (tree / "brumo.LOG.TXT").string();
    bool held = false;
    OsError error;
    const std::unique_ptr<FileLock> run = FileLock::TryTake(files.Log + ".lock", held, error);
    ASSERT_TRUE(run) << error.Message();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"restore", a, "--yes"},
          std::vector<std::string>{"purge", "--older-than", "0", "--yes"}}) {
        EXPECT_EQ(test::RunBrumo(files, args, out, err), 2) << args[0];
        EXPECT_NE(err.find("is in progress in another Brumo"), std::string::npos) << err;
    }
    EXPECT_TRUE(fs::exists(Host(*HoldingPath::Of(a))));
}

} // namespace
} // namespace brumo

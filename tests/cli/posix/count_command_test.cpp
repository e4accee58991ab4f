#include "../cli_test_support.h"
#include "model/junk_file_type.h"
#include "model/type_store.h"
#include "platform/locale_info.h"

#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

// Drive C: is a temporary folder holding the program, so "all local drives" is just that tree
// and the program's own folder lies inside it.
class CountCommandTest : public ::testing::Test {
protected:
    CountCommandTest()
        : drives_({{'C', tree_ / "c"}}),
          files_(ProgramFiles::Derive((tree_ / "c" / "prog" / "brumo").string(), true,
                                      (tree_ / "data").string())) {
        LocaleInfo::PinEnglish(true);
        TreeBuilder::MakeFile(tree_ / "c/prog/brumo");
        TreeBuilder::MakeFile(tree_ / "c/prog/own.tmp", 100);
        TreeBuilder::MakeFile(tree_ / "c/x/a.tmp", 5000);
        TreeBuilder::MakeFile(tree_ / "c/x/y/~b.doc", 5240);
        TreeBuilder::MakeFile(tree_ / "c/x/~desktop.ini", 7);
        TreeBuilder::MakeFile(tree_ / "c/x/notes.txt", 9);
    }
    ~CountCommandTest() override { LocaleInfo::PinEnglish(false); }

    int Run(std::vector<std::string> args) {
        return test::RunBrumo(files_, std::move(args), out_, err_);
    }

    test::TempTree tree_;
    test::DriveMap drives_;
    ProgramFiles files_;
    std::string out_, err_;
};

TEST_F(CountCommandTest, CountsABuiltInTypeByName) {
    ASSERT_EQ(Run({"count", "temporary FILES"}), 0) << err_;
    EXPECT_EQ(out_, "Brumo has searched for files matching the selected type\n\n"
                    "3 folders were searched\n" // C:, X and Y; not the program's folder
                    "3 files matched the junk file specifications\n"
                    "0 files did not meet the date or size restrictions\n"
                    "1 file was protected by the protect file specifications\n\n"
                    "2 files would be processed\n"
                    "These files occupy 10.00 KB of disk space.\n");
    EXPECT_EQ(err_, "");
}

TEST_F(CountCommandTest, CountGivesJson) {
    ASSERT_EQ(Run({"count", "temporary FILES", "--json"}), 0) << err_;
    EXPECT_EQ(nlohmann::json::parse(out_), nlohmann::json::parse(R"({
        "type": "Temporary files", "outcome": "finished", "foldersSearched": 3,
        "foldersUnreadable": 0, "filesMatched": 3, "filesRestricted": 0, "filesProtected": 1,
        "filesToProcess": 2, "totalSize": 10240, "namesSkipped": 0, "skipped": []})"));
    EXPECT_EQ(err_, "");
}

TEST_F(CountCommandTest, CountsAStoredTypeByNumberAndRejectsAnUnknownOne) {
    TJunkFileObj notes("Notes", true, 2, "C:\\X", "*.TXT\r\n*.zip", "", 1);
    std::ofstream(files_.TypeStore, std::ios::binary)
        << TypeStore::Serialize(std::vector<TJunkFileObj>{notes});
    ASSERT_EQ(Run({"count", "1"}), 0) << err_;
    EXPECT_EQ(out_, "Brumo has searched for files matching the selected type\n\n"
                    "1 folder was searched\n"
                    "1 file matched the junk file specifications\n"
                    "0 files did not meet the date or size restrictions\n"
                    "0 files were protected by the protect file specifications\n\n"
                    "1 file would be processed\n"
                    "This file occupies 9 bytes of disk space.\n");

    EXPECT_EQ(Run({"count", "2"}), 2);
    EXPECT_EQ(out_, "");
    EXPECT_NE(err_, "");
    EXPECT_EQ(Run({"count"}), 2);
}

} // namespace
} // namespace brumo

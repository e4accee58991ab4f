#include "cli_test_support.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

class CommandLineTest : public ::testing::Test {
protected:
    test::TempTree tree;
    ProgramFiles files =
        ProgramFiles::Derive((tree / "brumo").string(), true, (tree / "data").string());
    std::string out, err;

    int Run(std::vector<std::string> args) {
        return test::RunBrumo(files, std::move(args), out, err);
    }
};

TEST_F(CommandLineTest, HelpVersionAndBadArguments) {
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out, "Brumo 2.0.0.488 beta\n");

    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out.find("Usage"), std::string::npos) << out;
    EXPECT_EQ(Run({}), 0);
    EXPECT_NE(out.find("Usage"), std::string::npos) << out;

    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(err.rfind("brumo: ", 0), 0u) << err;
    EXPECT_EQ(Run({"lsit"}), 2);
    EXPECT_NE(err.find("Did you mean \"brumo list\"?"), std::string::npos) << err;
    EXPECT_EQ(Run({"--no-such-option"}), 2);
    EXPECT_EQ(err.rfind("brumo: ", 0), 0u) << err;
    EXPECT_EQ(out, "");
}

TEST(CommandLine, WindowOnlyWithoutACommand) {
    char program[] = "brumo", silent[] = "/Silent", list[] = "list", file[] = "/", missing[] = "/no/such/notes.txt",
         typo[] = "defualts", option[] = "--help", held[] = "held", purge[] = "purge";
    char* none[] = {program};
    char* quiet[] = {program, silent};
    char* command[] = {program, list};
    char* launcher[] = {program, file};
    char* unknown[] = {program, missing};
    char* mistyped[] = {program, typo};
    char* help[] = {program, option};
    EXPECT_TRUE(CommandLine::WantsWindow(1, none));
    EXPECT_TRUE(CommandLine::WantsWindow(2, quiet));
    EXPECT_FALSE(CommandLine::WantsWindow(2, command));
    EXPECT_TRUE(CommandLine::WantsWindow(2, launcher)) << "a launcher passes what exists";
    EXPECT_FALSE(CommandLine::WantsWindow(2, unknown)) << "anything else gets its error";
    EXPECT_FALSE(CommandLine::WantsWindow(2, mistyped)) << "a near miss gets its error";
    EXPECT_FALSE(CommandLine::WantsWindow(2, help));
    for (char* word : {held, purge}) {
        char* every[] = {program, word};
        EXPECT_FALSE(CommandLine::WantsWindow(2, every)) << word << " is a command too";
    }
}

} // namespace
} // namespace brumo

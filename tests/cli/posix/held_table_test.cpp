#include "../cli_test_support.h"
#include "support/holding_tree.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

class HeldTableTest : public test::HoldingTreeTest {};

// Columns line up on screen: a name with an accent takes as many columns as one without.
TEST_F(HeldTableTest, AccentedNamesKeepTheSizeColumnInLine) {
    const std::string plain = Held("e.tmp", 10), accented = Held("\xC3\xA9.tmp", 10);
    std::string out, err;
    ASSERT_EQ(test::RunBrumo(ProgramFiles{}, {"held"}, out, err), 0) << err;
    const auto sizeColumn = [&out](const std::string& path) {
        const size_t line = out.find(path + " ");
        return line == std::string::npos ? std::string::npos : out.find("10 bytes", line) - line;
    };
    ASSERT_NE(sizeColumn(plain), std::string::npos) << out;
    // The accent's second byte takes no column.
    EXPECT_EQ(sizeColumn(accented), sizeColumn(plain) + 1) << out;
}

TEST_F(HeldTableTest, ANameWithALineBreakTakesOneVisibleRow) {
    Held("a\nb\x1b[2J.tmp", 10);
    std::string out, err;
    ASSERT_EQ(test::RunBrumo(ProgramFiles{}, {"held"}, out, err), 0) << err;
    EXPECT_NE(out.find("\nC:\\a^Jb^[[2J.tmp  10 bytes  "), std::string::npos) << out;
    ASSERT_EQ(test::RunBrumo(ProgramFiles{}, {"restore", "C:\\a?b*", "--yes"}, out, err), 0);
    EXPECT_EQ(out.rfind("Restored C:\\a^Jb^[[2J.tmp\n", 0), 0u) << out;
}

} // namespace
} // namespace brumo

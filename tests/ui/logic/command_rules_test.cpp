#include "ui/command_rules.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

CommandStates Idle(int rows, int selected, bool anyChecked = false, bool undoHeld = false) {
    return CommandRules::Evaluate({RunIdle, rows, selected, anyChecked, undoHeld});
}

TEST(CommandRulesTest, EmptyListLeavesOnlyTheListIndependentCommands) {
    const CommandStates s = Idle(0, -1);
    EXPECT_FALSE(s.edit || s.rem || s.props || s.count || s.up || s.down);
    EXPECT_FALSE(s.checkAll || s.clearAll || s.methodAll || s.cleanup || s.undo);
    EXPECT_TRUE(s.add && s.defaults && s.held && s.help && s.about && s.testMode && s.exit);
}

TEST(CommandRulesTest, HigherAndLowerFollowThePositionOfTheSelection) {
    EXPECT_FALSE(Idle(3, 0).up);
    EXPECT_TRUE(Idle(3, 0).down);
    EXPECT_TRUE(Idle(3, 1).up);
    EXPECT_TRUE(Idle(3, 1).down);
    EXPECT_TRUE(Idle(3, 2).up);
    EXPECT_FALSE(Idle(3, 2).down);
    const CommandStates only = Idle(1, 0);
    EXPECT_FALSE(only.up || only.down);
    EXPECT_TRUE(only.edit && only.rem && only.props && only.count);
}

TEST(CommandRulesTest, RowsWithoutSelectionAllowOnlyTheWholeListCommands) {
    const CommandStates s = Idle(2, -1);
    EXPECT_FALSE(s.edit || s.rem || s.props || s.count || s.up || s.down);
    EXPECT_TRUE(s.checkAll && s.clearAll && s.methodAll);
    // A stale index past the end counts as no selection.
    EXPECT_FALSE(Idle(2, 2).edit);
}

TEST(CommandRulesTest, CleanUpNeedsACheckedRowAndUndoAHeldType) {
    EXPECT_FALSE(Idle(2, 0, false).cleanup);
    EXPECT_TRUE(Idle(2, 0, true).cleanup);
    EXPECT_FALSE(Idle(2, 0, true, false).undo);
    EXPECT_TRUE(Idle(0, -1, false, true).undo);
}

TEST(CommandRulesTest, ARunLeavesOnlyItsOwnCommandAsStopAndExit) {
    CommandStates counting = CommandRules::Evaluate({RunCounting, 3, 1, true, true});
    CommandStates expected;
    expected.count = true;
    EXPECT_EQ(counting, expected);

    CommandStates cleaning = CommandRules::Evaluate({RunCleaning, 3, 1, true, true});
    expected = {};
    expected.cleanup = true;
    EXPECT_EQ(cleaning, expected);
}

} // namespace
} // namespace brumo

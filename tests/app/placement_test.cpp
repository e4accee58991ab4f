#include "app/placement.h"

#include "support/file_text.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace brumo {
namespace {

class PlacementTest : public ::testing::Test {
protected:
    test::TempTree tree;
    SettingsFile settings{(tree / "Brumo.INI").string()};
    const PlacementRect workArea{0, 0, 1000, 700};
    WindowPlacement current = [] {
        WindowPlacement p;
        p.flags = 2;
        p.minPosition = {-1, -1};
        p.maxPosition = {-8, -8};
        p.normal = {10, 10, 410, 310};
        return p;
    }();

    void Store(const std::string& lines) {
        std::ofstream(tree / "Brumo.INI", std::ios::binary) << "[W Settings]\r\n" << lines;
    }
    WindowPlacement Restore(bool sizeable, int width = 400, int height = 300) {
        return Placement::RestorePlacement(settings, "W Settings", current, width, height, workArea,
                                           sizeable);
    }
};

TEST_F(PlacementTest, FirstRunCentresAtDesignedSizeRoundingTowardZero) {
    WindowPlacement p = Restore(true, 401, 301);
    EXPECT_EQ(p.normal, (PlacementRect{299, 199, 700, 500}));
    EXPECT_EQ(p.minPosition, current.minPosition);
    EXPECT_EQ(p.maxPosition, current.maxPosition);
    EXPECT_EQ(p.flags, 2u);
    EXPECT_EQ(p.showCmd, 0);

    // A work area smaller than the window: -(101/2) is -50, not -51.
    const PlacementRect small{100, 50, 399, 250};
    WindowPlacement q =
        Placement::RestorePlacement(settings, "W Settings", current, 400, 300, small, false);
    EXPECT_EQ(q.normal.left, 100 - 50);
    EXPECT_EQ(q.normal.top, 50 - 50);
}

TEST_F(PlacementTest, StoredValuesAreRestoredButNeverTheShowCommand) {
    Store("Left=20\r\nTop=30\r\nRight=520\r\nBottom=430\r\nMinX=5\r\nMinY=6\r\nMaxX=7\r\n"
          "MaxY=8\r\nShowCmd=3\r\nflags=1\r\n");
    WindowPlacement p = Restore(true);
    EXPECT_EQ(p.normal, (PlacementRect{20, 30, 520, 430}));
    EXPECT_EQ(p.minPosition, (PlacementPoint{5, 6}));
    EXPECT_EQ(p.maxPosition, (PlacementPoint{7, 8}));
    EXPECT_EQ(p.flags, 1u);
    EXPECT_EQ(p.showCmd, 0);
}

TEST_F(PlacementTest, MissingRightAndBottomFollowTheCentredWindow) {
    Store("Left=20\r\nTop=30\r\nRight=junk\r\n");
    WindowPlacement p = Restore(true);
    EXPECT_EQ(p.normal, (PlacementRect{20, 30, 300 + 400, 200 + 300}));
}

TEST_F(PlacementTest, SizeableWindowIsMovedBackInsideTheWorkArea) {
    Store("Left=800\r\nTop=600\r\nRight=1200\r\nBottom=900\r\n");
    EXPECT_EQ(Restore(true).normal, (PlacementRect{600, 400, 1000, 700}));

    // Negative edges are set to 0 alone: the window loses that much of its size.
    Store("Left=-50\r\nTop=-20\r\nRight=350\r\nBottom=280\r\n");
    EXPECT_EQ(Restore(true).normal, (PlacementRect{0, 0, 350, 280}));

    // Wider than the work area: moved left by the overflow, then the left edge is cut at 0.
    Store("Left=100\r\nTop=0\r\nRight=1300\r\nBottom=300\r\n");
    EXPECT_EQ(Restore(true).normal, (PlacementRect{0, 0, 1000, 300}));
}

TEST_F(PlacementTest, FixedSizeDialogKeepsItsSizeAndStoredPositionInsideTheWorkArea) {
    Store("Left=50\r\nTop=60\r\nRight=2000\r\nBottom=2000\r\n");
    EXPECT_EQ(Restore(false).normal, (PlacementRect{50, 60, 450, 360}));
    Store("Left=-50\r\nTop=650\r\nRight=2000\r\nBottom=2000\r\n");
    EXPECT_EQ(Restore(false).normal, (PlacementRect{0, 400, 400, 700}));
}

TEST_F(PlacementTest, InvertedOrOversizedRectangleOpensInsideAtALegalSize) {
    const PlacementPoint minimum{460, 350};
    auto restore = [&] {
        return Placement::RestorePlacement(settings, "W Settings", current, 520, 400, workArea,
                                           true, minimum)
            .normal;
    };
    Store("Left=5000\r\nTop=5000\r\nRight=-5000\r\nBottom=-5000\r\n");
    EXPECT_EQ(restore(), (PlacementRect{540, 350, 1000, 700}));
    Store("Left=0\r\nTop=0\r\nRight=32767\r\nBottom=32767\r\n");
    EXPECT_EQ(restore(), (PlacementRect{0, 0, 1000, 700}));
    Store("Left=-40\r\nTop=10\r\nRight=100\r\nBottom=100\r\n");
    EXPECT_EQ(restore(), (PlacementRect{0, 10, 460, 360}));
}

TEST_F(PlacementTest, ExtremeStoredValuesDoNotOverflow) {
    Store("Left=2147483647\r\nTop=2147483647\r\n");
    EXPECT_EQ(Restore(false).normal, (PlacementRect{600, 400, 1000, 700}));
    Store("Left=-2147483648\r\nTop=-2147483648\r\nRight=2147483647\r\nBottom=2147483647\r\n");
    EXPECT_EQ(Restore(true).normal, (PlacementRect{0, 0, 1000, 700}));
}

TEST_F(PlacementTest, SaveWritesKeysInOrderAndMaximisedWindowKeepsItsNormalRect) {
    WindowPlacement maximised;
    maximised.flags = 2;
    maximised.showCmd = 3;
    maximised.minPosition = {-1, -1};
    maximised.maxPosition = {-4, -4};
    maximised.normal = {20, 30, 520, 430};
    ASSERT_FALSE(Placement::SavePlacement(settings, "HDForm Settings", maximised, true));
    ASSERT_FALSE(Placement::SavePlacement(settings, "SpecForm Settings", maximised, false));
    EXPECT_EQ(test::ReadFileText(tree / "Brumo.INI"),
              "[HDForm Settings]\r\nLeft=20\r\nTop=30\r\nRight=520\r\nBottom=430\r\n"
              "MinX=-1\r\nMinY=-1\r\nMaxX=-4\r\nMaxY=-4\r\nShowCmd=3\r\nflags=2\r\n"
              "[SpecForm Settings]\r\nLeft=20\r\nTop=30\r\n"
              "MinX=-1\r\nMinY=-1\r\nMaxX=-4\r\nMaxY=-4\r\nShowCmd=3\r\nflags=2\r\n");

    // Reopens in normal state at the stored rectangle.
    WindowPlacement back =
        Placement::RestorePlacement(settings, "HDForm Settings", current, 400, 300, workArea, true);
    EXPECT_EQ(back.normal, maximised.normal);
    EXPECT_EQ(back.showCmd, 0);
}

TEST_F(PlacementTest, SaveFailureIsReported) {
    SettingsFile nowhere((tree / "missing" / "Brumo.INI").string());
    auto error = Placement::SavePlacement(nowhere, "HDForm Settings", current, true);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->file, nowhere.Path());
}

} // namespace
} // namespace brumo

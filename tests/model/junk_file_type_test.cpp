#include "model/display_names.h"
#include "model/junk_file_type.h"

#include <gtest/gtest.h>

#include <climits>

namespace brumo {
namespace {

TJunkFileObj Full(int32_t compare, TDateTime dateA, TDateTime dateB, int32_t ageA, int32_t ageB,
                  int32_t sizeA, int32_t sizeB) {
    return TJunkFileObj("t", true, 0, {}, {}, {}, true, compare, dateA, dateB, true, compare, ageA,
                        ageB, true, compare, sizeA, sizeB, 1);
}

TEST(JunkFileType, FullConstructorOrdersPairsOfTheTwoValueKindsOnly) {
    for (int32_t compare : {3, 4}) {
        const TJunkFileObj t = Full(compare, 40000.25, 39000.75, 5, 2, 500, 100);
        EXPECT_EQ(t.Date1, 39000.0);
        EXPECT_EQ(t.Date2, 40000.0);
        EXPECT_EQ(t.Age1, 2);
        EXPECT_EQ(t.Age2, 5);
        EXPECT_EQ(t.Size1, 100);
        EXPECT_EQ(t.Size2, 500);
    }
    for (int32_t compare : {-1, 0, 1, 2}) {
        const TJunkFileObj t = Full(compare, 40000.25, 39000.75, 5, 2, 500, 100);
        EXPECT_EQ(t.Date1, 40000.0);
        EXPECT_EQ(t.Date2, 39000.0);
        EXPECT_EQ(t.Age1, 5);
        EXPECT_EQ(t.Size1, 500);
        EXPECT_EQ(t.Size2, 100);
    }
    // Negative sizes are stored as given, in ascending order for "between".
    const TJunkFileObj negative = Full(3, 0, 0, 0, 0, -1, -7);
    EXPECT_EQ(negative.Size1, -7);
    EXPECT_EQ(negative.Size2, -1);
}

TEST(JunkFileType, FullConstructorDropsTheTimeOfDay) {
    // 18:30 on 15 January 2008.
    const TJunkFileObj t = Full(1, 39462 + 18.5 / 24, 0.9, 0, 0, 0, 0);
    EXPECT_EQ(t.Date1, 39462.0);
    EXPECT_EQ(t.Date2, 0.0);
}

TEST(JunkFileType, TextConstructorSplitsLinesAndAppliesTheFolderMask) {
    const TJunkFileObj t("n", false, 2, "C:\\A\r\nC:\\B\nC:\\C\rC:\\D\r\n", "*.a\n\n*.b", "",
                         0b1010u);
    ASSERT_EQ(t.Folders.size(), 4u);
    EXPECT_EQ(t.Folders[0], (FolderEntry{"C:\\A", FolderAndSubfolders}));
    EXPECT_EQ(t.Folders[1], (FolderEntry{"C:\\B", FolderOnly}));
    EXPECT_EQ(t.Folders[2], (FolderEntry{"C:\\C", FolderAndSubfolders}));
    EXPECT_EQ(t.Folders[3], (FolderEntry{"C:\\D", FolderOnly}));
    EXPECT_EQ(t.Specs, (std::vector<std::string>{"*.a", "", "*.b"}));
    EXPECT_TRUE(t.Protects.empty());
    EXPECT_FALSE(t.Enabled);
    EXPECT_EQ(t.Method, 2);

    const TJunkFileObj two("n", true, 0, "C:\\A\r\nC:\\B", "", "", 2);
    EXPECT_EQ(two.Folders[0].mode, FolderAndSubfolders);
    EXPECT_EQ(two.Folders[1].mode, FolderOnly);

    // Entries past the 32 bits of the mask keep mode 0.
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "C:\\F" + std::to_string(i) + "\n";
    const TJunkFileObj wide("n", true, 0, many, "", "", 0xFFFFFFFFu);
    ASSERT_EQ(wide.Folders.size(), 40u);
    EXPECT_EQ(wide.Folders[31].mode, FolderOnly);
    EXPECT_EQ(wide.Folders[32].mode, FolderAndSubfolders);
}

TEST(JunkFileType, SetMethodRefusesCodesOutsideTheTable) {
    TJunkFileObj t;
    ASSERT_FALSE(t.SetMethod(2));
    for (int32_t bad : {3, -1, INT_MIN, INT_MAX}) {
        auto error = t.SetMethod(bad);
        ASSERT_TRUE(error);
        EXPECT_EQ(*error, "Invalid backup type");
        EXPECT_EQ(t.Method, 2);
    }
}

TEST(JunkFileType, DisplayNamesNeverIndexOutsideTheirTable) {
    EXPECT_EQ(DisplayName(DateCompareNames, 4), "not between");
    EXPECT_EQ(DisplayName(AgeNames, 6), "1 year");
    EXPECT_EQ(DisplayName(MethodNames, 0), "moving them to the Recycle bin");
    EXPECT_EQ(DisplayName(SizeUnitNames, -1), "");
    EXPECT_EQ(DisplayName(SizeUnitNames, 3), "");
    EXPECT_EQ(DisplayName(AgeNames, INT_MIN), "");
}

class SameFunction : public ::testing::Test {
protected:
    TJunkFileObj a{"A", true, 0, "C:\\Temp", "*.bak\r\n*.old", "keep.bak", 0};
    TJunkFileObj b{a};
};

TEST_F(SameFunction, NameAndEnabledDoNotCount) {
    b.Name = "B";
    b.Enabled = false;
    EXPECT_TRUE(a.IsSameFunction(b));
    EXPECT_TRUE(b.IsSameFunction(a));
}

TEST_F(SameFunction, EntriesCompareIgnoringCaseButInOrder) {
    b.Specs = {"*.BAK", "*.Old"};
    b.Folders[0].path = "c:\\TEMP";
    b.Protects = {"KEEP.BAK"};
    EXPECT_TRUE(a.IsSameFunction(b));
    b.Specs = {"*.old", "*.bak"};
    EXPECT_FALSE(a.IsSameFunction(b));
}

TEST_F(SameFunction, ListLengthsAndFolderModesCount) {
    b.Folders[0].mode = FolderOnly;
    EXPECT_FALSE(a.IsSameFunction(b));
    b = a;
    b.Protects.push_back("more");
    EXPECT_FALSE(a.IsSameFunction(b));
    b = a;
    b.Specs.pop_back();
    EXPECT_FALSE(a.IsSameFunction(b));
}

TEST_F(SameFunction, StoredValuesCountEvenWithTheRestrictionOff) {
    b.Date2 = 1;
    EXPECT_FALSE(a.IsSameFunction(b));
    b = a;
    b.Age2 = 3;
    EXPECT_FALSE(a.IsSameFunction(b));
    b = a;
    b.SizeUnits = 2;
    EXPECT_FALSE(a.IsSameFunction(b));
    b = a;
    b.Method = 1;
    EXPECT_FALSE(a.IsSameFunction(b));
}

} // namespace
} // namespace brumo

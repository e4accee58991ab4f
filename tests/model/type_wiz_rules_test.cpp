#include "model/type_wiz_rules.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

using R = TypeWizRules;

WizardControls Complete(int page = 0) {
    WizardControls c;
    c.page = page;
    c.name = "Temp files";
    c.specs = {"*.tmp"};
    return c;
}

WizardControls WithAge(int compare, int age1, int age2) {
    WizardControls c = Complete(2);
    c.restrictDate = true;
    c.byDate = false;
    c.byAge = true;
    c.dateType = compare;
    c.age1 = age1;
    c.age2 = age2;
    return c;
}

WizardControls WithSize(int compare, std::string size1, std::string size2, int units = 1) {
    WizardControls c = Complete(2);
    c.restrictSize = true;
    c.sizeType = compare;
    c.size1 = std::move(size1);
    c.size2 = std::move(size2);
    c.sizeUnits = units;
    return c;
}

TEST(TypeWizRulesTest, InvalidRestrictionsBlockNextOnDeletesAndFinishEverywhere) {
    WizardControls c = WithSize(0, "", "");
    EXPECT_EQ(R::Buttons(c), (WizardButtons{true, false, false}));
    c.page = 3; // other pages still move on
    EXPECT_EQ(R::Buttons(c), (WizardButtons{true, true, false}));
}

TEST(TypeWizRulesTest, AgeRestrictionNeedsAgesThatDiffer) {
    EXPECT_FALSE(R::RestrictionsValid(WithAge(1, -1, -1)));
    EXPECT_TRUE(R::RestrictionsValid(WithAge(1, 2, -1)));
    EXPECT_FALSE(R::RestrictionsValid(WithAge(3, 2, -1)));
    EXPECT_FALSE(R::RestrictionsValid(WithAge(3, 2, 2)));
    EXPECT_TRUE(R::RestrictionsValid(WithAge(3, 2, 3)));
    EXPECT_TRUE(R::RestrictionsValid(WithAge(4, 3, 2)));
    WizardControls neither = WithAge(1, 2, -1);
    neither.byAge = false;
    EXPECT_FALSE(R::RestrictionsValid(neither));
}

TEST(TypeWizRulesTest, SizeRestrictionNeedsUnitsAndThirtyTwoBitNumbers) {
    EXPECT_TRUE(R::RestrictionsValid(WithSize(0, "0", "")));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(-1, "5", "")));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(0, "5", "", -1)));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(0, "", "")));
    EXPECT_TRUE(R::RestrictionsValid(WithSize(2, "2147483647", "")));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(2, "2147483648", "")));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(2, "99999999999999999999", "")));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(3, "10", "")));
    EXPECT_FALSE(R::RestrictionsValid(WithSize(3, "10", "10")));
    EXPECT_TRUE(R::RestrictionsValid(WithSize(3, "10", "010"))); // texts differ
    EXPECT_FALSE(R::RestrictionsValid(WithSize(4, "10", "2147483648")));
}

TEST(TypeWizRulesTest, SizeValueAndDigits) {
    EXPECT_EQ(R::SizeValue("0"), 0);
    EXPECT_EQ(R::SizeValue("010"), 10);
    EXPECT_EQ(R::SizeValue("2147483647"), 2147483647);
    EXPECT_EQ(R::SizeValue("2147483648"), std::nullopt);
    EXPECT_EQ(R::SizeValue(""), std::nullopt);
    EXPECT_EQ(R::SizeValue("-1"), std::nullopt);
    EXPECT_EQ(R::DigitsOnly("1,024"), "1024");
    EXPECT_EQ(R::DigitsOnly("12a3"), "123");
    EXPECT_EQ(R::DigitsOnly("-x"), "");
}

TEST(TypeWizRulesTest, FolderEntriesSkipBlanksAndFallBackToAllDrives) {
    const std::string all = "Local drives (C:,D:)";
    EXPECT_EQ(R::FolderEntriesOf({}, all), (std::vector<FolderEntry>{{all, 0}}));
    EXPECT_EQ(R::FolderEntriesOf({{" \t", 1}, {"", 0}}, all), (std::vector<FolderEntry>{{all, 0}}));
    EXPECT_EQ(R::FolderEntriesOf({{"C:\\A", 2}, {"  ", 0}, {"C:\\B ", 1}}, all),
              (std::vector<FolderEntry>{{"C:\\A", 2}, {"C:\\B ", 1}}));
    EXPECT_TRUE(R::FoldersOf({{all, 0}}).empty());
    EXPECT_TRUE(R::FoldersOf({}).empty());
    EXPECT_EQ(R::FoldersOf({{"C:\\A", 1}}).size(), 1u);
}

TEST(TypeWizRulesTest, BuildTypeMapsEveryControl) {
    WizardControls c = Complete(4);
    c.name = "  Keep blanks ";
    c.enabled = false;
    c.method = MethodDelete;
    c.folders = {{"C:\\Temp", SubfoldersOnly}, {"D:\\X", FolderOnly}};
    c.protects = {"C:\\keep.tmp"};
    c.restrictDate = true;
    c.byDate = false;
    c.byAge = true;
    c.dateType = 3;
    c.date1 = 45000.75;
    c.date2 = 44000.25;
    c.age1 = 3; // "1 month" before "1 week"
    c.age2 = 2;
    c.restrictSize = false;
    c.sizeType = 3;
    c.size1 = "2147483648"; // not a 32-bit number: stored as 0
    c.size2 = "010";

    const TJunkFileObj t = R::BuildType(c);
    EXPECT_EQ(t.Name, "  Keep blanks ");
    EXPECT_FALSE(t.Enabled);
    EXPECT_EQ(t.Method, MethodDelete);
    EXPECT_EQ(t.Folders, c.folders);
    EXPECT_EQ(t.Specs, c.specs);
    EXPECT_EQ(t.Protects, c.protects);
    EXPECT_FALSE(t.DateRestrict);
    EXPECT_EQ(t.DateCompare, 3);
    EXPECT_EQ(t.Date1, 44000); // whole days, the smaller first
    EXPECT_EQ(t.Date2, 45000);
    EXPECT_TRUE(t.AgeRestrict);
    EXPECT_EQ(t.AgeCompare, 3);
    EXPECT_EQ(t.Age1, 2);
    EXPECT_EQ(t.Age2, 3);
    EXPECT_FALSE(t.SizeRestrict);
    EXPECT_EQ(t.Size1, 0);
    EXPECT_EQ(t.Size2, 10);
    EXPECT_EQ(t.SizeUnits, -1);
}

TEST(TypeWizRulesTest, BuildTypeMethodAndUnchosenLists) {
    WizardControls c = Complete();
    c.folders = {{"Local drives (C:)", 0}};
    c.method = MethodHoldingFolder;
    const TJunkFileObj t = R::BuildType(c);
    EXPECT_TRUE(t.Folders.empty());
    EXPECT_EQ(t.Method, MethodHoldingFolder);
    EXPECT_EQ(t.DateCompare, -1);
    EXPECT_EQ(t.Age1, -1);
    EXPECT_EQ(t.SizeCompare, -1);

    WizardControls sizes = WithSize(3, "10", "010");
    const TJunkFileObj s = R::BuildType(sizes);
    EXPECT_TRUE(s.SizeRestrict);
    EXPECT_EQ(s.Size1, 10);
    EXPECT_EQ(s.Size2, 10);
    EXPECT_EQ(s.SizeUnits, 1);
    EXPECT_EQ(R::BuildType(Complete()).Method, MethodRecycleBin);
}

} // namespace
} // namespace brumo

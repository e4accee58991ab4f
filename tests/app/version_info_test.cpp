#include "app/version_info.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TEST(VersionInfo, TranslationTablePreference) {
    EXPECT_EQ(VersionInfo::StringTablePath({{0x0407, 0x04E4}, {0x0409, 0x04B0}}),
              "\\StringFileInfo\\040904b0\\");
    EXPECT_EQ(VersionInfo::StringTablePath({{0x0407, 0x04E4}, {0x0809, 0x04E4}}),
              "\\StringFileInfo\\080904e4\\");
    EXPECT_EQ(VersionInfo::StringTablePath({{0x0407, 0x04E4}, {0x040C, 0x04E4}}),
              "\\StringFileInfo\\040704e4\\");
    EXPECT_EQ(VersionInfo::StringTablePath({}), "\\StringFileInfo\\040904E4\\");
}

TEST(VersionInfo, VersionLineForEveryCombination) {
    VersionInfo v;
    v.VersionText = "2.0.0.488";
    v.IsBeta = true;
    EXPECT_EQ(v.VersionLine("Brumo"), "Brumo - beta version 2.0.0.488");
    v.IsBeta = false;
    EXPECT_EQ(v.VersionLine("Brumo"), "Brumo - version 2.0.0.488");
    v.VersionText.clear();
    EXPECT_EQ(v.VersionLine("Brumo"), "Brumo");
    v.IsBeta = true;
    EXPECT_EQ(v.VersionLine("Brumo"), "Brumo beta");
    // Without a legal notice the second line still says something.
    EXPECT_EQ(v.SecondLine(), VersionInfo::FallbackSecondLine);
    v.LegalText = "(c) someone";
    EXPECT_EQ(v.SecondLine(), "(c) someone");
}

TEST(VersionInfo, ThisBuildIsAPreRelease) {
    VersionInfo v = VersionInfo::OfThisBuild();
    EXPECT_EQ(v.VersionText, "2.0.0.488");
    EXPECT_TRUE(v.IsBeta);
    EXPECT_FALSE(v.LegalText.empty());
    EXPECT_EQ(VersionInfo::KeyName(4), "LegalCopyright");
    EXPECT_EQ(VersionInfo::KeyName(8), "");
}

} // namespace
} // namespace brumo

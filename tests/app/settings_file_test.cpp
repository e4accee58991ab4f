#include "app/ini_text.h"
#include "app/settings_file.h"

#include "support/file_text.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace brumo {
namespace {

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(IniText, FindsValuesIgnoringCaseOfSectionAndKey) {
    IniText ini("; comment\r\n[HDForm Settings]\r\n Left = 12 \r\nTop=-3\n[Other]\rLeft=99\r\n");
    EXPECT_EQ(ini.Value("hdform settings", "LEFT"), "12");
    EXPECT_EQ(ini.Value("HDFORM SETTINGS", "top"), "-3");
    EXPECT_EQ(ini.Value("other", "left"), "99");
    EXPECT_FALSE(ini.Value("HDForm Settings", "Right"));
    EXPECT_FALSE(ini.Value("Missing", "Left"));
    // Keys of one section are not found in another.
    EXPECT_FALSE(ini.Value("Other", "Top"));
}

TEST(IniText, ChangesKeepEveryOtherLineAndUseCrLf) {
    IniText ini("; my notes\n[A]\nx=1\nunknown line\n\n[B]\ny=2\n");
    ini.SetValue("a", "X", "5");          // replaces in place
    ini.SetValue("A", "z", "7");          // joins its section, ahead of the blank line
    ini.SetValue("C Settings", "w", "8"); // new section at the end, named as given
    EXPECT_EQ(ini.Text(), "; my notes\r\n[A]\r\nX=5\r\nunknown line\r\nz=7\r\n\r\n[B]\r\ny=2\r\n"
                          "[C Settings]\r\nw=8\r\n");
}

TEST(IniText, ValuesWithSurroundingBlanksSurviveARoundTrip) {
    IniText ini;
    ini.SetValue("S", "a", "  padded  ");
    ini.SetValue("S", "b", "\"quoted\"");
    ini.SetValue("S", "c", "");
    IniText again(ini.Text());
    EXPECT_EQ(again.Value("S", "a"), "  padded  ");
    EXPECT_EQ(again.Value("S", "b"), "\"quoted\"");
    EXPECT_EQ(again.Value("S", "c"), "");
}

TEST(IniText, AcceptsOnlyWholeDecimalIntegers) {
    EXPECT_EQ(IniText::ParseInteger("42"), 42);
    EXPECT_EQ(IniText::ParseInteger(" -7 "), -7);
    EXPECT_EQ(IniText::ParseInteger("+7"), 7);
    EXPECT_EQ(IniText::ParseInteger("-2147483648"), -2147483648LL);
    for (const char* bad : {"", " ", "12abc", "1.5", "0x10", "+-1", "--1", "2147483648", "abc"})
        EXPECT_FALSE(IniText::ParseInteger(bad)) << bad;
}

TEST(SettingsFile, MissingFileSectionKeyOrBadNumberGiveTheDefault) {
    test::TempTree tree;
    SettingsFile missing((tree / "none.INI").string());
    EXPECT_EQ(missing.ReadInteger("HDForm Settings", "Left", 17), 17);
    EXPECT_EQ(missing.ReadString("NameForm Settings", "InitialDir", "dflt"), "dflt");

    WriteAll(tree / "b.INI", "[DefaultForm Settings]\r\nListWidth=wide\r\nOther=300\r\n");
    SettingsFile settings((tree / "b.INI").string());
    EXPECT_EQ(settings.ReadInteger("DefaultForm Settings", "ListWidth", 200), 200);
    EXPECT_EQ(settings.ReadInteger("defaultform settings", "other", 200), 300);
    EXPECT_EQ(settings.ReadInteger("Elsewhere", "Other", 5), 5);
}

TEST(SettingsFile, WritesCreateTheFileAndKeepUnknownLines) {
    test::TempTree tree;
    auto path = tree / "Brumo.INI";
    SettingsFile settings(path.string());
    ASSERT_FALSE(settings.WriteInteger("DefaultForm Settings", "ListWidth", 300));
    ASSERT_FALSE(settings.WriteString("NameForm Settings", "InitialDir", "C:\\Some Dir\\"));
    EXPECT_EQ(test::ReadFileText(path), "[DefaultForm Settings]\r\nListWidth=300\r\n"
                                        "[NameForm Settings]\r\nInitialDir=C:\\Some Dir\\\r\n");

    // A hand-edited file keeps its comments and foreign keys across writes.
    WriteAll(path, "# by hand\n[defaultform settings]\nListWidth=1\nColour=red\n");
    ASSERT_FALSE(settings.WriteInteger("DefaultForm Settings", "LISTWIDTH", -5));
    EXPECT_EQ(test::ReadFileText(path),
              "# by hand\r\n[defaultform settings]\r\nLISTWIDTH=-5\r\nColour=red\r\n");
    EXPECT_EQ(settings.ReadInteger("DefaultForm Settings", "ListWidth", 0), -5);
    EXPECT_EQ(settings.ReadString("NameForm Settings", "InitialDir", ""), "");
}

TEST(SettingsFile, AFailedWriteNamesTheFileAndChangesNothing) {
    test::TempTree tree;
    SettingsFile nowhere((tree / "no such folder" / "Brumo.INI").string());
    auto error = nowhere.WriteInteger("HDForm Settings", "Left", 1);
    ASSERT_TRUE(error);
    EXPECT_NE(error->Message().find("Brumo.INI"), std::string::npos);

    auto path = tree / "Brumo.INI";
    WriteAll(path, "[S]\r\nk=1\r\n");
    SettingsFile settings(path.string());
    // A line break would split the value into lines of its own.
    EXPECT_TRUE(settings.WriteString("S", "InitialDir", "a\nb=2"));
    EXPECT_EQ(test::ReadFileText(path), "[S]\r\nk=1\r\n");
}

} // namespace
} // namespace brumo

#include "model/junk_file_type.h"
#include "model/styled_text.h"
#include "platform/locale_info.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

using enum RunStyle;

const std::string kDrives = "Local drives (C:,D:)";

std::vector<StyledRun> Describe(const TJunkFileObj& t) {
    StyledText box;
    box.Add("left over", Bold, 8, 3); // DescribeTo replaces what the box held
    t.DescribeTo(box, kDrives);
    return box.Runs();
}

std::string Plain(const TJunkFileObj& t) {
    StyledText box;
    t.DescribeTo(box, kDrives);
    return box.PlainText();
}

// The runs from the first one whose text starts with `first`, `count` of them.
std::vector<StyledRun> RunsFrom(const std::vector<StyledRun>& runs, const std::string& first,
                                size_t count) {
    for (size_t i = 0; i < runs.size(); ++i)
        if (runs[i].text.starts_with(first))
            return {runs.begin() + i, runs.begin() + std::min(runs.size(), i + count)};
    return {};
}

TJunkFileObj BackupFiles() {
    return TJunkFileObj("Backup files", true, 0, "", "*.bak\r\n*.old", "", 0);
}

TEST(Summary, BackupFilesRunByRun) {
    const std::vector<StyledRun> expected{
        {"Type: ", Bold, 14, 0},
        {"Backup files", BoldUnderline, 14, 0},
        {" (enabled)", Bold, 14, 2},
        {"Search Local drives (C:,D:)", Italic, 12, 1},
        {"Search for files matching these file specifications:", Italic, 12, 1},
        {"\t*.bak", Regular, 10, 1},
        {"\t*.old", Regular, 10, 1},
        {"", Regular, 10, 1},
        {"Clean up matching files by:", Italic, 12, 1},
        {"\tmoving them to the Recycle bin", Regular, 10, 1},
    };
    EXPECT_EQ(Describe(BackupFiles()), expected);
    EXPECT_EQ(Plain(BackupFiles()),
              "Type: Backup files (enabled)\n\nSearch Local drives (C:,D:)\n"
              "Search for files matching these file specifications:\n\t*.bak\n\t*.old\n\n"
              "Clean up matching files by:\n\tmoving them to the Recycle bin\n");
}

TEST(Summary, FoldersWithTheirModes) {
    TJunkFileObj t("T", false, 2, "C:\\A", "", "", 0);
    t.Folders[0].mode = SubfoldersOnly;
    const auto runs = Describe(t);
    EXPECT_EQ(runs[2], (StyledRun{" (disabled)", Bold, 14, 2}));
    EXPECT_EQ(RunsFrom(runs, "Search for files in", 3),
              (std::vector<StyledRun>{{"Search for files in this folder:", Italic, 12, 1},
                                      {"\tC:\\A", Regular, 10, 0},
                                      {"\t's subfolders only", Italic, 10, 1}}));
    // No specifications: the plural heading with nothing under it.
    EXPECT_EQ(RunsFrom(runs, "Search for files matching", 2),
              (std::vector<StyledRun>{
                  {"Search for files matching these file specifications:", Italic, 12, 1},
                  {"", Regular, 10, 1}}));

    t.Folders = {{"C:\\A", FolderAndSubfolders}, {"D:\\B", FolderOnly}, {"E:\\", 7}};
    const std::string plain = Plain(t);
    EXPECT_NE(plain.find("Search for files in these folders:\n"
                         "\tC:\\A\t and its subfolders\n"
                         "\tD:\\B\t but not its subfolders\n"
                         "\tE:\\\t and its subfolders\n"),
              std::string::npos)
        << plain;
}

TEST(Summary, ASingleLocalDrivesEntryMeansAllDrives) {
    TJunkFileObj t = BackupFiles();
    t.Folders = {{"Local drives (C:)", FolderAndSubfolders}};
    EXPECT_EQ(Describe(t)[3], (StyledRun{"Search Local drives (C:,D:)", Italic, 12, 1}));
    t.Folders.push_back({"D:\\", FolderAndSubfolders});
    EXPECT_EQ(Describe(t)[3].text, "Search for files in these folders:");
}

TEST(Summary, SizeAgeAndDateRestrictions) {
    TJunkFileObj t = BackupFiles();
    t.SizeRestrict = true;
    t.SizeCompare = 3;
    t.Size1 = 100;
    t.Size2 = 500;
    t.SizeUnits = 1;
    t.AgeRestrict = true;
    t.AgeCompare = 1;
    t.Age1 = 2;
    t.Age2 = 5; // not shown for a one-value kind
    t.DateRestrict = true;
    t.DateCompare = 1;
    t.Date1 = 39462;
    t.Date2 = 39500;
    const auto runs = Describe(t);
    const std::string sep(1, LocaleInfo::DateSeparator());
    EXPECT_EQ(RunsFrom(runs, "Restrict", 13),
              (std::vector<StyledRun>{
                  {"Restrict file matching by date or size:", Italic, 12, 1},
                  {"\tFile date must be ", Regular, 10, 0},
                  {"before ", Regular, 10, 0},
                  {"1" + sep + "15" + sep + "2008", Bold, 10, 1},
                  {"\tFile must be ", Regular, 10, 0},
                  {"older than ", Regular, 10, 0},
                  {"1 week", Bold, 10, 0},
                  {" old", Regular, 10, 1},
                  {"\tFile size must be ", Regular, 10, 0},
                  {"between ", Regular, 10, 0},
                  {"100 ", Bold, 10, 0},
                  {"and ", Regular, 10, 0},
                  {"500 ", Bold, 10, 0},
              }));
    EXPECT_EQ(RunsFrom(runs, "KB", 1), (std::vector<StyledRun>{{"KB", Regular, 10, 1}}));

    t.DateCompare = 4;
    t.AgeCompare = 3;
    const std::string plain = Plain(t);
    EXPECT_NE(plain.find("\tFile date must be not between 1" + sep + "15" + sep + "2008 and 2" +
                         sep + "22" + sep + "2008\n"),
              std::string::npos)
        << plain;
    EXPECT_NE(plain.find("\tFile must be between 1 week and 6 months old\n"), std::string::npos);
    EXPECT_NE(plain.find("\tFile size must be between 100 and 500 KB\n"), std::string::npos);
}

TEST(Summary, ProtectionsSingularAndPlural) {
    TJunkFileObj t = BackupFiles();
    t.Protects = {"keep.bak"};
    EXPECT_EQ(
        RunsFrom(Describe(t), "Protect", 2),
        (std::vector<StyledRun>{{"Protect files matching this file specification:", Italic, 12, 1},
                                {"\tkeep.bak", Regular, 10, 1}}));
    t.Protects.push_back("C:\\x.old");
    EXPECT_NE(Plain(t).find("Protect files matching these file specifications:\n\tkeep.bak\n"
                            "\tC:\\x.old\n\n"),
              std::string::npos);
}

TEST(Summary, CodesOutsideTheTablesGiveEmptyRuns) {
    TJunkFileObj t = BackupFiles();
    t.Method = -1;
    t.SizeRestrict = true;
    t.SizeCompare = -1; // one-value form
    t.Size1 = 7;
    t.Size2 = 9;
    t.SizeUnits = 3;
    t.AgeRestrict = true;
    t.AgeCompare = 9; // two-value form
    t.Age1 = -1;
    t.Age2 = 7;
    t.DateRestrict = true;
    t.DateCompare = 0;
    t.Date1 = 1e300; // a damaged store's date
    const std::string plain = Plain(t);
    EXPECT_NE(plain.find("\tFile date must be exactly \n"), std::string::npos) << plain;
    EXPECT_NE(plain.find("\tFile must be   and  old\n"), std::string::npos) << plain;
    EXPECT_NE(plain.find("\tFile size must be  7 \n"), std::string::npos) << plain;
    EXPECT_TRUE(plain.ends_with("Clean up matching files by:\n\t\n")) << plain;
}

} // namespace
} // namespace brumo

#include "platform/folder.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brumo {
namespace {

using test::TreeBuilder;

// Logs and lists read alike on every system only if a folder's entries come in one order: the
// order of a Windows search of an NTFS folder, by upper-cased name.
TEST(FolderOrder, EntriesComeByUpperCasedNameAsOnWindows) {
    test::TempTree tree;
    const std::vector<std::string> files = {
        "10.tmp", "9.tmp",   "a b.tmp", "a.b",    "A.tmp", "a1.tmp", "ab",     "b.tmp", "ss.tmp",
        "Z.tmp",  "[q].tmp", "_x.tmp",  "~t.tmp", "Ä.tmp", "é.tmp",  "É2.tmp", "ß.tmp"};
    // Made in neither that order nor its reverse.
    for (size_t step : {1, 0})
        for (size_t i = step; i < files.size(); i += 2)
            TreeBuilder::MakeFile(tree.Root() / std::filesystem::u8path(files[i]));
    TreeBuilder::MakeDir(tree / "sub" / "b dir");
    TreeBuilder::MakeDir(tree / "sub" / "_dir");
    TreeBuilder::MakeDir(tree / "sub" / "A dir");
    test::DriveMap drives({{'C', tree.Root()}});

    auto folder = Folder::Open(drives.Root('C'));
    ASSERT_TRUE(folder);
    std::vector<FindEntry> found;
    folder->Find("*.*", found);
    std::vector<std::string> names;
    for (const FindEntry& e : found)
        if (e.name != "sub" && e.name != "ascii")
            names.push_back(e.name);
    EXPECT_EQ(names, files);

    // A folder of ASCII names alone takes a faster path to the same order. (No two names differ
    // in case alone: on Windows they would be one file.)
    const std::vector<std::string> ascii = {"10.tmp",  "9.tmp",  "a b.tmp", "a.b",    "A.tmp",
                                            "a1.tmp",  "ab",     "b.tmp",   "readme", "Z.tmp",
                                            "[q].tmp", "_x.tmp", "~t.tmp"};
    for (size_t i = ascii.size(); i-- > 0;)
        TreeBuilder::MakeFile(tree / "ascii" / ascii[i]);
    auto plain = Folder::Open(drives.Path('C', "ascii"));
    ASSERT_TRUE(plain);
    found.clear();
    plain->Find("*", found);
    names.clear();
    for (const FindEntry& e : found)
        names.push_back(e.name);
    EXPECT_EQ(names, ascii);

    auto sub = Folder::Open(drives.Path('C', "sub"));
    ASSERT_TRUE(sub);
    std::vector<FindEntry> subfolders;
    sub->Subfolders(subfolders, false);
    ASSERT_EQ(subfolders.size(), 3u);
    EXPECT_EQ(subfolders[0].name, "A dir");
    EXPECT_EQ(subfolders[1].name, "b dir");
    EXPECT_EQ(subfolders[2].name, "_dir");
}

} // namespace
} // namespace brumo

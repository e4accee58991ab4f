#include "platform/folder.h"
#include "platform/path_map.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

using test::TreeBuilder;

TEST(FolderPaths, SpelledAsStoredAndProbedForASubfolder) {
    test::TempTree tree;
    TreeBuilder::MakeDir(tree / "ZEBRA" / "Inner");
    TreeBuilder::MakeFile(tree / "Plain" / "a.txt");
    TreeBuilder::MakeDir(tree / "Dots" / ".cache");
    test::DriveMap drives({{'C', tree.Root()}});

    // Each existing component as its folder keeps it; the rest as given.
    EXPECT_TRUE(
        PathMap::AsStored(drives.Path('C', "zebra\\INNER\\")).ends_with("\\ZEBRA\\Inner\\"));
    EXPECT_TRUE(
        PathMap::AsStored(drives.Path('C', "zebra\\Gone\\x")).ends_with("\\ZEBRA\\Gone\\x"));

    const auto notDotted = [](std::string_view name) { return name[0] != '.'; };
    EXPECT_TRUE(Folder::HasSubfolder(drives.Root('C'), notDotted));
    EXPECT_TRUE(Folder::HasSubfolder(drives.Path('C', "ZEBRA"), notDotted));
    EXPECT_FALSE(Folder::HasSubfolder(drives.Path('C', "Plain"), notDotted));
    EXPECT_FALSE(Folder::HasSubfolder(drives.Path('C', "Dots"), notDotted));
    EXPECT_FALSE(Folder::HasSubfolder(drives.Path('C', "Gone"), notDotted));
}

} // namespace
} // namespace brumo

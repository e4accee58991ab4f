#include "platform/path_map.h"
#include "platform/posix/safe_parent.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

TEST(PathMap, WindowsToHostTakesTheRealCaseOfEachComponent) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "Data/Sub Folder/Report.TXT");
    TreeBuilder::MakeFile(tree / "Data/other");
    DriveMap map{{'D', tree.Root()}};
    const std::string root = tree.Root().string();
    EXPECT_EQ(PathMap::ToHost("d:\\DATA\\sub folder\\report.txt"),
              root + "/Data/Sub Folder/Report.TXT");
    EXPECT_EQ(PathMap::ToHost("D:/Data/Other"), root + "/Data/other");
    // Below a missing folder the given case stays.
    EXPECT_EQ(PathMap::ToHost("D:\\data\\New\\Thing"), root + "/Data/New/Thing");
    EXPECT_EQ(PathMap::ToHost("D:"), root);
    EXPECT_EQ(PathMap::ToHost("D:\\"), root);
    // ".." never climbs out of the drive.
    EXPECT_EQ(PathMap::ToHost("D:\\..\\..\\Data"), root + "/Data");
    EXPECT_FALSE(PathMap::ToHost("C:\\Data"));
    EXPECT_FALSE(PathMap::ToHost("\\\\server\\share"));
    EXPECT_EQ(PathMap::ToHost("/host/path"), "/host/path");
}

TEST(PathMap, CaseFallbackPicksOneEntryDeterministically) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "b/readme");
    TreeBuilder::MakeFile(tree / "B/README");
    TreeBuilder::MakeFile(tree / "B/Readme");
    DriveMap map{{'D', tree.Root()}};
    const std::string root = tree.Root().string();
    // Exact case wins; otherwise the lowest matching name.
    EXPECT_EQ(PathMap::ToHost("D:\\B\\Readme"), root + "/B/Readme");
    EXPECT_EQ(PathMap::ToHost("D:\\B\\readME"), root + "/B/README");
}

TEST(PathMap, HostToWindowsByLongestDriveFolder) {
    TempTree tree;
    TreeBuilder::MakeDir(tree / "outer/inner");
    DriveMap map{{'D', tree / "outer"}, {'E', tree / "outer/inner"}};
    const std::string root = tree.Root().string();
    EXPECT_EQ(PathMap::ToWindows(root + "/outer/inner/a/b.txt"), "E:\\a\\b.txt");
    EXPECT_EQ(PathMap::ToWindows(root + "/outer/innerx"), "D:\\innerx");
    EXPECT_EQ(PathMap::ToWindows(root + "/outer/"), "D:\\");
    EXPECT_FALSE(PathMap::ToWindows(root + "/elsewhere"));
}

TEST(SafeParent, ResolvesCaseAndActsRelativeToTheParent) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "Dir/Sub/File.tmp");
    DriveMap map{{'D', tree.Root()}};
    SafeParent parent;
    ASSERT_FALSE(SafeParent::Open("D:\\dir\\SUB\\file.TMP", parent));
    EXPECT_EQ(parent.Name(), "File.tmp");
    EXPECT_EQ(parent.HostPath(), (tree / "Dir/Sub/File.tmp").string());
    struct stat st;
    EXPECT_EQ(::fstatat(parent.Fd(), parent.Name().c_str(), &st, AT_SYMLINK_NOFOLLOW), 0);

    // A missing final name is kept as given; a missing folder fails.
    ASSERT_FALSE(SafeParent::Open("D:\\Dir\\Sub\\New.tmp", parent));
    EXPECT_EQ(parent.Name(), "New.tmp");
    EXPECT_EQ(SafeParent::Open("D:\\Dir\\Gone\\x", parent).code, ENOENT);
    EXPECT_EQ(SafeParent::Open("D:\\", parent).code, EINVAL);
    EXPECT_EQ(SafeParent::Open("Q:\\x", parent).code, ENOENT);

    // Creating the chain on request.
    ASSERT_FALSE(SafeParent::Open("D:\\dir\\New1\\New2\\f", parent, true));
    EXPECT_TRUE(std::filesystem::is_directory(tree / "Dir/New1/New2"));
    UniqueFd folder;
    ASSERT_FALSE(SafeParent::OpenFolder("D:\\DIR\\sub", folder));
    EXPECT_TRUE(folder.Valid());
}

TEST(SafeParent, AFolderSwappedForALinkIsRefused) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "drive/work/victim.tmp");
    TreeBuilder::MakeFile(tree / "outside/victim.tmp");
    DriveMap map{{'D', tree / "drive"}};
    SafeParent parent;
    ASSERT_FALSE(SafeParent::Open("D:\\work\\victim.tmp", parent));

    // The folder is replaced by a link to a folder outside the drive.
    std::filesystem::rename(tree / "drive/work", tree / "drive/moved");
    TreeBuilder::MakeLink(tree / "drive/work", tree / "outside");
    const OsError e = SafeParent::Open("D:\\work\\victim.tmp", parent);
    EXPECT_TRUE(e.code == ELOOP || e.code == ENOTDIR) << e.Message();
    UniqueFd folder;
    EXPECT_TRUE(SafeParent::OpenFolder("D:\\WORK", folder));
    // Creating missing folders never goes through the link either.
    EXPECT_TRUE(SafeParent::Open("D:\\work\\deeper\\x", parent, true));
    EXPECT_FALSE(std::filesystem::exists(tree / "outside/deeper"));
}

} // namespace
} // namespace brumo

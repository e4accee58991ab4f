#include "platform/drives.h"
#include "platform/posix/drive_table.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

TEST(DriveTable, VariableIsTheWholeTableAndSkipsMalformedEntries) {
    const DriveTable table =
        DriveTable::FromVariable("d=/data//x/;C=/;E=relative;9=/n;Dq;F=/f;D=/dup");
    ASSERT_EQ(table.Entries().size(), 3u);
    EXPECT_EQ(table.Entries()[0].letter, 'C');
    EXPECT_EQ(table.Entries()[1].letter, 'D');
    EXPECT_EQ(table.Entries()[1].folder, "/data/x"); // normalised, first entry of a letter wins
    EXPECT_EQ(table.Entries()[2].folder, "/f");
    ASSERT_NE(table.Find('d'), nullptr);
    EXPECT_EQ(table.Find('E'), nullptr);
    EXPECT_TRUE(DriveTable::FromVariable("").Entries().empty());
}

TEST(DriveTable, MountInfoGivesLettersToLocalDisksOnly) {
    const std::string mountinfo = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                                  "24 27 0:6 / /dev rw - devtmpfs devtmpfs rw\n"
                                  "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                                  "30 27 8:17 / /home rw - ext4 /dev/sdb1 rw\n"
                                  "31 27 8:33 / /media/usb\\040stick rw - vfat /dev/sdc1 rw\n"
                                  "32 27 0:40 / /mnt/share rw - nfs4 server:/export rw\n"
                                  "33 27 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
                                  "34 27 8:17 /sub /srv/bound rw - ext4 /dev/sdb1 rw\n"
                                  "35 27 254:0 /var /var/bound rw - ext4 /dev/vda rw\n"
                                  "36 27 8:49 / /data\\040disk rw shared:5 - xfs /dev/sdd1 rw\n"
                                  "37 27 0:50 / /run/user/0 rw - tmpfs tmpfs rw\n"
                                  "garbage line\n";
    std::vector<std::string> probed;
    const DriveTable table = DriveTable::FromMountInfo(
        mountinfo, [&](const std::string& point, unsigned major, unsigned minor) {
            probed.push_back(point);
            return !(major == 8 && minor == 33); // the stick is removable
        });
    ASSERT_EQ(table.Entries().size(), 3u);
    EXPECT_EQ(table.Entries()[0].folder, "/");
    EXPECT_EQ(table.Entries()[0].letter, 'C');
    EXPECT_EQ(table.Entries()[1].folder, "/home");
    EXPECT_EQ(table.Entries()[1].letter, 'D');
    EXPECT_EQ(table.Entries()[2].folder, "/data disk");
    EXPECT_EQ(table.Entries()[2].letter, 'E');
    EXPECT_EQ(probed, (std::vector<std::string>{"/home", "/media/usb stick", "/data disk"}));
}

TEST(DriveTable, BindMountOfAPartGivesWayToTheFileSystemRoot) {
    const std::string mountinfo = "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                                  "30 27 8:17 /sub /srv/bound rw - ext4 /dev/sdb1 rw\n"
                                  "31 27 8:17 / /mnt/disk rw - ext4 /dev/sdb1 rw\n";
    const DriveTable table = DriveTable::FromMountInfo(
        mountinfo, [](const std::string&, unsigned, unsigned) { return true; });
    ASSERT_EQ(table.Entries().size(), 2u);
    EXPECT_EQ(table.Entries()[1].folder, "/mnt/disk");
}

TEST(DriveTable, LongestPrefixOnComponentBoundaries) {
    const DriveTable table =
        DriveTable::FromVariable("C=/;D=/srv/data;E=/srv/data/inner;F=/srv/data");
    std::string rest;
    EXPECT_EQ(table.ForHostPath("/srv/data/inner/x/y", rest)->letter, 'E');
    EXPECT_EQ(rest, "x/y");
    EXPECT_EQ(table.ForHostPath("/srv/data/innerx", rest)->letter, 'D'); // tie goes to D
    EXPECT_EQ(rest, "innerx");
    EXPECT_EQ(table.ForHostPath("/srv/data", rest)->letter, 'D');
    EXPECT_EQ(rest, "");
    EXPECT_EQ(table.ForHostPath("/srv/database", rest)->letter, 'C');
    EXPECT_EQ(rest, "srv/database");
    EXPECT_EQ(table.ForHostPath("/srv/data/inner/../../etc", rest)->letter, 'C');
    EXPECT_EQ(rest, "srv/etc");
    EXPECT_EQ(table.ForHostPath("relative/path", rest), nullptr);
    EXPECT_EQ(DriveTable::FromVariable("D=/a").ForHostPath("/b", rest), nullptr);
}

TEST(Drives, TableDrivesMaskTypesAndSerials) {
    TempTree tree;
    TreeBuilder::MakeDir(tree / "one");
    TreeBuilder::MakeDir(tree / "two");
    DriveMap map{{'D', tree / "one"}, {'E', tree / "two"}, {'G', tree / "one"}};
    EXPECT_EQ(Drives::LogicalDriveMask(), (1u << 3) | (1u << 4) | (1u << 6));
    EXPECT_EQ(Drives::TypeOf("d:\\"), DriveType::Fixed);
    EXPECT_EQ(Drives::TypeOf("E:"), DriveType::Fixed);
    EXPECT_EQ(Drives::TypeOf("C:\\"), DriveType::NoRootDir);
    EXPECT_EQ(Drives::TypeOf("D:\\one"), DriveType::NoRootDir);
    ASSERT_TRUE(Drives::VolumeSerial("D:\\"));
    EXPECT_EQ(Drives::VolumeSerial("D:\\"), Drives::VolumeSerial("G:\\"));
    EXPECT_NE(Drives::VolumeSerial("D:\\"), Drives::VolumeSerial("E:\\"));
    EXPECT_FALSE(Drives::VolumeSerial("C:\\"));
    ASSERT_TRUE(Drives::TotalBytes("E:\\"));
    EXPECT_GT(*Drives::TotalBytes("E:\\"), 0);
}

TEST(Drives, WithoutTheVariableRootIsDriveC) {
    DriveMap map{};
    ::unsetenv("BRUMO_DRIVES");
    Drives::Reload();
    EXPECT_TRUE(Drives::LogicalDriveMask() & (1u << 2));
    EXPECT_EQ(Drives::TypeOf("C:\\"), DriveType::Fixed);
}

} // namespace
} // namespace brumo

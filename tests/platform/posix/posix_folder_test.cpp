#include "platform/file_attributes.h"
#include "platform/posix/dos_attributes.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/posix_folder.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;
namespace fs = std::filesystem;

std::unique_ptr<PosixFolder> OpenHost(const fs::path& path, std::string windowsPath = "T:") {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return PosixFolder::Create(DirHandle::Adopt(fd), std::move(windowsPath), path.string(),
                               MountTable::Current());
}

std::vector<std::string> Names(const std::vector<FindEntry>& entries) {
    std::vector<std::string> names;
    for (const FindEntry& e : entries)
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

const FindEntry* Entry(const std::vector<FindEntry>& entries, const std::string& name) {
    for (const FindEntry& e : entries) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

TEST(PosixFolder, OneListingServesEverySearchAndStatsOnlyMatches) {
    TempTree tree;
    for (int i = 0; i < 40; ++i)
        TreeBuilder::MakeFile(tree / ("keep" + std::to_string(i) + ".txt"));
    TreeBuilder::MakeFile(tree / "a.tmp", 10);
    TreeBuilder::MakeFile(tree / "B.TMP", 20);
    TreeBuilder::MakeFile(tree / "~x.tmp", 30);
    TreeBuilder::MakeFile(tree / "README", 5);
    TreeBuilder::MakeDir(tree / "sub.tmp");

    auto folder = OpenHost(tree.Root());
    ASSERT_TRUE(folder);
    // Entries made or removed after the folder was read: the listing is not read again,
    // and an entry gone meanwhile is not reported.
    TreeBuilder::MakeFile(tree / "late.tmp");
    fs::remove(tree / "B.TMP");

    std::vector<FindEntry> found;
    const uint64_t before = PosixFolder::StatCalls();
    folder->Find("*.tmp", found);
    EXPECT_EQ(PosixFolder::StatCalls() - before, 4u); // a.tmp, B.TMP, ~x.tmp, sub.tmp
    EXPECT_EQ(Names(found), (std::vector<std::string>{"a.tmp", "sub.tmp", "~x.tmp"}));
    EXPECT_EQ(Entry(found, "a.tmp")->size, 10);
    EXPECT_EQ(Entry(found, "sub.tmp")->attributes & FileAttributes::Directory,
              FileAttributes::Directory);

    found.clear();
    folder->Find("~*.*", found);
    EXPECT_EQ(Names(found), (std::vector<std::string>{"~x.tmp"}));
    found.clear();
    folder->Find("*.", found);
    EXPECT_EQ(Names(found), (std::vector<std::string>{"README"}));
    found.clear();
    folder->Find("*", found);
    EXPECT_EQ(found.size(), 44u); // 40 + a.tmp + ~x.tmp + README + sub.tmp; no "." or ".."
}

TEST(PosixFolder, EntriesCarryWindowsAttributesSizesAndTimes) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "plain.dat", 1234);
    TreeBuilder::SetWriteTime(tree / "plain.dat", 2020, 2, 29, 13, 14, 15);
    TreeBuilder::MakeFile(tree / ".hidden");
    TreeBuilder::MakeFile(tree / "locked.dat");
    TreeBuilder::MakeReadOnly(tree / "locked.dat");
    TreeBuilder::MakeFile(tree / "dos.dat");
    const bool haveXattr = TreeBuilder::SetDosAttributes(tree / "dos.dat", 0x26);
    TreeBuilder::MakeDir(tree / "folder");
    TreeBuilder::MakeLink(tree / "file-link", "plain.dat");
    TreeBuilder::MakeLink(tree / "folder-link", "folder");
    TreeBuilder::MakeLink(tree / "dangling", "nowhere/at/all");

    auto folder = OpenHost(tree.Root());
    ASSERT_TRUE(folder);
    std::vector<FindEntry> all;
    folder->Find("*", all);

    const FindEntry* plain = Entry(all, "plain.dat");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->size, 1234);
    EXPECT_EQ(plain->shortName, "plain.dat");
    EXPECT_EQ(plain->attributes, FileAttributes::Normal);
    // 2020-02-29 13:14:15 UTC (tests run with TZ=UTC) as FILETIME.
    EXPECT_EQ(plain->lastWriteUtc, (1582982055LL + 11644473600LL) * 10000000LL);

    EXPECT_TRUE(Entry(all, ".hidden")->attributes & FileAttributes::Hidden);
    EXPECT_TRUE(Entry(all, "locked.dat")->attributes & FileAttributes::ReadOnly);
    EXPECT_FALSE(plain->attributes & FileAttributes::ReadOnly);
    if (haveXattr) {
        // Hidden, system and archive come from the attribute; its read-only bit does not.
        EXPECT_EQ(Entry(all, "dos.dat")->attributes,
                  FileAttributes::Archive | FileAttributes::Hidden | FileAttributes::System);
    }
    EXPECT_EQ(Entry(all, "folder")->attributes, FileAttributes::Directory);

    // A link is reported as the link, with no size of its own as on Windows.
    const FindEntry* fileLink = Entry(all, "file-link");
    EXPECT_EQ(fileLink->attributes, FileAttributes::ReparsePoint);
    EXPECT_EQ(fileLink->size, 0);
    EXPECT_EQ(Entry(all, "folder-link")->attributes,
              FileAttributes::ReparsePoint | FileAttributes::Directory);
    EXPECT_EQ(Entry(all, "dangling")->attributes, FileAttributes::ReparsePoint);
}

TEST(DosAttributes, ParsesTheTextFormAndIgnoresTheRest) {
    EXPECT_EQ(DosAttributes::Parse("0x22"), FileAttributes::Hidden | FileAttributes::Archive);
    EXPECT_EQ(DosAttributes::Parse("0X6"), FileAttributes::Hidden | FileAttributes::System);
    EXPECT_EQ(DosAttributes::Parse(std::string("0x4\0\x03\x00binary", 12)), FileAttributes::System);
    EXPECT_EQ(DosAttributes::Parse("0x1"), 0u);
    EXPECT_EQ(DosAttributes::Parse("22"), 0u);
    EXPECT_EQ(DosAttributes::Parse(""), 0u);
}

TEST(PosixFolder, SubfoldersListFoldersAndLinksWithoutStattingPlainFolders) {
    TempTree tree;
    TreeBuilder::MakeDir(tree / "one");
    TreeBuilder::MakeDir(tree / ".two");
    TreeBuilder::MakeDir(tree / "sys");
    const bool haveXattr = TreeBuilder::SetDosAttributes(tree / "sys", 0x6);
    TreeBuilder::MakeFile(tree / "file.txt");
    TreeBuilder::MakeLink(tree / "to-one", "one");
    TreeBuilder::MakeLink(tree / "to-file", "file.txt");
    TreeBuilder::MakeDir(tree / "back\\slash");

    auto folder = OpenHost(tree.Root());
    ASSERT_TRUE(folder);
    std::vector<FindEntry> subs;
    const uint64_t before = PosixFolder::StatCalls();
    folder->Subfolders(subs, false);
    // Only the two links are asked about, once each, to learn where they point.
    EXPECT_EQ(PosixFolder::StatCalls() - before, 2u);
    EXPECT_EQ(Names(subs), (std::vector<std::string>{".two", "one", "sys", "to-one"}));
    EXPECT_EQ(Entry(subs, "to-one")->attributes,
              FileAttributes::Directory | FileAttributes::ReparsePoint);
    EXPECT_EQ(Entry(subs, "sys")->attributes, FileAttributes::Directory);
    EXPECT_TRUE(Entry(subs, ".two")->attributes & FileAttributes::Hidden);

    subs.clear();
    folder->Subfolders(subs, true);
    if (haveXattr) {
        EXPECT_EQ(Entry(subs, "sys")->attributes,
                  FileAttributes::Directory | FileAttributes::Hidden | FileAttributes::System);
    }

    // A name with a backslash cannot be spelled as a Windows path: it is never reported.
    std::vector<FindEntry> all;
    folder->Find("*", all);
    EXPECT_FALSE(Entry(all, "back\\slash"));
}

TEST(PosixFolder, OpenSubNeverFollowsLinksAndFindsOtherCase) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "Sub" / "inner.tmp");
    TreeBuilder::MakeLink(tree / "link", "Sub");

    auto folder = OpenHost(tree.Root(), "T:\\base");
    ASSERT_TRUE(folder);
    EXPECT_FALSE(folder->OpenSub("link"));
    EXPECT_FALSE(folder->OpenSub(".."));
    EXPECT_FALSE(folder->OpenSub("missing"));
    auto sub = folder->OpenSub("SUB");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->Path(), "T:\\base\\Sub");
    std::vector<FindEntry> found;
    sub->Find("*.TMP", found);
    EXPECT_EQ(Names(found), (std::vector<std::string>{"inner.tmp"}));
}

TEST(PosixFolder, OpensWindowsPathsThroughTheDriveTableWithoutFollowingLinks) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "Temp" / "Sub" / "a.tmp");
    TreeBuilder::MakeLink(tree / "Linked", "Temp");
    DriveMap drives{{'T', tree.Root()}};

    auto root = Folder::Open("T:");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Path(), "T:");
    auto sub = Folder::Open("t:\\TEMP\\sub\\");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->Path(), "T:\\Temp\\Sub") << "named as on disk";
    std::vector<FindEntry> found;
    sub->Find("*.tmp", found);
    EXPECT_EQ(Names(found), (std::vector<std::string>{"a.tmp"}));

    EXPECT_FALSE(Folder::Open("T:\\Linked"));
    EXPECT_FALSE(Folder::Open("T:\\Linked\\Sub"));
    EXPECT_FALSE(Folder::Open("T:\\Temp\\Sub\\a.tmp"));
    EXPECT_FALSE(Folder::Open("T:\\Missing"));
    EXPECT_FALSE(Folder::Open("Q:\\Temp"));
}

TEST(PosixFolder, RootsOfOtherFileSystemsCarryTheReparseAttribute) {
    auto mounts = MountTable::Current();
    if (!mounts->IsMountPoint("/proc"))
        GTEST_SKIP() << "no separate /proc mount here";
    auto root = OpenHost("/", "C:");
    ASSERT_TRUE(root);
    std::vector<FindEntry> subs;
    root->Subfolders(subs, false);
    const FindEntry* proc = Entry(subs, "proc");
    ASSERT_TRUE(proc);
    EXPECT_EQ(proc->attributes, FileAttributes::Directory | FileAttributes::ReparsePoint);
    // Even asked directly, the walk does not step onto the other file system.
    EXPECT_FALSE(root->OpenSub("proc"));
}

TEST(MountTable, ReadsMountPointsWithEscapedCharacters) {
    auto table =
        MountTable::Parse("22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                          "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                          "40 27 8:1 / /media/my\\040disk rw - vfat /dev/sdb1 rw\n"
                          "41 40 8:2 /sub /media/my\\040disk/inner rw - ext4 /dev/sdc1 rw\n");
    EXPECT_TRUE(table->IsMountPoint("/proc"));
    EXPECT_TRUE(table->IsMountPoint("/media/my disk"));
    EXPECT_TRUE(table->HasMountsIn("/"));
    EXPECT_TRUE(table->HasMountsIn("/media"));
    EXPECT_FALSE(table->HasMountsIn("/home"));
    EXPECT_EQ(table->MountPointOf("/media/my disk/inner/x/y"), "/media/my disk/inner");
    EXPECT_EQ(table->MountPointOf("/media/my disk2/x"), "/");
    EXPECT_EQ(table->MountPointOf("/home/u"), "/");
}

// Restores the descriptor limit a test lowered.
class LowFileLimit {
public:
    explicit LowFileLimit(rlim_t soft) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit low = saved_;
        low.rlim_cur = soft;
        ::setrlimit(RLIMIT_NOFILE, &low);
    }
    ~LowFileLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

private:
    rlimit saved_{};
};

TEST(PosixFolder, WalksAChainDeeperThanTheDescriptorLimit) {
    constexpr int kDepth = 600;
    TempTree tree;
    {
        // Built relative to descriptors: the full path is longer than the system allows.
        int fd = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        for (int i = 0; i < kDepth; ++i) {
            ASSERT_EQ(::mkdirat(fd, "level", 0755), 0);
            if (i % 50 == 0) {
                ASSERT_EQ(::mkdirat(fd, "side", 0755), 0);
            }
            const int next = ::openat(fd, "level", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            ASSERT_GE(next, 0);
            fd = next;
        }
        const int file = ::openat(fd, "bottom.tmp", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(file, 0);
        ::close(file);
        ::close(fd);
    }
    auto root = OpenHost(tree.Root());
    ASSERT_TRUE(root);
    LowFileLimit limit(64);

    // Depth first, as the walk does it: every level stays open while the next is entered.
    std::vector<std::unique_ptr<Folder>> chain;
    chain.push_back(std::move(root));
    for (int i = 0; i < kDepth; ++i) {
        auto next = chain.back()->OpenSub("level");
        ASSERT_TRUE(next) << "level " << i + 1;
        chain.push_back(std::move(next));
    }
    std::vector<FindEntry> found;
    chain.back()->Find("*.tmp", found);
    EXPECT_EQ(Names(found), (std::vector<std::string>{"bottom.tmp"}));

    // Back up the chain: folders whose descriptors were given up open their other
    // subfolders again.
    int sides = 0;
    for (int i = kDepth; i >= 1; --i) {
        chain.pop_back();
        if ((i - 1) % 50 == 0) {
            auto side = chain.back()->OpenSub("side");
            ASSERT_TRUE(side) << "side at level " << i - 1;
            ++sides;
        }
    }
    EXPECT_EQ(sides, kDepth / 50);
}

TEST(PosixFolder, AFolderReplacedWhileItsDescriptorWasGivenUpIsNotReopened) {
    TempTree tree;
    fs::path deep = tree.Root();
    for (int i = 0; i < 100; ++i)
        deep /= "level";
    TreeBuilder::MakeDir(deep);
    TreeBuilder::MakeFile(tree / "level" / "side" / "mine.tmp");
    auto root = OpenHost(tree.Root());
    ASSERT_TRUE(root);
    std::vector<std::unique_ptr<Folder>> chain;
    chain.push_back(std::move(root));
    {
        LowFileLimit limit(64);
        for (int i = 0; i < 100; ++i) {
            chain.push_back(chain.back()->OpenSub("level"));
            ASSERT_TRUE(chain.back());
        }
    }
    // The first level was given up long ago; now another folder takes its name.
    fs::rename(tree / "level", tree / "moved");
    TreeBuilder::MakeFile(tree / "level" / "side" / "impostor.tmp");
    chain.resize(2);
    EXPECT_FALSE(chain[1]->OpenSub("side"));
    // The folder itself, at its new place, is still what the walk holds.
    auto side = chain[0]->OpenSub("moved");
    ASSERT_TRUE(side);
}

} // namespace
} // namespace brumo

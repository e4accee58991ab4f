#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/win32/windows_api.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

std::vector<std::string> Names(Folder& folder, std::string_view pattern) {
    std::vector<FindEntry> entries;
    folder.Find(pattern, entries);
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

using Names_ = std::vector<std::string>;

TEST(Win32Folder, SystemSearchIsHeldToTheProgramsWildcardRules) {
    TempTree tree;
    for (const char* name : {"file1._dd", "file123._dd", "file1234._dd", "README", "notes.txt",
                             "a.tmp", "~x.tmp", "b.TMP"})
        TreeBuilder::MakeFile(tree / name, 3);
    TreeBuilder::MakeDir(tree / "sub.tmp");
    DriveMap drives({{'C', tree.Root()}});
    auto folder = Folder::Open(drives.Root('C'));
    ASSERT_TRUE(folder);

    // "?" is exactly one character, where the system search would also take none.
    EXPECT_EQ(Names(*folder, "file???._dd"), (Names_{"file123._dd"}));
    EXPECT_EQ(Names(*folder, "FILE????._DD"), (Names_{"file1234._dd"}));
    EXPECT_EQ(Names(*folder, "*.tmp"), (Names_{"a.tmp", "b.TMP", "sub.tmp", "~x.tmp"}));
    EXPECT_EQ(Names(*folder, "~*.*"), (Names_{"~x.tmp"}));
    EXPECT_EQ(Names(*folder, "README."), (Names_{"README"}));
    EXPECT_EQ(Names(*folder, "readme"), (Names_{"README"}));
    EXPECT_EQ(Names(*folder, "*.*").size(), 9u);
    EXPECT_EQ(Names(*folder, "missing.*"), Names_{});

    // A pattern never reaches into another folder.
    TreeBuilder::MakeFile(tree / "sub.tmp" / "inner.tmp");
    EXPECT_EQ(Names(*folder, "sub.tmp\\*.tmp"), Names_{});
    EXPECT_EQ(Names(*folder, "..\\*.*"), Names_{});
    EXPECT_EQ(Names(*folder, ""), Names_{});
}

TEST(Win32Folder, EntriesCarrySizeTimeAndAShortName) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "a rather long file name.tmp", 5000000000LL);
    TreeBuilder::SetWriteTime(tree / "a rather long file name.tmp", 2008, 1, 15, 10, 30, 0);
    DriveMap drives({{'C', tree.Root()}});
    auto folder = Folder::Open(drives.Root('C'));
    ASSERT_TRUE(folder);
    std::vector<FindEntry> entries;
    folder->Find("*.tmp", entries);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 5000000000LL);
    EXPECT_FALSE(entries[0].attributes & FileAttributes::Directory);
    // 2008-01-15 10:30 UTC (the tests run with TZ=UTC) as a FILETIME.
    EXPECT_EQ(entries[0].lastWriteUtc, 128448666000000000LL);
    // Whatever the short name is, it finds the same file.
    ASSERT_FALSE(entries[0].shortName.empty());
    EXPECT_NE(entries[0].shortName, entries[0].name);
    EXPECT_EQ(Names(*folder, entries[0].shortName), (Names_{"a rather long file name.tmp"}));
}

TEST(Win32Folder, NonAsciiNamesComeBackWhole) {
    TempTree tree;
    // 80 characters, 240 bytes in UTF-8.
    std::string name;
    for (int i = 0; i < 80; ++i)
        name += "\xE6\x97\xA5"; // U+65E5
    name += ".tmp";
    TreeBuilder::MakeFile(tree.Root() / std::filesystem::u8path(name), 7);
    DriveMap drives({{'C', tree.Root()}});
    auto folder = Folder::Open(drives.Root('C'));
    ASSERT_TRUE(folder);
    EXPECT_EQ(Names(*folder, "*.tmp"), (Names_{name}));
    const std::string path = drives.Path('C', name);
    EXPECT_TRUE(FileSystem::FileExists(path));
    EXPECT_EQ(FileSystem::FileSize(path), 7);
    EXPECT_FALSE(FileSystem::DeleteFile(path));
    EXPECT_FALSE(FileSystem::FileExists(path));
}

TEST(Win32Folder, SubfoldersReportHiddenSystemAndLinks) {
    TempTree tree;
    TreeBuilder::MakeDir(tree / "RECYCLER");
    TreeBuilder::MakeDir(tree / "plain");
    TreeBuilder::MakeFile(tree / "file.txt");
    ASSERT_TRUE(TreeBuilder::SetDosAttributes(tree / "RECYCLER",
                                              FileAttributes::Hidden | FileAttributes::System));
    DriveMap drives({{'C', tree.Root()}});
    auto folder = Folder::Open(drives.Root('C'));
    ASSERT_TRUE(folder);
    std::vector<FindEntry> subs;
    folder->Subfolders(subs, true);
    std::sort(subs.begin(), subs.end(), [](auto& a, auto& b) { return a.name < b.name; });
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_EQ(subs[0].name, "RECYCLER");
    EXPECT_EQ(subs[0].attributes & (FileAttributes::Hidden | FileAttributes::System),
              FileAttributes::Hidden | FileAttributes::System);
    EXPECT_EQ(subs[1].name, "plain");
    EXPECT_FALSE(subs[1].attributes & FileAttributes::Hidden);

    EXPECT_TRUE(folder->OpenSub("plain"));
    EXPECT_FALSE(folder->OpenSub("file.txt"));
    EXPECT_FALSE(folder->OpenSub("missing"));
    EXPECT_FALSE(folder->OpenSub(".."));
    EXPECT_FALSE(folder->OpenSub("plain\\..\\.."));
    EXPECT_FALSE(Folder::Open(drives.Path('C', "file.txt")));
    EXPECT_FALSE(Folder::Open(drives.Path('C', "missing")));
}

TEST(Win32Folder, AJunctionIsNeverOpened) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "target" / "inside.tmp");
    const std::wstring link = (tree / "link").wstring();
    try {
        TreeBuilder::MakeLink(tree / "link", tree / "target");
    } catch (const std::exception&) {
        GTEST_SKIP() << "this system makes no links for a normal user";
    }
    const DWORD a = GetFileAttributesW(link.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "links on this system are not reparse points";
    DriveMap drives({{'C', tree.Root()}});
    auto folder = Folder::Open(drives.Root('C'));
    ASSERT_TRUE(folder);
    std::vector<FindEntry> subs;
    folder->Subfolders(subs, false);
    auto it = std::find_if(subs.begin(), subs.end(), [](auto& e) { return e.name == "link"; });
    ASSERT_NE(it, subs.end());
    EXPECT_TRUE(it->attributes & FileAttributes::ReparsePoint);
    EXPECT_FALSE(folder->OpenSub("link"));
    EXPECT_FALSE(Folder::Open(drives.Path('C', "link")));
}

} // namespace
} // namespace brumo

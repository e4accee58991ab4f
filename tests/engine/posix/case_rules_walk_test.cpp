#include "engine/walk_fixture.h"
#include "platform/posix/posix_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <stdlib.h>

namespace brumo::test {
namespace {

namespace fs = std::filesystem;

using CaseRulesWalkTest = WalkTest;

std::set<std::string> Paths(const WalkResult& r) {
    std::set<std::string> paths;
    for (const auto& f : r.files)
        paths.insert(f.first);
    return paths;
}

// Where the file system tells case apart, names that differ only in case are two files; one
// file selected by two specifications still counts once. A folder entry in another case finds
// the folder and reports it as it is spelled on disk.
TEST_F(CaseRulesWalkTest, CaseTwinsAreTwoFilesAndOneFileIsCountedOnce) {
    TreeBuilder::MakeFile(C("Temp/A.TMP"), 1);
    TreeBuilder::MakeFile(C("Temp/a.tmp"), 2);
    TreeBuilder::MakeFile(C("Temp/b.TMP"), 4);
    WalkResult r = Walk(Type({{"c:\\TEMP", FolderOnly}}, {"*.tmp", "A.TMP", "?.*"}));
    EXPECT_EQ(Paths(r),
              (std::set<std::string>{"C:\\Temp\\A.TMP", "C:\\Temp\\a.tmp", "C:\\Temp\\b.TMP"}));
    EXPECT_EQ(r.counts.filesMatched, 3);
    EXPECT_EQ(r.counts.bytesMatched, 7);
}

// Names compare by each code point's simple upper case, in specifications and protections
// alike: the dotted capital I and the Kelvin sign select and protect only themselves.
TEST_F(CaseRulesWalkTest, TurkishIAndKelvinSignSelectAndProtectOnlyTheirOwnFiles) {
    const std::string dottedI = "\xC4\xB0", kelvin = "\xE2\x84\xAA";
    for (const std::string& name : {dottedI + "1.tmp", std::string("I1.tmp"), std::string("i1.tmp"),
                                    kelvin + "x.tmp", std::string("kx.tmp")})
        TreeBuilder::MakeFile(C("T/" + name));
    const FolderEntry t{W("T"), FolderOnly};
    EXPECT_EQ(Paths(Walk(Type({t}, {dottedI + "1.tmp", "kx.tmp"}))),
              (std::set<std::string>{W("T\\" + dottedI + "1.tmp"), W("T\\kx.tmp")}));
    WalkResult r = Walk(Type({t}, {"*.tmp"}, {W("T\\" + dottedI + "1.TMP"), "K?.TMP"}));
    EXPECT_EQ(r.counts.filesProtected, 2);
    EXPECT_EQ(Paths(r),
              (std::set<std::string>{W("T\\I1.tmp"), W("T\\i1.tmp"), W("T\\" + kelvin + "x.tmp")}));
}

// Ctrl-C in a huge folder: a stop set while one file is handled ends the search before the
// next specification looks up any of the folder's twenty thousand matches. (In memory where the
// machine has a tmpfs: twenty thousand files take long to make on some disks.)
TEST_F(CaseRulesWalkTest, AStopEndsTheSearchWithinAHugeFolder) {
    std::string shm = "/dev/shm/brumo-test-XXXXXX";
    const bool inMemory = fs::is_directory("/dev/shm") && ::mkdtemp(shm.data()) != nullptr;
    const fs::path big = inMemory ? fs::path(shm) : C("big");
    TreeBuilder::MakeDir(big);
    for (int i = 0; i < 20000; ++i) {
        const std::string name = (big / ("f" + std::to_string(i) + ".tmp")).string();
        std::fclose(std::fopen(name.c_str(), "w"));
    }
    TreeBuilder::MakeFile(big / "first.tmp");
    DriveMap drives({{'C', c_}, {'B', big}});
    const uint64_t before = PosixFolder::StatCalls();
    WalkResult r = Walk(Type({{"B:", FolderOnly}}, {"first.tmp", "*.tmp"}), {},
                        [&](const std::string&) { stop_->Set(); });
    const uint64_t lookups = PosixFolder::StatCalls() - before;
    if (inMemory)
        fs::remove_all(big);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.counts.filesMatched, 1);
    EXPECT_LT(lookups, 10u);
}

// A test run over a real system tree that no test made lists exactly what find lists for the
// same patterns, ignoring case: regular files and links (not links to folders), on its own
// file system.
TEST(SystemTreeWalk, ListsWhatFindListsInUsrInclude) {
    const fs::path root = "/usr/include";
    if (!fs::is_directory(root))
        GTEST_SKIP() << "no /usr/include on this machine";
    FILE* pipe = ::popen("find /usr/include -xdev \\( -type f -o \\( -type l ! -xtype d \\) \\) "
                         "\\( -iname '*.h' -o -iname '*connmark*' \\) -print 2>/dev/null",
                         "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> expected;
    for (char line[4096]; std::fgets(line, sizeof line, pipe);)
        expected.insert(std::string(line, std::strcspn(line, "\n")));
    ASSERT_EQ(::pclose(pipe), 0);
    ASSERT_FALSE(expected.empty());

    DriveMap drives({{'U', root}});
    TJunkFileObj type;
    type.Folders = {{"U:\\", FolderAndSubfolders}};
    type.Specs = {"*.h", "*CONNMARK*.*"};
    std::set<std::string> listed;
    FolderWalker::Options options;
    options.onFile = [&](const std::string& path, int64_t) {
        std::string host = root.string() + path.substr(2);
        std::replace(host.begin(), host.end(), '\\', '/');
        EXPECT_TRUE(listed.insert(host).second) << "listed twice: " << path;
    };
    FolderWalker walker(type, std::move(options));
    walker.SearchAll();
    EXPECT_EQ(listed, expected);
}

} // namespace
} // namespace brumo::test

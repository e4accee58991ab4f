#include "engine/walk_fixture.h"
#include "platform/drives.h"
#include "platform/path_map.h"
#include "platform/posix/posix_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
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

// A walk over the shape and names of a real system tree that no test made, copied without
// contents, lists exactly what find lists for the same patterns, ignoring case: regular files
// and links (not links to folders), on its own file system. The tree itself, one of the
// system's own folders, is never searched.
TEST(SystemTreeWalk, ListsWhatFindListsInACopyOfUsrIncludeAndNothingInIt) {
    const fs::path system = "/usr/include";
    if (!fs::is_directory(system))
        GTEST_SKIP() << "no /usr/include on this machine";
    TempTree tree;
    const fs::path root = tree.Root() / "include";
    ASSERT_EQ(std::system(("cp -a --attributes-only /usr/include '" + root.string() + "'").c_str()),
              0);
    FILE* pipe = ::popen(("find '" + root.string() +
                          "' -xdev \\( -type f -o \\( -type l ! -xtype d \\) \\) "
                          "\\( -iname '*.h' -o -iname '*connmark*' \\) -print 2>/dev/null")
                             .c_str(),
                         "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> expected;
    for (char line[4096]; std::fgets(line, sizeof line, pipe);)
        expected.insert(std::string(line, std::strcspn(line, "\n")));
    ASSERT_EQ(::pclose(pipe), 0);
    ASSERT_FALSE(expected.empty());

    for (const fs::path& at : {root, system}) {
        DriveMap drives({{'U', at}});
        TJunkFileObj type;
        type.Folders = {{"U:\\", FolderAndSubfolders}};
        type.Specs = {"*.h", "*CONNMARK*.*"};
        std::set<std::string> listed;
        FolderWalker::Options options;
        options.onFile = [&](const std::string& path, int64_t) {
            std::string host = at.string() + path.substr(2);
            std::replace(host.begin(), host.end(), '\\', '/');
            EXPECT_TRUE(listed.insert(host).second) << "listed twice: " << path;
        };
        FolderWalker walker(type, std::move(options));
        walker.SearchAll();
        EXPECT_EQ(listed, at == root ? expected : std::set<std::string>{});
    }
}

// With the machine's own drive table (C: is /), a search of every drive lists nothing in the
// system's own folders, where these names abound. A walk only lists: it cannot remove a file.
TEST(SystemTreeWalk, AllDrivesOfThisMachineListNothingInTheSystemsOwnFolders) {
    if (!fs::exists("/usr/include/stdio.h"))
        GTEST_SKIP() << "no /usr/include/stdio.h to be found";
    struct DefaultDrives {
        std::optional<std::string> old;
        DefaultDrives() {
            if (const char* value = std::getenv("BRUMO_DRIVES"))
                old = value;
            ScopedEnv::Unset("BRUMO_DRIVES");
            Drives::Reload();
        }
        ~DefaultDrives() {
            if (old)
                ScopedEnv::Set("BRUMO_DRIVES", *old);
            Drives::Reload();
        }
    } drives;
    TJunkFileObj type; // all local drives
    type.Specs = {"stdio.h", "*.chk", "*.old", "libc.so*"};
    std::vector<std::string> inSystem;
    size_t listed = 0;
    FolderWalker::Options options;
    options.onFile = [&](const std::string& path, int64_t) {
        ++listed;
        const std::string host = PathMap::ToHost(path).value_or(path);
        for (const char* system :
             {"/usr/", "/etc/", "/boot/", "/bin/", "/sbin/", "/lib/", "/lib32/", "/lib64/",
              "/libx32/", "/opt/", "/var/lib/", "/snap/", "/nix/", "/gnu/"})
            if (host.rfind(system, 0) == 0)
                inSystem.push_back(host);
    };
    FolderWalker walker(type, std::move(options));
    walker.SearchAll();
    EXPECT_EQ(inSystem, std::vector<std::string>{}) << "of " << listed << " files listed";
}

} // namespace
} // namespace brumo::test

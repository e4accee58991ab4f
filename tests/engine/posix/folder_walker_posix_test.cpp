#include "engine/walk_fixture.h"
#include "support/unprivileged.h"

#include <algorithm>
#include <sys/mount.h>
#include <sys/stat.h>

namespace brumo::test {
namespace {

namespace fs = std::filesystem;

// What only the POSIX backend has: the drive table, the freedesktop.org trash, symbolic links.
using FolderWalkerTest = WalkTest;

TEST_F(FolderWalkerTest, HoldingAndTrashFoldersAtADriveRootAreNeverEntered) {
    TreeBuilder::MakeFile(C("a.tmp"));
    TreeBuilder::MakeFile(C("HDVal$$$.$$$/T/held.tmp"));
    TreeBuilder::MakeFile(C(".Trash/1000/files/t1.tmp"));
    TreeBuilder::MakeFile(C(".Trash-1000/files/t2.tmp"));
    TreeBuilder::MakeFile(C(".Trash-x/kept.tmp"));  // not a trash name
    TreeBuilder::MakeFile(C("T/.Trash/below.tmp")); // only the root is special
    TreeBuilder::MakeFile(C("T/HDVal$$$.$$$/below2.tmp"));
    TreeBuilder::MakeFile(C("home/u/.local/share/Trash/files/t3.tmp"));
    TreeBuilder::MakeFile(C("home/u/.local/share/other/ok.tmp"));

    WalkResult r = Walk(Type({}, {"*.tmp"})); // all local drives: just C:
    std::vector<std::string> paths;
    for (const auto& f : r.files)
        paths.push_back(f.first);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\.Trash-x\\kept.tmp", "C:\\T\\.Trash\\below.tmp",
                                               "C:\\T\\HDVal$$$.$$$\\below2.tmp", "C:\\a.tmp",
                                               "C:\\home\\u\\.local\\share\\other\\ok.tmp"}));

    // Named directly, the holding folder is searched like any folder.
    r = Walk(Type({{"C:\\HDVAL$$$.$$$", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.filesMatched, 1);
    // The home trash is left out however it is reached.
    r = Walk(Type({{"C:\\home\\u\\.local\\share\\Trash", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.filesMatched, 0);
}

TEST_F(FolderWalkerTest, NamesAPathCannotSpellCountOnlyWhereTheModeWouldTakeThem) {
    TreeBuilder::MakeFile(C("T/a\\b.tmp"));
    TreeBuilder::MakeFile(C("T/a\\b.log")); // matches no specification
    TreeBuilder::MakeFile(C("T/x\\y"));     // "*." takes a name without an extension only
    TreeBuilder::MakeDir(C("T/sub\\dir"));
    TreeBuilder::MakeFile(C("T/deeper/c\\d.tmp"));
    const struct {
        int32_t mode;
        std::vector<std::string> specs;
        int32_t skipped;
    } cases[] = {
        {FolderOnly, {"*.tmp"}, 1},
        {FolderOnly, {"*.tmp", "A*.*"}, 2},
        {FolderOnly, {"*."}, 1},
        {SubfoldersOnly, {"*.tmp"}, 2},
        {FolderAndSubfolders, {"*.tmp"}, 3},
    };
    for (const auto& c : cases) {
        const WalkResult r = Walk(Type({{"C:\\T", c.mode}}, c.specs));
        EXPECT_EQ(r.counts.namesSkipped, c.skipped) << c.mode << " " << c.specs.back();
        EXPECT_TRUE(r.files.empty()) << r.files.front().first;
    }
}

TEST_F(FolderWalkerTest, LinksAreNeverFollowed) {
    const fs::path outside = tree_ / "outside";
    TreeBuilder::MakeFile(outside / "victim.tmp", 1000);
    TreeBuilder::MakeFile(outside / "target.tmp", 5000);
    TreeBuilder::MakeFile(C("T/real.tmp"), 1);
    TreeBuilder::MakeLink(C("T/escape"), outside);
    TreeBuilder::MakeLink(C("T/loop/back"), C("T"));
    TreeBuilder::MakeLink(C("T/link.tmp"), outside / "target.tmp");
    ASSERT_EQ(::mkfifo(C("T/fifo.tmp").c_str(), 0600), 0); // would block whoever reads it

    WalkResult r = Walk(Type({{"C:\\T", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.foldersSearched, 2); // T and T\loop
    EXPECT_EQ(r.counts.filesMatched, 2);
    // The link itself, with no size of its own as on Windows, not its target's.
    EXPECT_EQ(r.files, (std::vector<std::pair<std::string, int64_t>>{{"C:\\T\\link.tmp", 0},
                                                                     {"C:\\T\\real.tmp", 1}}));

    // A folder entry that runs through a link is not followed either.
    r = Walk(Type({{"C:\\T\\escape", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.counts.filesMatched, 0);

    // An excluded folder given as a link (a data folder linked to a synced one) keeps the walk
    // out of its target, whichever way the walk reaches it.
    TreeBuilder::MakeFile(C("Sync/brumo/brumo.D$$"));
    TreeBuilder::MakeLink(outside / "data", C("Sync/brumo"));
    TreeBuilder::MakeLink(C("T/data"), C("Sync/brumo"));
    for (const std::string& excluded : {(outside / "data").string(), std::string("C:\\T\\data")}) {
        r = Walk(Type({{"C:\\Sync", FolderAndSubfolders}}, {"*.??$"}), {excluded});
        EXPECT_EQ(r.counts.filesMatched, 0) << excluded;
        EXPECT_EQ(r.counts.foldersSearched, 1) << excluded;
    }
}

TEST_F(FolderWalkerTest, WorkingListStandsInForAllDrives) {
    TempTree second;
    TreeBuilder::MakeDir(C("sub"));
    // C and D: one volume; B and F: inside C's folder; G: not ready.
    DriveMap map({{'B', C("sub")},
                  {'C', c_},
                  {'D', c_},
                  {'E', second.Root()},
                  {'F', C("sub")},
                  {'G', tree_ / "missing"}});
    const std::vector<FolderEntry> expected = {{"C:", FolderAndSubfolders},
                                               {"E:", FolderAndSubfolders}};
    EXPECT_EQ(FolderWalker::WorkingList(Type({}, {})), expected);
    EXPECT_EQ(FolderWalker::WorkingList(Type({{"Local drives (C:)", FolderOnly}}, {})), expected);
    EXPECT_EQ(
        FolderWalker::WorkingList(Type({{"C:\\", FolderOnly}, {"C:\\T\\", SubfoldersOnly}}, {})),
        (std::vector<FolderEntry>{{"C:", FolderOnly}, {"C:\\T", SubfoldersOnly}}));
}

TEST_F(FolderWalkerTest, EveryFolderEntryHasOneSpelling) {
    TreeBuilder::MakeFile(C("T/a.tmp"));
    TreeBuilder::MakeFile(C("prog/brumo.tmp"));
    const std::vector<FolderEntry> one = {{"C:\\T", FolderOnly}, {"C:\\T", FolderOnly}};
    EXPECT_EQ(FolderWalker::WorkingList(Type({{"C:\\x\\..\\..\\T\\.\\", FolderOnly},
                                              {C("T").string() + "/", FolderOnly},
                                              {(tree_ / "elsewhere").string(), FolderOnly}},
                                             {})),
              one);

    // The program's folder, however spelled and under whichever letter, is never entered.
    DriveMap map({{'C', c_}, {'P', C("prog")}});
    const WalkResult r = Walk(Type({{"C:\\", FolderAndSubfolders},
                                    {"C:\\T\\..\\prog", FolderAndSubfolders},
                                    {C("prog").string(), FolderAndSubfolders}},
                                   {"*.tmp"}),
                              {"P:"});
    EXPECT_EQ(r.files, (std::vector<std::pair<std::string, int64_t>>{{"C:\\T\\a.tmp", 0}}));
}

// A tmpfs mounted inside the tree for the test's length; the test is skipped where no file
// system can be mounted (not root, or a container without the right).
class MountedFolder {
public:
    explicit MountedFolder(const fs::path& at) : at_(at) {
        TreeBuilder::MakeDir(at);
        mounted_ = ::mount("brumo-test", at.c_str(), "tmpfs", 0, "size=1m") == 0;
    }
    ~MountedFolder() {
        if (mounted_)
            ::umount2(at_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }

private:
    fs::path at_;
    bool mounted_ = false;
};

TEST_F(FolderWalkerTest, TrashAtTheTopOfAMountedFolderEntryIsNeverEntered) {
    MountedFolder mount(C("m"));
    if (!mount.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root and the right to mount)";
    TreeBuilder::MakeFile(C("m/.Trash-0/files/t.tmp"));
    TreeBuilder::MakeFile(C("m/.Trash/0/files/u.tmp"));
    TreeBuilder::MakeFile(C("m/keep.tmp"));
    TreeBuilder::MakeFile(C("m/sub/.Trash-0/below.tmp")); // only the top is special
    TreeBuilder::MakeFile(C("m/HDVal$$$.$$$/held.tmp"));  // a drive's holding folder there

    const WalkResult r = Walk(Type({{"C:\\m", FolderAndSubfolders}}, {"*.tmp"}));
    EXPECT_EQ(r.files, (std::vector<std::pair<std::string, int64_t>>{
                           {"C:\\m\\keep.tmp", 0}, {"C:\\m\\sub\\.Trash-0\\below.tmp", 0}}));
}

TEST_F(FolderWalkerTest, HoldingFoldersOfNestedDrivesAndOfTheDataFolderAreNeverEntered) {
    DriveMap drives({{'C', c_}, {'D', C("sub")}});
    TreeBuilder::MakeFile(C("sub/HDVal$$$.$$$/b.tmp")); // D:'s, met inside C:'s folder
    TreeBuilder::MakeFile(C("sub/keep.tmp"));
    TreeBuilder::MakeFile(home_ / ".local/share/brumo/HDVal$$$.$$$-C/T/held.tmp");
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"", {"C:\\sub\\keep.tmp"}}, // all drives: C: alone, D: lying inside it
        {"D:", {"D:\\keep.tmp"}},
        {"C:\\sub", {"C:\\sub\\keep.tmp"}},
        {"C:\\home\\u\\.local\\share\\brumo\\HDVal$$$.$$$-C", {}},
        {"C:\\home\\u\\.local\\share\\brumo\\HDVal$$$.$$$-C\\T", {}},
    };
    for (const auto& [entry, expected] : cases) {
        const WalkResult r =
            Walk(Type(entry.empty() ? std::vector<FolderEntry>{}
                                    : std::vector<FolderEntry>{{entry, FolderAndSubfolders}},
                      {"*.tmp"}));
        std::vector<std::string> paths;
        for (const auto& f : r.files)
            paths.push_back(f.first);
        EXPECT_EQ(paths, expected) << entry;
    }
}

TEST_F(FolderWalkerTest, NothingBelowAnExcludedFolderIsSearchedUnderAnySpelling) {
    DriveMap drives({{'C', c_}, {'P', C("prog")}});
    TreeBuilder::MakeFile(C("prog/sub/insub.tmp"));
    TreeBuilder::MakeFile(C("prog/sub/deeper/in.tmp"));
    TreeBuilder::MakeFile(C("other/ok.tmp"));
    TreeBuilder::MakeFile(home_ / ".local/share/brumo/logs/old.tmp"); // the data folder
    for (const std::string entry :
         {"C:\\prog\\sub", "c:\\PROG\\Sub", "C:\\other\\..\\prog\\sub\\deeper", "P:\\sub",
          "P:", "C:\\home\\u\\.local\\share\\brumo\\logs"}) {
        const WalkResult r = Walk(Type({{entry, FolderAndSubfolders}}, {"*.tmp"}), {"C:\\prog"});
        EXPECT_EQ(r.counts.filesMatched, 0) << entry;
        EXPECT_EQ(r.counts.foldersSearched, 0) << entry;
    }
    EXPECT_EQ(Walk(Type({{"C:\\other", FolderAndSubfolders}}, {"*.tmp"}), {"C:\\prog"})
                  .counts.filesMatched,
              1);
}

TEST_F(FolderWalkerTest, AFolderThatCanBeReadButNotEnteredIsUnreadable) {
    if (!Unprivileged::Available())
        GTEST_SKIP() << "root cannot become a user whom permissions stop";
    TreeBuilder::MakeFile(C("x/closed/a.tmp"));
    TreeBuilder::MakeFile(C("x/open.tmp"));
    Unprivileged::HandOver(tree_.Root());
    fs::permissions(C("x/closed"), fs::perms(0644));
    EXPECT_TRUE(Unprivileged::Run([&] {
        const WalkResult r = Walk(Type({{"C:\\x", FolderAndSubfolders}}, {"*.tmp"}));
        EXPECT_EQ(r.files, (std::vector<std::pair<std::string, int64_t>>{{"C:\\x\\open.tmp", 0}}));
        EXPECT_EQ(r.counts.foldersUnreadable, 1);
        EXPECT_EQ(r.counts.foldersSearched, 2); // x, and closed as a folder found empty
    }));
    fs::permissions(C("x/closed"), fs::perms(0755));
}

} // namespace
} // namespace brumo::test

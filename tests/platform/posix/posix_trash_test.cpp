#include "ended_process.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/trash_can.h"
#include "platform/posix/trash_info.h"
#include "platform/recycle_bin.h"
#include "support/drive_map.h"
#include "support/file_text.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;
namespace fs = std::filesystem;

std::string PathLine(const fs::path& infoFile) {
    const std::string text = test::ReadFileText(infoFile);
    const size_t at = text.find("\nPath=");
    if (at == std::string::npos)
        return {};
    const size_t end = text.find('\n', at + 1);
    return text.substr(at + 6, end - at - 6);
}

size_t CountEntries(const fs::path& folder) {
    size_t n = 0;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        ++n;
    return n;
}

using test::ScopedEnv;

// A drive T: on a temporary folder, with HOME and the data folder pointed into the same
// temporary tree, so the user's real trash is never touched.
class TrashTest : public ::testing::Test {
protected:
    TrashTest()
        : home_("HOME", (tree_ / "home").string()),
          data_("XDG_DATA_HOME", (tree_ / "data").string()), drives_{{'T', tree_ / "drive"}} {
        TreeBuilder::MakeDir(tree_ / "drive");
    }

    fs::path Drive(const std::string& relative) const { return tree_ / "drive" / relative; }
    fs::path Trash() const { return tree_ / "data" / "Trash"; }
    // The absolute real path the trash records for a file of the drive.
    std::string RealPath(const std::string& relative) const {
        return (fs::canonical(tree_.Root()) / "drive" / relative).string();
    }

    TempTree tree_;
    ScopedEnv home_;
    ScopedEnv data_;
    DriveMap drives_;
};

TEST(TrashInfo, EscapesAsUrlsAndDatesInLocalTime) {
    EXPECT_EQ(TrashInfo::Escape("/home/u/My File #1 100%.tmp"),
              "/home/u/My%20File%20%231%20100%25.tmp");
    EXPECT_EQ(TrashInfo::Escape("/a/naïve-Ünï_(x)~!*'.txt"),
              "/a/na%C3%AFve-%C3%9Cn%C3%AF_(x)~!*'.txt");
    EXPECT_EQ(TrashInfo::Escape("tab\tnew\nline"), "tab%09new%0Aline");
    // Tests run with TZ=UTC; the date has no zone and no fraction.
    ScopedEnv tz("TZ", "UTC");
    ::tzset();
    EXPECT_EQ(TrashInfo::Date(1582982055), "2020-02-29T13:14:15");
    EXPECT_EQ(TrashInfo::Text("/x y", 0),
              "[Trash Info]\nPath=/x%20y\nDeletionDate=1970-01-01T00:00:00\n");
}

TEST_F(TrashTest, FilesOfTheHomeFileSystemGoToTheHomeTrashWithTheirDescription) {
    TreeBuilder::MakeFile(Drive("Some Dir/naïve file.tmp"), 42);
    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(RecycleBin::SendFiles({"T:\\Some Dir\\naïve file.tmp"}), 0);

    EXPECT_FALSE(fs::exists(Drive("Some Dir/naïve file.tmp")));
    EXPECT_EQ(fs::file_size(Trash() / "files" / "naïve file.tmp"), 42u);
    for (const char* folder : {"", "files", "info"}) {
        struct stat st {};
        ASSERT_EQ(::stat((Trash() / folder).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u) << folder;
    }

    const std::string text = test::ReadFileText(Trash() / "info" / "naïve file.tmp.trashinfo");
    std::smatch m;
    ASSERT_TRUE(
        std::regex_match(text, m,
                         std::regex("\\[Trash Info\\]\nPath=(.*)\n"
                                    "DeletionDate=(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)\n")))
        << text;
    EXPECT_EQ(m[1].str(), TrashInfo::Escape(RealPath("Some Dir/naïve file.tmp")));
    EXPECT_NE(m[1].str().find("Some%20Dir/na%C3%AFve%20file.tmp"), std::string::npos);
    const std::string date = m[2].str();
    EXPECT_GE(date, TrashInfo::Date(before));
    EXPECT_LE(date, TrashInfo::Date(std::time(nullptr)));
}

TEST_F(TrashTest, SameNamesGetFreshSlotsAndNeverReplaceWhatIsInTheTrash) {
    TreeBuilder::MakeFile(Drive("one/a.tmp"), 1);
    TreeBuilder::MakeFile(Drive("two/a.tmp"), 2);
    TreeBuilder::MakeFile(Drive("three/a.tmp"), 3);
    // A file left in files/ without its description (an interrupted earlier move).
    TreeBuilder::MakeFile(Trash() / "files" / "a.tmp.2", 99);
    TreeBuilder::MakeDir(Trash() / "info");

    ASSERT_EQ(RecycleBin::SendFiles({"T:\\one\\a.tmp", "T:\\two\\a.tmp", "T:\\three\\a.tmp"}), 0);
    EXPECT_EQ(fs::file_size(Trash() / "files" / "a.tmp"), 1u);
    EXPECT_EQ(fs::file_size(Trash() / "files" / "a.tmp.2"), 99u);
    EXPECT_EQ(fs::file_size(Trash() / "files" / "a.tmp.3"), 2u);
    EXPECT_EQ(fs::file_size(Trash() / "files" / "a.tmp.4"), 3u);
    EXPECT_FALSE(fs::exists(Trash() / "info" / "a.tmp.2.trashinfo"));
    EXPECT_EQ(PathLine(Trash() / "info" / "a.tmp.3.trashinfo"),
              TrashInfo::Escape(RealPath("two/a.tmp")));
    EXPECT_EQ(PathLine(Trash() / "info" / "a.tmp.4.trashinfo"),
              TrashInfo::Escape(RealPath("three/a.tmp")));
}

TEST_F(TrashTest, AFailureStopsTheBatchAndLeavesNoDescription) {
    TreeBuilder::MakeFile(Drive("first.tmp"));
    TreeBuilder::MakeFile(Drive("third.tmp"));
    EXPECT_EQ(RecycleBin::SendFiles({"T:\\first.tmp", "T:\\second.tmp", "T:\\third.tmp"}), ENOENT);
    EXPECT_FALSE(fs::exists(Drive("first.tmp")));
    EXPECT_TRUE(fs::exists(Drive("third.tmp")));
    EXPECT_EQ(CountEntries(Trash() / "info"), 1u);
    EXPECT_EQ(RecycleBin::ErrorText(ENOENT), std::strerror(ENOENT));
    EXPECT_EQ(RecycleBin::SendFiles({}), 0);
    // Sent each on its own, a missing file holds up no other.
    const std::vector<RecycleResult> each =
        RecycleBin::SendEach({"T:\\second.tmp", "T:\\third.tmp"});
    ASSERT_EQ(each.size(), 2u);
    EXPECT_EQ(each[0].code, ENOENT);
    EXPECT_EQ(each[1].code, 0);
    EXPECT_FALSE(fs::exists(Drive("third.tmp")));
}

TEST_F(TrashTest, AMoveThatFailsTakesItsDescriptionBack) {
    auto can = TrashCan::Home();
    ASSERT_TRUE(can);
    const int folder = ::open(Drive("").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    // The entry vanished between the check and the move.
    EXPECT_EQ(can->Put(folder, "gone.tmp", Drive("gone.tmp").string(), std::time(nullptr)), ENOENT);
    ::close(folder);
    EXPECT_EQ(CountEntries(Trash() / "info"), 0u);
    EXPECT_EQ(CountEntries(Trash() / "files"), 0u);
}

TEST_F(TrashTest, CopiesSweepOnlyWhatACrashedCopyLeftBehind) {
    const pid_t child = test::EndedProcessId();
    ASSERT_GT(child, 0);
    auto can = TrashCan::Home();
    ASSERT_TRUE(can);
    const std::string crashed = ".old.tmp\\" + std::to_string(child) + "-0.tmp";
    const std::string olderCrashed = ".older.tmp." + std::to_string(child) + "-0.tmp";
    const std::string lookAlike = ".kept.tmp." + std::to_string(child) + "-1.tmp";
    TreeBuilder::MakeFile(Trash() / "files" / crashed, 5);
    TreeBuilder::MakeFile(Trash() / "files" / olderCrashed, 5);
    TreeBuilder::MakeFile(Trash() / "files" / lookAlike, 6); // trashed, described
    TreeBuilder::MakeFile(Trash() / "info" / (lookAlike + ".trashinfo"));
    TreeBuilder::MakeFile(Drive("a.tmp"), 1);
    TreeBuilder::MakeFile(Drive("b.tmp"), 2);

    const int folder = ::open(Drive("").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    for (const char* name : {"a.tmp", "b.tmp"})
        EXPECT_EQ(can->PutCopy(folder, name, Drive(name).string(), std::time(nullptr)), 0);
    ::close(folder);
    EXPECT_FALSE(fs::exists(Drive("a.tmp")));
    EXPECT_EQ(fs::file_size(Trash() / "files" / "b.tmp"), 2u);
    EXPECT_TRUE(fs::exists(Trash() / "info" / "b.tmp.trashinfo"));
    EXPECT_FALSE(fs::exists(Trash() / "files" / crashed));
    EXPECT_FALSE(fs::exists(Trash() / "files" / olderCrashed));
    EXPECT_EQ(fs::file_size(Trash() / "files" / lookAlike), 6u);
}

TEST_F(TrashTest, ALinkIsTrashedAsTheLink) {
    TreeBuilder::MakeFile(Drive("target.txt"), 7);
    TreeBuilder::MakeLink(Drive("link.tmp"), "target.txt");
    ASSERT_EQ(RecycleBin::SendFiles({"T:\\link.tmp"}), 0);
    EXPECT_TRUE(fs::is_symlink(Trash() / "files" / "link.tmp"));
    EXPECT_EQ(fs::read_symlink(Trash() / "files" / "link.tmp"), "target.txt");
    EXPECT_EQ(fs::file_size(Drive("target.txt")), 7u);
}

TEST_F(TrashTest, OnlyFilesAndLinksAreSent) {
    // Queued as files, then replaced by a folder and a FIFO before the batch went.
    TreeBuilder::MakeFile(Drive("was.tmp/kept.txt"));
    ASSERT_EQ(::mkfifo(Drive("fifo.tmp").c_str(), 0600), 0);
    const std::vector<RecycleResult> each = RecycleBin::SendEach({"T:\\was.tmp", "T:\\fifo.tmp"});
    ASSERT_EQ(each.size(), 2u);
    EXPECT_EQ(each[0].code, EISDIR);
    EXPECT_NE(each[1].code, 0);
    EXPECT_TRUE(fs::exists(Drive("was.tmp/kept.txt")));
    EXPECT_TRUE(fs::is_fifo(Drive("fifo.tmp")));
    EXPECT_FALSE(fs::exists(Trash() / "info") && CountEntries(Trash() / "info") > 0);
}

TEST_F(TrashTest, AFolderSwappedForALinkIsNeverActedThrough) {
    TreeBuilder::MakeFile(Drive("dir/f.tmp"));
    TreeBuilder::MakeFile(tree_ / "elsewhere" / "f.tmp", 5);
    // Listed as T:\dir\f.tmp, then dir is replaced by a link to another folder.
    fs::rename(Drive("dir"), tree_ / "moved");
    TreeBuilder::MakeLink(Drive("dir"), tree_ / "elsewhere");
    EXPECT_NE(RecycleBin::SendFiles({"T:\\dir\\f.tmp"}), 0);
    EXPECT_EQ(fs::file_size(tree_ / "elsewhere" / "f.tmp"), 5u);
    EXPECT_EQ(CountEntries(Trash() / "info"), 0u);
}

TEST(TrashCan, TopFolderTrashChecksTheSharedFolderAndNeverFollowsLinks) {
    TempTree tree;
    const uid_t uid = ::getuid();
    const std::string own = ".Trash-" + std::to_string(uid);
    const auto open = [](const fs::path& p) {
        return ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    };

    // No shared .Trash: the user's own folder is made, private.
    TreeBuilder::MakeDir(tree / "plain");
    int fd = open(tree / "plain");
    auto can = TrashCan::ForTopFolder(fd, (tree / "plain").string(), uid);
    ASSERT_TRUE(can);
    EXPECT_EQ(can->HostPath(), (tree / "plain" / own).string());
    struct stat st {};
    ASSERT_EQ(::stat((tree / "plain" / own).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_TRUE(fs::is_directory(tree / "plain" / own / "files"));
    EXPECT_TRUE(fs::is_directory(tree / "plain" / own / "info"));

    // The description's path is relative to the top folder.
    TreeBuilder::MakeFile(tree / "plain" / "sub dir" / "x.tmp");
    const int sub = open(tree / "plain" / "sub dir");
    ASSERT_EQ(can->Put(sub, "x.tmp", (tree / "plain" / "sub dir" / "x.tmp").string(), 0), 0);
    ::close(sub);
    EXPECT_EQ(PathLine(tree / "plain" / own / "info" / "x.tmp.trashinfo"), "sub%20dir/x.tmp");
    ::close(fd);

    // A shared .Trash with the sticky bit: the user's folder inside it.
    TreeBuilder::MakeDir(tree / "sticky" / ".Trash");
    fs::permissions(tree / "sticky" / ".Trash", fs::perms::all | fs::perms::sticky_bit);
    fd = open(tree / "sticky");
    can = TrashCan::ForTopFolder(fd, (tree / "sticky").string(), uid);
    ::close(fd);
    ASSERT_TRUE(can);
    EXPECT_EQ(can->HostPath(), (tree / "sticky" / ".Trash" / std::to_string(uid)).string());

    // Without the sticky bit, or as a link to a sticky folder, .Trash is not used.
    TreeBuilder::MakeDir(tree / "loose" / ".Trash");
    fs::permissions(tree / "loose" / ".Trash", fs::perms::all);
    TreeBuilder::MakeLink(tree / "linked" / ".Trash", tree / "sticky" / ".Trash");
    for (const char* top : {"loose", "linked"}) {
        fd = open(tree / top);
        can = TrashCan::ForTopFolder(fd, (tree / top).string(), uid);
        ::close(fd);
        ASSERT_TRUE(can) << top;
        EXPECT_EQ(can->HostPath(), (tree / top / own).string()) << top;
    }
    EXPECT_FALSE(fs::exists(tree / "loose" / ".Trash" / std::to_string(uid)));

    // The user's own trash folder must not be a link either.
    TreeBuilder::MakeDir(tree / "decoy");
    TreeBuilder::MakeLink(tree / "trap" / own, tree / "decoy");
    fd = open(tree / "trap");
    EXPECT_FALSE(TrashCan::ForTopFolder(fd, (tree / "trap").string(), uid));
    ::close(fd);
    EXPECT_EQ(CountEntries(tree / "decoy"), 0u);
}

TEST_F(TrashTest, FilesOfAnotherFileSystemGoToItsTopFolderTrash) {
    // /dev/shm is a separate memory file system on most systems; the test leaves it as found.
    const std::string top = "/dev/shm";
    const std::string own = top + "/.Trash-" + std::to_string(::getuid());
    struct stat topSt {
    }, homeSt{};
    if (!MountTable::Current()->IsMountPoint(top) || ::stat(top.c_str(), &topSt) != 0 ||
        ::stat(tree_.Root().c_str(), &homeSt) != 0 || topSt.st_dev == homeSt.st_dev ||
        ::access(top.c_str(), W_OK) != 0 || fs::exists(own))
        GTEST_SKIP() << "no separate writable memory file system to use";
    char folder[] = "/dev/shm/brumo-test-XXXXXX";
    ASSERT_TRUE(::mkdtemp(folder));
    const std::string name = fs::path(folder).filename().string();
    TreeBuilder::MakeFile(fs::path(folder) / "a b.tmp", 3);
    DriveMap shm{{'S', folder}};

    const int result = RecycleBin::SendFiles({"S:\\a b.tmp"});
    const bool moved = fs::exists(fs::path(own) / "files" / "a b.tmp");
    const std::string path = PathLine(fs::path(own) / "info" / "a b.tmp.trashinfo");
    fs::remove_all(own);
    fs::remove_all(folder);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(moved);
    EXPECT_EQ(path, name + "/a%20b.tmp");
    EXPECT_FALSE(fs::exists(Trash() / "files" / "a b.tmp"));
}

TEST_F(TrashTest, TrashListShowsTrashedFilesWithTheirOriginalPaths) {
    if (std::system("command -v trash-list >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "trash-list is not installed";
    TreeBuilder::MakeFile(Drive("Old Stuff/report ü.tmp"));
    TreeBuilder::MakeFile(Drive("x.tmp"));
    ASSERT_EQ(RecycleBin::SendFiles({"T:\\Old Stuff\\report ü.tmp", "T:\\x.tmp"}), 0);

    FILE* pipe = ::popen("trash-list 2>/dev/null", "r");
    ASSERT_TRUE(pipe);
    std::string out;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    ::pclose(pipe);
    EXPECT_NE(out.find(" " + RealPath("Old Stuff/report ü.tmp") + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" " + RealPath("x.tmp") + "\n"), std::string::npos) << out;
}

} // namespace
} // namespace brumo

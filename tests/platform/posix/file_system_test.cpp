#include "ended_process.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/posix/file_copier.h"
#include "platform/posix/unique_fd.h"
#include "support/drive_map.h"
#include "support/file_text.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

size_t EntriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

class FileSystemTest : public ::testing::Test {
protected:
    TempTree tree;
    DriveMap map{{'D', tree.Root()}};
};

TEST_F(FileSystemTest, AttributesComeFromNamesModesLinksAndDosAttributes) {
    TreeBuilder::MakeFile(tree / "plain.txt");
    TreeBuilder::MakeFile(tree / ".profile");
    TreeBuilder::MakeFile(tree / "ro.txt");
    TreeBuilder::MakeReadOnly(tree / "ro.txt");
    TreeBuilder::MakeDir(tree / "Folder");
    TreeBuilder::MakeLink(tree / "to-file", tree / "plain.txt");
    TreeBuilder::MakeLink(tree / "to-folder", tree / "Folder");
    TreeBuilder::MakeLink(tree / "dangling", tree / "nowhere");

    EXPECT_EQ(FileSystem::Attributes("D:\\plain.txt"), FileAttributes::Normal);
    EXPECT_EQ(FileSystem::Attributes("D:\\PLAIN.TXT"), FileAttributes::Normal);
    EXPECT_EQ(FileSystem::Attributes("D:\\.profile"), FileAttributes::Hidden);
    EXPECT_EQ(FileSystem::Attributes("D:\\ro.txt"), FileAttributes::ReadOnly);
    EXPECT_EQ(FileSystem::Attributes("D:\\folder"), FileAttributes::Directory);
    EXPECT_EQ(FileSystem::Attributes("D:\\"), FileAttributes::Directory);
    EXPECT_EQ(FileSystem::Attributes("D:\\to-file"), FileAttributes::ReparsePoint);
    EXPECT_EQ(FileSystem::Attributes("D:\\to-folder"),
              FileAttributes::ReparsePoint | FileAttributes::Directory);
    EXPECT_EQ(FileSystem::Attributes("D:\\dangling"), FileAttributes::ReparsePoint);
    EXPECT_FALSE(FileSystem::Attributes("D:\\missing"));
    EXPECT_FALSE(FileSystem::Attributes("D:\\plain.txt\\below"));

    EXPECT_TRUE(FileSystem::FileExists("D:\\to-folder")); // a link is an entry, not a folder
    EXPECT_TRUE(FileSystem::FileExists("D:\\dangling"));
    EXPECT_FALSE(FileSystem::FolderExists("D:\\to-folder"));
    EXPECT_TRUE(FileSystem::FolderExists("D:\\FOLDER"));
    EXPECT_TRUE(FileSystem::FolderExists("D:"));
    EXPECT_FALSE(FileSystem::FileExists("D:\\Folder"));

    if (!TreeBuilder::SetDosAttributes(tree / "plain.txt", 0x26))
        GTEST_SKIP() << "no extended attributes on this file system";
    EXPECT_EQ(FileSystem::Attributes("D:\\plain.txt"),
              FileAttributes::Hidden | FileAttributes::System | FileAttributes::Archive);
    // Samba's binary form is not ours to read; it hides nothing.
    const char blob[] = {'\x03', '\x00', '\x02'};
    ASSERT_EQ(::setxattr((tree / "plain.txt").c_str(), "user.DOSATTRIB", blob, 3, 0), 0);
    EXPECT_EQ(FileSystem::Attributes("D:\\plain.txt"), FileAttributes::Normal);
}

TEST_F(FileSystemTest, SetAttributesKeepsReadOnlyInTheModeAndTheRestInExtendedAttributes) {
    TreeBuilder::MakeFile(tree / "a.txt");
    ASSERT_FALSE(FileSystem::SetAttributes("D:\\A.txt", FileAttributes::ReadOnly));
    EXPECT_EQ(fs::status(tree / "a.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(FileSystem::DeleteFile("D:\\a.txt").code, OsError::AccessDenied());

    const uint32_t hiddenSystem = FileAttributes::Hidden | FileAttributes::System;
    ASSERT_FALSE(FileSystem::SetAttributes("D:\\a.txt", hiddenSystem | FileAttributes::ReadOnly));
    char value[16] = {};
    const bool xattrs = ::getxattr((tree / "a.txt").c_str(), "user.DOSATTRIB", value, 15) > 0;
    if (xattrs) {
        EXPECT_EQ(FileSystem::Attributes("D:\\a.txt"), hiddenSystem | FileAttributes::ReadOnly);
    }

    // Attribute 0 clears everything: the owner may write again and nothing stays hidden.
    ASSERT_FALSE(FileSystem::SetAttributes("D:\\a.txt", 0));
    EXPECT_EQ(FileSystem::Attributes("D:\\a.txt"), FileAttributes::Normal);
    EXPECT_LT(::getxattr((tree / "a.txt").c_str(), "user.DOSATTRIB", value, 15), 0);
    EXPECT_FALSE(FileSystem::DeleteFile("D:\\a.txt"));

    EXPECT_EQ(FileSystem::SetAttributes("D:\\gone.txt", 0).code, OsError::NotFound());
    // A link has no attributes of its own to change; its target keeps its own.
    TreeBuilder::MakeFile(tree / "target.txt");
    TreeBuilder::MakeLink(tree / "link", tree / "target.txt");
    ASSERT_FALSE(FileSystem::SetAttributes("D:\\link", FileAttributes::ReadOnly));
    EXPECT_EQ(FileSystem::Attributes("D:\\target.txt"), FileAttributes::Normal);
}

TEST_F(FileSystemTest, DeleteRefusesReadOnlyFilesAndFoldersAndRemovesLinksOnly) {
    TreeBuilder::MakeFile(tree / "ro.tmp", 10);
    TreeBuilder::MakeReadOnly(tree / "ro.tmp");
    // As on Windows, even an administrator may not delete a read-only file.
    EXPECT_EQ(FileSystem::DeleteFile("D:\\ro.tmp").code, OsError::AccessDenied());
    EXPECT_TRUE(fs::exists(tree / "ro.tmp"));

    TreeBuilder::MakeFile(tree / "keep/target.txt", 5);
    TreeBuilder::MakeLink(tree / "link.tmp", tree / "keep/target.txt");
    TreeBuilder::MakeLink(tree / "folder-link", tree / "keep");
    EXPECT_FALSE(FileSystem::DeleteFile("D:\\link.tmp"));
    EXPECT_FALSE(FileSystem::DeleteFile("D:\\folder-link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree / "link.tmp")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree / "folder-link")));
    EXPECT_TRUE(fs::exists(tree / "keep/target.txt"));

    EXPECT_TRUE(FileSystem::DeleteFile("D:\\keep"));
    EXPECT_TRUE(fs::exists(tree / "keep"));
    EXPECT_EQ(FileSystem::DeleteFile("D:\\missing.tmp").code, OsError::NotFound());
    EXPECT_TRUE(FileSystem::DeleteFile("D:\\"));
}

TEST_F(FileSystemTest, OperationsThroughAFolderSwappedForALinkAreRefused) {
    TreeBuilder::MakeFile(tree / "outside/victim.txt", 3);
    TreeBuilder::MakeFile(tree / "drive/real/victim.txt", 3);
    DriveMap inner{{'E', tree / "drive"}};
    fs::rename(tree / "drive/real", tree / "drive/moved");
    TreeBuilder::MakeLink(tree / "drive/real", tree / "outside");

    EXPECT_TRUE(FileSystem::DeleteFile("E:\\real\\victim.txt"));
    EXPECT_TRUE(FileSystem::MoveFile("E:\\real\\victim.txt", "E:\\victim.txt"));
    EXPECT_TRUE(FileSystem::SetAttributes("E:\\real\\victim.txt", FileAttributes::ReadOnly));
    EXPECT_TRUE(FileSystem::WriteFileAtomic("E:\\real\\victim.txt", "x"));
    EXPECT_TRUE(FileSystem::CreateFolders("E:\\real\\new"));
    EXPECT_FALSE(FileSystem::FileExists("E:\\real\\victim.txt"));
    EXPECT_EQ(test::ReadFileText(tree / "outside/victim.txt"), std::string(3, '\0'));
    EXPECT_EQ(EntriesIn(tree / "outside"), 1u);
    EXPECT_TRUE(fs::exists(tree / "drive/moved/victim.txt"));
}

TEST_F(FileSystemTest, MoveNeverReplacesAndMovesLinksAsLinks) {
    Write(tree / "a/one.tmp", "one");
    Write(tree / "b/one.tmp", "other");
    EXPECT_EQ(FileSystem::MoveFile("D:\\a\\one.tmp", "D:\\b\\one.tmp").code, EEXIST);
    EXPECT_EQ(test::ReadFileText(tree / "a/one.tmp"), "one");
    EXPECT_EQ(test::ReadFileText(tree / "b/one.tmp"), "other");

    TreeBuilder::MakeReadOnly(tree / "a/one.tmp");
    ASSERT_FALSE(FileSystem::MoveFile("D:\\a\\one.tmp", "D:\\b\\two.tmp"));
    EXPECT_EQ(test::ReadFileText(tree / "b/two.tmp"), "one");
    EXPECT_FALSE(fs::exists(tree / "a/one.tmp"));

    TreeBuilder::MakeLink(tree / "a/link", tree / "b");
    ASSERT_FALSE(FileSystem::MoveFile("D:\\a\\link", "D:\\b\\link"));
    EXPECT_TRUE(fs::is_symlink(tree / "b/link"));
    EXPECT_EQ(EntriesIn(tree / "b"), 3u);

    ASSERT_FALSE(FileSystem::MoveFile("D:\\b\\two.tmp", "D:\\b\\Two.TMP")); // case only
    EXPECT_TRUE(fs::exists(tree / "b/Two.TMP"));
    EXPECT_EQ(FileSystem::MoveFile("D:\\b\\gone", "D:\\b\\x").code, OsError::NotFound());
    EXPECT_EQ(FileSystem::MoveFile("D:\\b\\Two.TMP", "D:\\missing\\x").code, ENOENT);

    // What took a found file's name since stays where it is.
    TreeBuilder::MakeDir(tree / "a/was.tmp");
    ASSERT_EQ(::mkfifo((tree / "a/fifo.tmp").c_str(), 0600), 0);
    EXPECT_EQ(FileSystem::MoveFile("D:\\a\\was.tmp", "D:\\b\\was.tmp").code, EISDIR);
    EXPECT_TRUE(FileSystem::MoveFile("D:\\a\\fifo.tmp", "D:\\b\\fifo.tmp"));
    EXPECT_EQ(EntriesIn(tree / "a"), 2u);
}

// Checks a move that had to copy: contents, mode and time stamps kept, no temporary left.
void ExpectCopiedMove(const fs::path& source, const fs::path& target, const struct stat& before) {
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(test::ReadFileText(target), std::string(100000, 'x'));
    struct stat after;
    ASSERT_EQ(::lstat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(EntriesIn(target.parent_path()), 1u);
}

TEST_F(FileSystemTest, MoveAcrossFileSystemsCopiesFlushesAndRemovesTheSource) {
    // A copy that cannot be put in place is taken back, whatever the reason.
    UniqueFd folder(::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    Write(tree / "taken.tmp", "there first");
    std::string temp;
    ASSERT_FALSE(FileCopier::WriteToTemp("new", 0600, folder.Get(), "taken.tmp", temp));
    EXPECT_EQ(FileCopier::Commit(folder.Get(), temp, "taken.tmp", false).code, EEXIST);
    EXPECT_EQ(test::ReadFileText(tree / "taken.tmp"), "there first");
    EXPECT_EQ(EntriesIn(tree.Root()), 1u);

    const fs::path shm = "/dev/shm";
    struct stat here, there;
    if (::stat(shm.c_str(), &there) != 0 || ::access(shm.c_str(), W_OK) != 0 ||
        ::stat(tree.Root().c_str(), &here) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second writable file system";
    char name[] = "/dev/shm/brumo-move-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    const fs::path other = name;
    DriveMap both{{'D', tree.Root()}, {'E', other}};
    Write(tree / "src/far.tmp", std::string(100000, 'x'));
    TreeBuilder::SetWriteTime(tree / "src/far.tmp", 2001, 2, 3);
    TreeBuilder::MakeReadOnly(tree / "src/far.tmp");
    // Every extended attribute goes along, where both file systems keep them.
    const bool tags =
        ::setxattr((tree / "src/far.tmp").c_str(), "user.xdg.tags", "junk", 4, 0) == 0 &&
        ::setxattr(other.c_str(), "user.probe", "1", 1, 0) == 0;
    struct stat before;
    ASSERT_EQ(::lstat((tree / "src/far.tmp").c_str(), &before), 0);
    const OsError e = FileSystem::MoveFile("D:\\src\\far.tmp", "E:\\far.tmp");
    EXPECT_FALSE(e) << e.Message();
    char tag[8] = {};
    if (tags) {
        EXPECT_EQ(::getxattr((other / "far.tmp").c_str(), "user.xdg.tags", tag, sizeof tag), 4);
    }
    ExpectCopiedMove(tree / "src/far.tmp", other / "far.tmp", before);
    EXPECT_EQ(FileSystem::Attributes("E:\\far.tmp"), FileAttributes::ReadOnly);
    TreeBuilder::MakeDir(tree / "src/folder");
    EXPECT_EQ(FileSystem::MoveFile("D:\\src\\folder", "E:\\folder").code, EISDIR);
    fs::remove_all(other);
}

TEST_F(FileSystemTest, AtomicWriteKeepsTheOldFileWholeWhenItCannotFinish) {
    ASSERT_FALSE(FileSystem::WriteFileAtomic("D:\\store.dat", "first"));
    EXPECT_EQ(test::ReadFileText(tree / "store.dat"), "first");
    ::chmod((tree / "store.dat").c_str(), 0640);
    ASSERT_FALSE(FileSystem::WriteFileAtomic("D:\\STORE.DAT", "second, longer"));
    EXPECT_EQ(test::ReadFileText(tree / "store.dat"), "second, longer");
    EXPECT_EQ(fs::status(tree / "store.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A write that cannot be put in place leaves no temporary file.
    TreeBuilder::MakeDir(tree / "folder.dat");
    TreeBuilder::MakeFile(tree / "folder.dat" / "inside");
    UniqueFd folder(::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::string temp;
    ASSERT_FALSE(FileCopier::WriteToTemp("third", 0, folder.Get(), "folder.dat", temp));
    EXPECT_TRUE(FileCopier::Commit(folder.Get(), temp, "folder.dat", true));
    EXPECT_EQ(test::ReadFileText(tree / "store.dat"), "second, longer");
    EXPECT_EQ(EntriesIn(tree.Root()), 2u);
    fs::remove_all(tree / "folder.dat");

    TreeBuilder::MakeReadOnly(tree / "store.dat");
    EXPECT_EQ(FileSystem::WriteFileAtomic("D:\\store.dat", "x").code, OsError::AccessDenied());
    EXPECT_EQ(FileSystem::WriteFileAtomic("D:\\no\\such\\folder.dat", "x").code, ENOENT);

    std::string bytes = "stale";
    ASSERT_FALSE(FileSystem::ReadFile("D:\\store.dat", bytes));
    EXPECT_EQ(bytes, "second, longer");
    EXPECT_EQ(FileSystem::ReadFile("D:\\missing", bytes).code, OsError::NotFound());
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(FileSystem::FileSize("D:\\store.dat"), 14);
    EXPECT_FALSE(FileSystem::FileSize("D:\\missing"));
}

TEST_F(FileSystemTest, TemporaryFilesOfEndedProcessesGoAndThoseOfLiveOnesStay) {
    const pid_t child = test::EndedProcessId();
    ASSERT_GT(child, 0);
    const std::string dead = ".store.dat." + std::to_string(child) + "-0.tmp";
    const std::string live = ".store.dat." + std::to_string(::getpid()) + "-7.tmp";
    const std::string other = ".other.dat." + std::to_string(child) + "-0.tmp";
    for (const std::string& name : {dead, live, other})
        Write(tree / name, "partial");
    FileSystem::RemoveStaleTemporaryFiles("D:\\store.dat"); // as at start
    EXPECT_FALSE(fs::exists(tree / dead));
    EXPECT_TRUE(fs::exists(tree / live));
    EXPECT_TRUE(fs::exists(tree / other)) << "another file's, for its own save to clear";

    Write(tree / dead, "partial");
    ASSERT_FALSE(FileSystem::WriteFileAtomic("D:\\store.dat", "saved"));
    EXPECT_FALSE(fs::exists(tree / dead)) << "cleared after each save";
    EXPECT_TRUE(fs::exists(tree / live));
}

TEST_F(FileSystemTest, CreateFoldersAndCopy) {
    ASSERT_FALSE(FileSystem::CreateFolders("D:\\HDVal$$$.$$$\\Temp\\Deep\\"));
    EXPECT_TRUE(fs::is_directory(tree / "HDVal$$$.$$$/Temp/Deep"));
    EXPECT_FALSE(FileSystem::CreateFolders("D:\\HDVal$$$.$$$\\Temp"));
    EXPECT_EQ(EntriesIn(tree.Root()), 1u);
    // The program names what it makes: a name in another case is another folder here.
    ASSERT_FALSE(FileSystem::CreateFolders("D:\\HDVal$$$.$$$\\TEMP"));
    EXPECT_EQ(EntriesIn(tree / "HDVal$$$.$$$"), 2u);
    TreeBuilder::MakeFile(tree / "file");
    EXPECT_EQ(FileSystem::CreateFolders("D:\\file\\sub").code, ENOTDIR);

    Write(tree / "from.txt", "payload");
    TreeBuilder::SetWriteTime(tree / "from.txt", 2010, 5, 6);
    ASSERT_FALSE(FileSystem::CopyFile("D:\\from.txt", "D:\\from.txt.BAD"));
    EXPECT_EQ(test::ReadFileText(tree / "from.txt.BAD"), "payload");
    EXPECT_EQ(fs::last_write_time(tree / "from.txt.BAD"), fs::last_write_time(tree / "from.txt"));
    Write(tree / "from.txt", "newer");
    ASSERT_FALSE(FileSystem::CopyFile("D:\\from.txt", "D:\\from.txt.BAD"));
    EXPECT_EQ(test::ReadFileText(tree / "from.txt.BAD"), "newer");
    EXPECT_EQ(FileSystem::ShortPathName("D:\\Long Name.text"), "D:\\Long Name.text");
}

TEST_F(FileSystemTest, WriterCreatesAppendsAndReportsEveryFailure) {
    std::unique_ptr<FileWriter> writer;
    ASSERT_FALSE(FileWriter::Open("D:\\run.log.txt", FileWriter::Mode::Create, writer));
    ASSERT_FALSE(writer->Write("one\r\n"));
    ASSERT_FALSE(writer->Close());
    ASSERT_FALSE(FileWriter::Open("D:\\RUN.LOG.TXT", FileWriter::Mode::Append, writer));
    ASSERT_FALSE(writer->Write("two\r\n"));
    ASSERT_FALSE(writer->Close());
    EXPECT_EQ(test::ReadFileText(tree / "run.log.txt"), "one\r\ntwo\r\n");
    EXPECT_TRUE(writer->Write("late")); // after Close
    ASSERT_FALSE(FileWriter::Open("D:\\run.log.txt", FileWriter::Mode::Create, writer));
    ASSERT_FALSE(writer->Close());
    EXPECT_EQ(test::ReadFileText(tree / "run.log.txt"), "");

    TreeBuilder::MakeReadOnly(tree / "run.log.txt");
    EXPECT_EQ(FileWriter::Open("D:\\run.log.txt", FileWriter::Mode::Append, writer).code,
              OsError::AccessDenied());
    EXPECT_EQ(writer, nullptr);
    TreeBuilder::MakeLink(tree / "link.log", tree / "elsewhere.log");
    EXPECT_TRUE(FileWriter::Open("D:\\link.log", FileWriter::Mode::Append, writer));
    EXPECT_FALSE(fs::exists(tree / "elsewhere.log"));

    // A full disk is reported, not swallowed.
    if (FileWriter::Open("/dev/full", FileWriter::Mode::Append, writer))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(writer->Write("x").code, ENOSPC);
}

} // namespace
} // namespace brumo

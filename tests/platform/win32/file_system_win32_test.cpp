#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/folder.h"
#include "platform/holding_folder.h"
#include "platform/win32/win_text.h"
#include "platform/win32/windows_api.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

TEST(Win32FileSystem, ReadOnlyFilesResistDeletionUntilTheirAttributesAreCleared) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "keep.tmp", 10);
    TreeBuilder::MakeReadOnly(tree / "keep.tmp");
    DriveMap drives({{'C', tree.Root()}});
    const std::string path = drives.Path('C', "keep.tmp");

    const auto attributes = FileSystem::Attributes(path);
    ASSERT_TRUE(attributes);
    EXPECT_TRUE(*attributes & FileAttributes::ReadOnly);
    EXPECT_EQ(FileSystem::DeleteFile(path).code, OsError::AccessDenied());
    EXPECT_TRUE(FileSystem::FileExists(path));

    EXPECT_FALSE(FileSystem::SetAttributes(path, 0));
    EXPECT_FALSE(*FileSystem::Attributes(path) & FileAttributes::ReadOnly);
    EXPECT_FALSE(FileSystem::DeleteFile(path));
    EXPECT_FALSE(FileSystem::FileExists(path));
    EXPECT_EQ(FileSystem::DeleteFile(path).code, OsError::NotFound());
    EXPECT_FALSE(OsError{OsError::AccessDenied()}.Message().empty());
}

TEST(Win32FileSystem, MovesIntoANewHoldingFolderAndNeverOverAnExistingFile) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "TEMP" / "a.tmp", 3);
    TreeBuilder::MakeFile(tree / "TEMP" / "b.tmp", 4);
    DriveMap drives({{'C', tree.Root()}});
    if (!drives.RootIsDrive('C'))
        GTEST_SKIP() << "no spare test drive (BRUMO_TEST_DRIVES)";
    const std::string holding = HoldingFolder::RootFor(drives.Root('C')[0]);
    EXPECT_EQ(holding, drives.Root('C') + "\\HDVal$$$.$$$");

    const std::string target = holding + "\\TEMP\\a.tmp";
    EXPECT_FALSE(FileSystem::CreateFolders(holding + "\\TEMP"));
    EXPECT_FALSE(FileSystem::CreateFolders(holding + "\\TEMP\\")); // already there
    EXPECT_TRUE(FileSystem::FolderExists(holding + "\\TEMP"));
    EXPECT_FALSE(FileSystem::MoveFile(drives.Path('C', "TEMP\\a.tmp"), target));
    EXPECT_EQ(FileSystem::FileSize(target), 3);
    EXPECT_FALSE(FileSystem::FileExists(drives.Path('C', "TEMP\\a.tmp")));
    EXPECT_TRUE(FileSystem::MoveFile(drives.Path('C', "TEMP\\b.tmp"), target));
    EXPECT_EQ(FileSystem::FileSize(target), 3);
}

// How many names the file has.
DWORD Links(const std::string& path) {
    HANDLE h = CreateFileW(WinText::Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return info.nNumberOfLinks;
}

TEST(Win32FileSystem, AMovedFileKeepsItsAttributesAndOneNameAndABusyOneStays) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "TEMP" / "ro.tmp", 4);
    TreeBuilder::MakeReadOnly(tree / "TEMP" / "ro.tmp");
    TreeBuilder::MakeFile(tree / "TEMP" / "busy.tmp", 5);
    DriveMap drives({{'C', tree.Root()}});
    const std::string from = drives.Path('C', "TEMP\\ro.tmp"), to = drives.Path('C', "ro.tmp");
    EXPECT_FALSE(FileSystem::MoveFile(from, to));
    EXPECT_FALSE(FileSystem::FileExists(from));
    EXPECT_TRUE(*FileSystem::Attributes(to) & FileAttributes::ReadOnly);
    EXPECT_EQ(Links(to), 1u);
    EXPECT_EQ(FileSystem::DeleteFile(to + "\\x").code, ERROR_PATH_NOT_FOUND);

    // Held by another program that shares no deleting: neither moved nor deleted, and nothing
    // is left at the target.
    const std::string busy = drives.Path('C', "TEMP\\busy.tmp"), target = to + ".busy";
    HANDLE h = CreateFileW(WinText::Wide(busy).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileSystem::MoveFile(busy, target).code, ERROR_SHARING_VIOLATION);
    EXPECT_EQ(FileSystem::DeleteFile(busy).code, ERROR_SHARING_VIOLATION);
    CloseHandle(h);
    EXPECT_FALSE(FileSystem::FileExists(target));
    EXPECT_EQ(Links(busy), 1u);
    EXPECT_FALSE(FileSystem::SetAttributes(to, 0));
}

TEST(Win32FileSystem, CreateFoldersReportsWhatCannotBeMade) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "file");
    DriveMap drives({{'C', tree.Root()}});
    EXPECT_FALSE(FileSystem::CreateFolders(drives.Path('C', "a\\b\\c")));
    EXPECT_TRUE(std::filesystem::is_directory(tree / "a" / "b" / "c"));
    EXPECT_TRUE(FileSystem::CreateFolders(drives.Path('C', "file\\sub")));
    EXPECT_TRUE(FileSystem::FolderExists(drives.Root('C')));
    EXPECT_FALSE(FileSystem::FolderExists(drives.Path('C', "file")));
}

TEST(Win32FileSystem, AtomicWritesReplaceWholeAndLeaveNothingBeside) {
    TempTree tree;
    DriveMap drives({{'C', tree.Root()}});
    const std::string path = drives.Path('C', "store.dat");
    EXPECT_FALSE(FileSystem::WriteFileAtomic(path, std::string("first\0version", 13)));
    EXPECT_FALSE(FileSystem::WriteFileAtomic(path, "second"));
    std::string bytes;
    EXPECT_FALSE(FileSystem::ReadFile(path, bytes));
    EXPECT_EQ(bytes, "second");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(tree.Root()))
        ++entries;
    EXPECT_EQ(entries, 1);

    EXPECT_FALSE(FileSystem::CopyFile(path, path + ".BAD"));
    EXPECT_FALSE(FileSystem::ReadFile(path + ".BAD", bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_TRUE(FileSystem::ReadFile(drives.Path('C', "missing"), bytes));
    EXPECT_TRUE(FileSystem::WriteFileAtomic(drives.Path('C', "no\\such\\folder\\x"), "x"));
}

TEST(Win32FileSystem, ShortPathNamesNameTheSameFile) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "Long Folder Name" / "longer file name.text", 9);
    DriveMap drives({{'C', tree.Root()}});
    const std::string path = drives.Path('C', "Long Folder Name\\longer file name.text");
    const std::string shortPath = FileSystem::ShortPathName(path);
    const std::string shortName = shortPath.substr(shortPath.rfind('\\') + 1);
    EXPECT_NE(shortName, "longer file name.text");
    EXPECT_LE(shortName.size(), 12u);
    EXPECT_EQ(shortName.find(' '), std::string::npos);
    EXPECT_EQ(FileSystem::FileSize(shortPath), 9);
    // Without a file there is no short form: the path comes back as it was.
    EXPECT_EQ(FileSystem::ShortPathName(drives.Path('C', "missing file.text")),
              drives.Path('C', "missing file.text"));
}

TEST(Win32FileWriter, AppendsAcrossOpeningsAndCreatesAnew) {
    TempTree tree;
    DriveMap drives({{'C', tree.Root()}});
    const std::string path = drives.Path('C', "brumo.LOG.TXT");
    for (const char* line : {"one\r\n", "two\r\n"}) {
        std::unique_ptr<FileWriter> log;
        ASSERT_FALSE(FileWriter::Open(path, FileWriter::Mode::Append, log));
        EXPECT_FALSE(log->Write(line));
        EXPECT_FALSE(log->Close());
    }
    std::string bytes;
    ASSERT_FALSE(FileSystem::ReadFile(path, bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\n");

    std::unique_ptr<FileWriter> log;
    ASSERT_FALSE(FileWriter::Open(path, FileWriter::Mode::Create, log));
    EXPECT_FALSE(log->Write("new"));
    log.reset(); // closing by destruction keeps what was written
    ASSERT_FALSE(FileSystem::ReadFile(path, bytes));
    EXPECT_EQ(bytes, "new");

    EXPECT_TRUE(
        FileWriter::Open(drives.Path('C', "no\\such\\log.txt"), FileWriter::Mode::Create, log));
    EXPECT_FALSE(log);
}

} // namespace
} // namespace brumo

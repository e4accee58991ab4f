#include "model/junk_file_type.h"
#include "platform/file_system.h"
#include "platform/holding_folder.h"
#include "platform/win32/windows_api.h"
#include "runs/holding_path.h"
#include "runs/recycle_sender.h"
#include "runs/run_file_handler.h"
#include "runs/run_log.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "support/win32/host_links.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace brumo {
namespace {

namespace fs = std::filesystem;
using test::TreeBuilder;

// Files made by their "\\?\" name: long paths, and names the plain form would change.
void MakeExact(const std::wstring& path, DWORD size) {
    for (size_t cut = path.find(L'\\', 7); cut != std::wstring::npos;
         cut = path.find(L'\\', cut + 1))
        CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const std::string bytes(size, 'x');
    DWORD written = 0;
    WriteFile(h, bytes.data(), size, &written, nullptr);
    CloseHandle(h);
}

std::wstring Exact(const std::string& path) {
    return L"\\\\?\\" + fs::path(path).wstring();
}

// Wine's Recycle Bin is the host's trash below XDG_DATA_HOME: a folder of it swapped for a file
// makes it unusable, until the object goes.
class BrokenTrash {
public:
    explicit BrokenTrash(const wchar_t* part) {
        using DosName = wchar_t*(CDECL*)(const char*);
        const auto dosName = reinterpret_cast<DosName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")));
        char data[MAX_PATH];
        if (!dosName || !GetEnvironmentVariableA("XDG_DATA_HOME", data, MAX_PATH))
            return;
        wchar_t* trash = dosName((std::string(data) + "/Trash").c_str());
        if (!trash)
            return;
        CreateDirectoryW(trash, nullptr);
        path_ = std::wstring(trash) + part;
        HeapFree(GetProcessHeap(), 0, trash);
        CreateDirectoryW(path_.c_str(), nullptr);
        if (!MoveFileW(path_.c_str(), (path_ + L".away").c_str()))
            path_.clear();
        else
            std::ofstream(fs::path(path_)) << "no folder";
    }
    ~BrokenTrash() {
        if (!path_.empty()) {
            DeleteFileW(path_.c_str());
            MoveFileW((path_ + L".away").c_str(), path_.c_str());
        }
    }
    bool Made() const { return !path_.empty(); }

private:
    std::wstring path_;
};

class Win32CleanupMethodsTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::DriveMap drives{{'C', tree.Root()}};
    RunLog log;
    RunFileHandler handler{log, RecycleSender::System()};

    void SetUp() override {
        if (!drives.RootIsDrive('C'))
            GTEST_SKIP() << "no spare drive for a holding folder of the tests' own";
        ASSERT_FALSE(log.Open((tree / "run.log").string(), false));
        handler.StartRun();
    }
    std::string Log() {
        log.Close();
        std::ifstream in(tree / "run.log", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& path) {
        return GetFileAttributesW(Exact(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Sends two files to a Recycle Bin that cannot take them: both stay whole, and neither
    // counts as restorable. Returns the log.
    std::string RecycleTwoFiles() {
        TreeBuilder::MakeFile(tree / "t1.log", 10);
        TreeBuilder::MakeFile(tree / "t2.log", 20);
        handler.BeginType(MethodRecycleBin);
        handler.RealFile(drives.Path('C', "t1.log"), 10);
        handler.RealFile(drives.Path('C', "t2.log"), 20);
        handler.FlushRecycleBatch();
        EXPECT_EQ(fs::file_size(tree / "t1.log"), 10u);
        EXPECT_EQ(fs::file_size(tree / "t2.log"), 20u);
        EXPECT_EQ(handler.Counters().FilesRestorable, 0);
        return Log();
    }
};

// A host folder tells case apart: two files whose names differ only in case are both held.
TEST_F(Win32CleanupMethodsTest, CaseTwinsInAHostFolderAreBothHeld) {
    TreeBuilder::MakeFile(tree / "h" / "Twin.tmp", 3);
    if (!test::HostLinks::CopyBeside(tree / "h" / "Twin.tmp", L"twin.tmp"))
        GTEST_SKIP() << "no host to make a case twin";
    TreeBuilder::MakeFile(tree / "h" / "twin.tmp", 5);
    handler.BeginType(MethodHoldingFolder);
    handler.RealFile(drives.Path('C', "h\\Twin.tmp"), 3);
    handler.RealFile(drives.Path('C', "h\\twin.tmp"), 5);
    EXPECT_EQ(handler.Counters().FilesFailed, 0) << Log();
    std::vector<uintmax_t> sizes;
    for (const auto& entry : fs::directory_iterator(tree / HoldingFolder::Name / "h"))
        sizes.push_back(entry.file_size());
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<uintmax_t>{3, 5}));
}

// Windows refuses to open a name whose file waits to be deleted, Wine opens it: a file another
// process holds open, even with delete sharing, is left as it was either way.
TEST_F(Win32CleanupMethodsTest, AFileOpenElsewhereStaysWhole) {
    for (const int32_t method : {MethodHoldingFolder, MethodDelete}) {
        const std::string path = drives.Path('C', "open\\in use.tmp");
        TreeBuilder::MakeFile(tree / "open" / "in use.tmp", 6);
        HANDLE other = CreateFileW(Exact(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        handler.BeginType(method);
        handler.RealFile(path, 6);
        CloseHandle(other);
        EXPECT_TRUE(Exists(path)) << method;
        EXPECT_EQ(fs::file_size(tree / "open" / "in use.tmp"), 6u) << method;
        EXPECT_FALSE(Exists(*HoldingPath::Of(path))) << method;
    }
    EXPECT_EQ(handler.Counters().FilesFailed, 2);
    EXPECT_EQ(handler.Counters().FilesProcessed, 0);
}

// Past the classic limit: moved and deleted; the Recycle Bin, which takes no such path, says so.
TEST_F(Win32CleanupMethodsTest, A310CharacterPathIsRemovedOrNamesWhyNot) {
    struct Case {
        int32_t method;
        bool removed;
    } cases[] = {{MethodDelete, true}, {MethodHoldingFolder, true}, {MethodRecycleBin, false}};
    for (const Case& c : cases) {
        std::string path = drives.Root('C');
        for (char part = 'a'; path.size() + 61 < 300; ++part)
            path += "\\" + std::string(60, part);
        path += "\\" + std::string(310 - path.size() - 5, 'f') + ".tmp";
        ASSERT_EQ(path.size(), 310u);
        MakeExact(Exact(path), 9);
        handler.BeginType(c.method);
        handler.RealFile(path, 9);
        handler.FlushRecycleBatch();
        EXPECT_EQ(!Exists(path), c.removed) << c.method;
        if (c.method == MethodHoldingFolder) {
            EXPECT_TRUE(Exists(*HoldingPath::Of(path)));
        }
    }
    EXPECT_EQ(handler.Counters().FilesProcessed, 2);
    EXPECT_NE(Log().find("longer than the 259 characters the Recycle Bin takes"),
              std::string::npos);
}

// The shell would be handed "foo" for "foo.", and recycle the sibling.
TEST_F(Win32CleanupMethodsTest, ANameEndingInADotIsNotHandedToTheShell) {
    const std::string dotted = drives.Path('C', "d\\foo.");
    MakeExact(Exact(dotted), 1);
    MakeExact(Exact(drives.Path('C', "d\\foo")), 2);
    handler.BeginType(MethodRecycleBin);
    handler.RealFile(dotted, 1);
    handler.FlushRecycleBatch();
    EXPECT_TRUE(Exists(dotted));
    EXPECT_TRUE(Exists(drives.Path('C', "d\\foo")));
    EXPECT_NE(Log().find("ends in a dot or a space"), std::string::npos);
}

// The trash of Wine's host unusable: the check beforehand finds no Recycle Bin.
TEST_F(Win32CleanupMethodsTest, AnUnusableRecycleBinLeavesTheFilesWhereTheyAre) {
    BrokenTrash broken(L"");
    if (!broken.Made())
        GTEST_SKIP() << "no host trash to break";
    const std::string text = RecycleTwoFiles();
    EXPECT_EQ(handler.Counters().FilesFailed, 2);
    EXPECT_NE(text.find("no Recycle Bin that could take the file"), std::string::npos) << text;
}

// The trash looks usable but cannot take the files: Wine deletes them for good, as Windows does
// with what its Recycle Bin cannot take; they are put back and said to be so.
TEST_F(Win32CleanupMethodsTest, AFileTheShellDestroysIsPutBack) {
    BrokenTrash broken(L"\\files");
    if (!broken.Made())
        GTEST_SKIP() << "no host trash to break";
    const std::string text = RecycleTwoFiles();
    EXPECT_NE(text.find("it was put back where it was"), std::string::npos) << text;
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.Root()), {}), 3) << "no second name left";
}

// A run killed while sending leaves second names behind: those of ended runs go when files are
// next sent from their folder, unless one is the last name of its file (the shell destroyed the
// file's own), which holds the data.
TEST_F(Win32CleanupMethodsTest, SecondNamesOfKilledRunsAreSweptWhereFilesAreSent) {
    const fs::path folder = tree / "k";
    TreeBuilder::MakeFile(folder / "a.log", 5);
    TreeBuilder::MakeFile(folder / "~brumo-kept-4294967292-1", 6); // no such process
    const std::wstring own = L"~brumo-kept-" + std::to_wstring(GetCurrentProcessId()) + L"-999";
    for (const std::wstring& name : {std::wstring(L"~brumo-kept-4294967292-0"), own})
        ASSERT_TRUE(CreateHardLinkW((folder / name).c_str(), (folder / "a.log").c_str(), nullptr));
    TreeBuilder::MakeFile(folder / "t.log", 1);
    handler.BeginType(MethodRecycleBin);
    handler.RealFile(drives.Path('C', "k\\t.log"), 1);
    handler.FlushRecycleBatch();
    EXPECT_FALSE(fs::exists(folder / "~brumo-kept-4294967292-0"));
    EXPECT_EQ(fs::file_size(folder / "~brumo-kept-4294967292-1"), 6u);
    EXPECT_TRUE(fs::exists(folder / own)) << "its run goes on";
    EXPECT_EQ(fs::file_size(folder / "a.log"), 5u);
}

} // namespace
} // namespace brumo

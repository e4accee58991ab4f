#include "platform/file_system.h"
#include "platform/recycle_bin.h"
#include "platform/win32/registry_recycle_bin_settings.h"
#include "platform/win32/windows_api.h"
#include "runs/recycle_settings_check.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

// Items in the Recycle Bin of every drive, or -1 where the system cannot say.
int64_t RecycledItems() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(nullptr, &info)))
        return -1;
    return info.i64NumItems;
}

TEST(Win32RecycleBin, ABatchLandsInTheRecycleBin) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "TEMP" / "a.tmp", 100);
    TreeBuilder::MakeFile(tree / "TEMP" / "b b.tmp", 200);
    DriveMap drives({{'C', tree.Root()}});
    const int64_t before = RecycledItems();
    const std::vector<std::string> batch = {drives.Path('C', "TEMP\\a.tmp"),
                                            drives.Path('C', "TEMP\\b b.tmp")};
    EXPECT_EQ(RecycleBin::SendFiles(batch), 0);
    EXPECT_FALSE(FileSystem::FileExists(batch[0]));
    EXPECT_FALSE(FileSystem::FileExists(batch[1]));
    if (before >= 0) {
        EXPECT_GE(RecycledItems(), before + 2);
    }
    EXPECT_EQ(RecycleBin::SendFiles({}), 0);
}

TEST(Win32RecycleBin, AFileThatCannotGoIsReportedAndStaysWhereItWas) {
    TempTree tree;
    TreeBuilder::MakeFile(tree / "held.tmp", 10);
    DriveMap drives({{'C', tree.Root()}});
    const std::string held = drives.Path('C', "held.tmp");
    // Open without sharing: as a program that holds the file would.
    HANDLE h = CreateFileW((tree / "held.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const int code = RecycleBin::SendFiles({held});
    CloseHandle(h);
    if (code == 0 && !FileSystem::FileExists(held))
        GTEST_SKIP() << "this system recycles files that are open";
    EXPECT_NE(code, 0);
    EXPECT_TRUE(FileSystem::FileExists(held));
    EXPECT_FALSE(RecycleBin::ErrorText(code).empty());
    EXPECT_FALSE(RecycleBin::ErrorText(0x78).empty());
}

// A key of its own under the current user, removed afterwards.
class TestKey {
public:
    TestKey() : path_("Software\\Brumo Tests\\BitBucket " + std::to_string(GetCurrentProcessId())) {
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
    }
    ~TestKey() {
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }
    void SetBinary(const char* name, const std::vector<uint8_t>& bytes) {
        RegSetValueExA(key_, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    void SetNumber(const char* name, DWORD value) {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    HKEY key_ = nullptr;
};

TEST(Win32RecycleBinSettings, ReadsPurgeInfoAndDriveValuesFromTheKey) {
    TestKey key;
    RegistryRecycleBinSettings settings(RegistryRecycleBinSettings::Hive::CurrentUser, key.Path());
    EXPECT_FALSE(settings.PurgeInfo()); // a key without the value

    std::vector<uint8_t> value(80);
    for (size_t i = 0; i < value.size(); ++i)
        value[i] = static_cast<uint8_t>(i);
    key.SetBinary("PurgeInfo", value);
    key.SetNumber("C", 10);
    key.SetNumber("e", 0);
    const auto read = settings.PurgeInfo();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, std::vector<uint8_t>(value.begin(), value.begin() + 72));
    EXPECT_TRUE(settings.HasDriveSetting('C'));
    EXPECT_TRUE(settings.HasDriveSetting('c'));
    EXPECT_TRUE(settings.HasDriveSetting('E')); // value names ignore case
    EXPECT_FALSE(settings.HasDriveSetting('D'));

    key.SetBinary("PurgeInfo", {72, 0, 0, 0, 1});
    EXPECT_EQ(settings.PurgeInfo(), (std::vector<uint8_t>{72, 0, 0, 0, 1}));

    RegistryRecycleBinSettings missing(RegistryRecycleBinSettings::Hive::CurrentUser,
                                       key.Path() + "\\missing");
    EXPECT_FALSE(missing.PurgeInfo());
    EXPECT_FALSE(missing.HasDriveSetting('C'));
}

// Current Windows keeps one key per volume, named by its GUID, in place of the old value.
TEST(Win32RecycleBinSettings, AVolumeKeyTakesThePlaceOfTheOldValueForItsDrive) {
    TestKey key;
    wchar_t volume[64];
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointW(L"C:\\", volume, 64));
    const std::wstring name(volume);
    const size_t open = name.find(L'{');
    const std::wstring guid = name.substr(open, name.find(L'}') - open + 1);
    const std::string volumes = key.Path() + "\\Volume";
    HKEY volumeKey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                              (std::wstring(volumes.begin(), volumes.end()) + L"\\" + guid).c_str(),
                              0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &volumeKey, nullptr),
              ERROR_SUCCESS);
    const auto set = [&](const wchar_t* value, DWORD number) {
        RegSetValueExW(volumeKey, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number);
    };
    RegistryRecycleBinSettings settings(RegistryRecycleBinSettings::Hive::CurrentUser, key.Path(),
                                        volumes);
    struct Case {
        DWORD nuke, megabytes;
        bool error;
    } cases[] = {{1, 1024, true}, {0, 0, true}, {0, 1024, false}};
    for (const Case& c : cases) {
        set(L"NukeOnDelete", c.nuke);
        set(L"MaxCapacity", c.megabytes);
        EXPECT_TRUE(settings.HasDriveSetting('C'));
        RecycleSettingsCheck check(settings);
        EXPECT_EQ(check.CheckRecycleSettings(), c.error) << c.nuke << " " << c.megabytes;
        EXPECT_EQ(check.RecycleSettingsError().find("drive c:\\,") != std::string::npos, c.error);
        EXPECT_FALSE(check.OneSettingForAll());
    }
    RegCloseKey(volumeKey);
    EXPECT_FALSE(settings.HasDriveSetting('D'));
}

TEST(Win32RecycleBinSettings, TheSystemSourceReadsWithoutFailing) {
    // Whether the key exists differs between systems; reading it must simply work.
    const auto& system = RecycleBinSettings::System();
    const auto value = system.PurgeInfo();
    if (value) {
        EXPECT_LE(value->size(), 72u);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        system.HasDriveSetting(letter);
}

} // namespace
} // namespace brumo

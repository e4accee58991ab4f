#include "app/version_info.h"
#include "platform/special_folders.h"
#include "platform/win32/win_text.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

// The test program carries the same version resource as the program itself.
class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring file = WinText::Wide(SpecialFolders::ExecutablePath());
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, data_.data()));
    }
    std::string String(const std::string& path) {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), WinText::Wide(path).c_str(), &value, &length) || !length)
            return {};
        return WinText::Utf8(static_cast<const wchar_t*>(value));
    }
    std::vector<char> data_;
};

TEST_F(VersionResource, CarriesTheVersionValuesOfTheBuild) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* pair = static_cast<const uint16_t*>(value);
    const std::string table = VersionInfo::StringTablePath({{pair[0], pair[1]}});
    EXPECT_EQ(table, "\\StringFileInfo\\040904e4\\");

    const VersionInfo build = VersionInfo::OfThisBuild();
    EXPECT_EQ(String(table + VersionInfo::KeyName(2)), build.VersionText);
    EXPECT_EQ(String(table + "LegalCopyright"), VersionInfo::Copyright);
    EXPECT_EQ(String(table + "CompanyName"), VersionInfo::CompanyName);
    EXPECT_EQ(String(table + "FileDescription"), "Brumo");
    EXPECT_EQ(String(table + "InternalName"), "Brumo");
    EXPECT_EQ(String(table + "OriginalFilename"), "Brumo.exe");
    EXPECT_EQ(String(table + "ProductName"), "Brumo");
    EXPECT_EQ(String(table + "ProductVersion"), "2.0.0.477");

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 488u);
    EXPECT_EQ(fixed->dwProductVersionLS, 477u);
    EXPECT_EQ((fixed->dwFileFlags & fixed->dwFileFlagsMask & VS_FF_PRERELEASE) != 0, build.IsBeta);
}

TEST(Win32Manifest, NarrowCallsTakeUtf8) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
}

} // namespace
} // namespace brumo

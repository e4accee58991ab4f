#include "platform/drives.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
// "c:", "C:\" or "c:\anything" -> "C:\".
std::wstring RootOf(const std::string& root) {
    std::wstring w = WinText::Wide(root);
    if (w.size() >= 2 && w[1] == L':')
        return std::wstring(1, w[0]) + L":\\";
    if (!w.empty() && w.back() != L'\\')
        w += L'\\';
    return w;
}
} // namespace

uint32_t Drives::LogicalDriveMask() {
    return GetLogicalDrives();
}

DriveType Drives::TypeOf(const std::string& root) {
    const UINT type = GetDriveTypeW(RootOf(root).c_str());
    return type <= static_cast<UINT>(DriveType::RamDisk) ? static_cast<DriveType>(type)
                                                         : DriveType::Unknown;
}

std::optional<std::string> Drives::TableError() {
    return std::nullopt;
}

std::optional<uint32_t> Drives::VolumeSerial(const std::string& root) {
    DWORD serial = 0;
    if (!GetVolumeInformationW(RootOf(root).c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr,
                               0))
        return std::nullopt;
    return static_cast<uint32_t>(serial);
}

std::optional<int64_t> Drives::TotalBytes(const std::string& root) {
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExW(RootOf(root).c_str(), nullptr, &total, nullptr))
        return std::nullopt;
    return static_cast<int64_t>(total.QuadPart);
}

std::optional<int64_t> Drives::FreeBytes(const std::string& root) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(RootOf(root).c_str(), &available, nullptr, nullptr))
        return std::nullopt;
    return static_cast<int64_t>(available.QuadPart);
}

void Drives::Reload() {
    // The system keeps the drive list; there is nothing to read again.
}

} // namespace brumo

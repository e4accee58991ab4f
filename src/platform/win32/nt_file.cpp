#include "platform/win32/nt_file.h"

#include "platform/win32/final_path.h"
#include "platform/win32/win_text.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace brumo {

namespace {
OsError LastError() {
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

UNICODE_STRING Counted(const std::wstring& text) {
    UNICODE_STRING s;
    s.Buffer = const_cast<wchar_t*>(text.c_str());
    s.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    s.MaximumLength = s.Length;
    return s;
}
} // namespace

NtFile& NtFile::operator=(NtFile&& other) noexcept {
    if (this != &other) {
        Reset(other.h_);
        other.h_ = nullptr;
    }
    return *this;
}

void NtFile::Reset(HANDLE h) {
    if (h_)
        CloseHandle(h_);
    h_ = h;
}

OsError NtFile::Error(LONG status) {
    const ULONG code = RtlNtStatusToDosError(status);
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

OsError NtFile::Open(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                     ULONG disposition, ULONG options, NtFile& out) {
    out.Reset();
    // A name longer than a counted string holds is no name of one folder entry.
    if (name.empty() || name.size() > 32767 || name.find_first_of(L"\\/") != std::wstring::npos)
        return OsError{ERROR_INVALID_NAME};
    UNICODE_STRING counted = Counted(name);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE h = nullptr;
    const NTSTATUS status =
        NtCreateFile(&h, access | SYNCHRONIZE | FILE_READ_ATTRIBUTES, &attributes, &io, nullptr,
                     FILE_ATTRIBUTE_NORMAL, share, disposition,
                     options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT |
                         FILE_OPEN_FOR_BACKUP_INTENT,
                     nullptr, 0);
    if (!NT_SUCCESS(status))
        return Error(status);
    out.Reset(h);
    return {};
}

OsError NtFile::OpenPath(const std::string& path, ACCESS_MASK access, NtFile& out) {
    out.Reset();
    const HANDLE h =
        CreateFileW(WinText::FilePath(path).c_str(), access | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    out.Reset(h);
    return {};
}

OsError NtFile::Identity(FileIdentity& out) const {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(h_, FileBasicInfo, &basic, sizeof basic))
        return LastError();
    out = FileIdentity{};
    out.attributes = basic.FileAttributes;
    FILE_ID_INFO id{};
    if (GetFileInformationByHandleEx(h_, FileIdInfo, &id, sizeof id)) {
        out.volume = id.VolumeSerialNumber;
        std::memcpy(&out.low, id.FileId.Identifier, sizeof out.low);
        std::memcpy(&out.high, id.FileId.Identifier + sizeof out.low, sizeof out.high);
    } else {
        // Systems before Windows 8 know only the 64-bit number.
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(h_, &info))
            return LastError();
        out.volume = info.dwVolumeSerialNumber;
        out.low = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    if (out.low == 0 && out.high == 0)
        return OsError{ERROR_NOT_SUPPORTED};
    return {};
}

OsError NtFile::LinkCount(uint32_t& out) const {
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(h_, FileStandardInfo, &standard, sizeof standard))
        return LastError();
    out = standard.NumberOfLinks;
    return {};
}

std::wstring NtFile::FinalName(bool upper) const {
    std::wstring name = FinalPath::Of(h_);
    if (upper)
        name = WinText::Upper(name);
    while (!name.empty() && name.back() == L'\\')
        name.pop_back();
    return name;
}

OsError NtFile::SetDisposition(bool remove) const {
    // Its one member carries a name that the A/W macros have renamed.
    FILE_DISPOSITION_INFO info{remove};
    if (!SetFileInformationByHandle(h_, FileDispositionInfo, &info, sizeof info))
        return LastError();
    return {};
}

OsError NtFile::SetAttributes(uint32_t attributes) const {
    // Zero would mean "leave as they are" to the file system; it is meant as "none".
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(h_, FileBasicInfo, &basic, sizeof basic))
        return LastError();
    return {};
}

OsError NtFile::Link(HANDLE folder, const std::wstring& name) const {
    return SetName(FileLinkInformation, folder, name);
}

OsError NtFile::Rename(HANDLE folder, const std::wstring& name) const {
    return SetName(FileRenameInformation, folder, name);
}

OsError NtFile::SetName(int infoClass, HANDLE folder, const std::wstring& name) const {
    // The link and rename records share one layout: flag, folder, length, name.
    static_assert(sizeof(FILE_LINK_INFORMATION) == sizeof(FILE_RENAME_INFORMATION));
    const size_t bytes = name.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFORMATION) + bytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = folder;
    info->FileNameLength = static_cast<ULONG>(bytes);
    std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFORMATION, FileName), name.data(), bytes);
    IO_STATUS_BLOCK io{};
    const NTSTATUS status = NtSetInformationFile(h_, &io, info, static_cast<ULONG>(buffer.size()),
                                                 static_cast<FILE_INFORMATION_CLASS>(infoClass));
    return NT_SUCCESS(status) ? OsError{} : Error(status);
}

} // namespace brumo

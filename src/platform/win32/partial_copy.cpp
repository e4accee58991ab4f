#include "platform/win32/partial_copy.h"

#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/holding_folder.h"
#include "platform/locale_info.h"
#include "platform/temp_name.h"
#include "platform/win32/process_state.h"
#include "platform/win32/win_text.h"

#include <atomic>
#include <string_view>
#include <vector>

namespace brumo {

namespace {

constexpr char kMark = '.';

OsError LastError() {
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

// Whether a path is "X:\HDVal$$$.$$$": a drive's holding folder, and, as the original path a
// folder of it stands for, the folder within it where copies are written.
bool IsCopiesFolder(std::string_view original) {
    return original.size() == 3 + std::string_view(HoldingFolder::Name).size() &&
           original[1] == ':' && original[2] == '\\' &&
           LocaleInfo::EqualIgnoreCase(original.substr(3), HoldingFolder::Name);
}

OsError CopyBytes(const NtFile& source, const NtFile& copy) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                      nullptr))
            return LastError();
        if (got == 0)
            return {};
        DWORD put = 0;
        if (!WriteFile(copy.Get(), buffer.data(), got, &put, nullptr))
            return LastError();
        if (put != got)
            return OsError{ERROR_DISK_FULL};
    }
}

// A maker of 0 is none that can be asked, so its copy stays.
bool HasEnded(uint32_t maker) {
    return maker != 0 && ProcessState::HasEnded(maker);
}

} // namespace

std::string PartialCopy::FolderFor(const std::string& to) {
    const size_t end = 3 + std::string_view(HoldingFolder::Name).size();
    if (to.size() <= end || to[end] != '\\' || !IsCopiesFolder(std::string_view(to).substr(0, end)))
        return {};
    return to.substr(0, end) + "\\" + HoldingFolder::Name;
}

bool PartialCopy::IsCopy(const std::string& originalPath) {
    const size_t cut = originalPath.rfind('\\');
    return cut != std::string::npos &&
           IsCopiesFolder(std::string_view(originalPath).substr(0, cut)) &&
           TempName::MakerOf(std::string_view(originalPath).substr(cut + 1), kMark) != 0;
}

OsError PartialCopy::Write(const NtFile& source, const HeldFolder& copies,
                           const std::string& finalName, NtFile& copy) {
    static std::atomic<uint32_t> counter{0};
    OsError e;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            TempName::Make(finalName, kMark, GetCurrentProcessId(), counter.fetch_add(1));
        e = NtFile::Open(copies.Handle(), WinText::Wide(name), FILE_GENERIC_WRITE | DELETE, 0,
                         FILE_CREATE, FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY, copy);
        if (e.code != ERROR_FILE_EXISTS && e.code != ERROR_ALREADY_EXISTS)
            break;
    }
    if (e)
        return e;
    FILE_BASIC_INFO times{};
    e = CopyBytes(source, copy);
    if (!e && !GetFileInformationByHandleEx(source.Get(), FileBasicInfo, &times, sizeof times))
        e = LastError();
    if (!e) {
        // Zero attributes and change time leave those as they are.
        times.FileAttributes = 0;
        times.ChangeTime.QuadPart = 0;
        if (!SetFileInformationByHandle(copy.Get(), FileBasicInfo, &times, sizeof times) ||
            !FlushFileBuffers(copy.Get()))
            e = LastError();
    }
    if (e) {
        (void)copy.SetDisposition(true);
        copy.Reset();
    }
    return e;
}

void PartialCopy::Sweep(const std::string& folder, const std::string& original,
                        const std::vector<FindEntry>& entries) {
    if (!IsCopiesFolder(original))
        return;
    for (const FindEntry& entry : entries)
        if (!(entry.attributes & FileAttributes::Directory) &&
            HasEnded(TempName::MakerOf(entry.name, kMark)))
            FileSystem::DeleteFile(folder + "\\" + entry.name);
}

} // namespace brumo

#include "platform/recycle_bin.h"

#include "platform/file_system.h"
#include "platform/os_error.h"
#include "platform/win32/held_folder.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shellapi.h>

#include <map>
#include <utility>

namespace brumo {

namespace {
// Allow undo, no confirmation, no error dialog.
constexpr FILEOP_FLAGS kRecycleFlags = 0x450;

// The shell operation answers with its own codes, most of which mean something else in the
// system message table; these are the ones it documents.
const char* ShellOperationText(int code) {
    switch (code) {
    case 0x71:
        return "The source and destination files are the same file";
    case 0x72:
        return "Several source files were given with one destination file";
    case 0x73:
        return "The destination of a rename is a different folder";
    case 0x74:
        return "The source is a root folder, which cannot be moved or renamed";
    case 0x75:
        return "The operation was cancelled";
    case 0x76:
        return "The destination is a subfolder of the source";
    case 0x78:
        return "Security settings denied access to the source";
    case 0x79:
        return "The source or destination path is too long";
    case 0x7A:
        return "The operation named several destination paths";
    case 0x7C:
        return "The path in the source or destination or both was invalid";
    case 0x7D:
        return "The source and destination have the same parent folder";
    case 0x7E:
        return "The destination path is an existing file";
    case 0x80:
        return "The destination path is an existing folder";
    case 0x81:
        return "The name of the file is too long";
    case 0x82:
        return "The destination is a read-only CD-ROM";
    case 0x83:
        return "The destination is a read-only DVD";
    case 0x84:
        return "The destination is a writable CD that is not formatted";
    case 0x85:
        return "The file is too large for the destination";
    case 0x86:
        return "The source is a read-only CD-ROM";
    case 0x87:
        return "The source is a read-only DVD";
    case 0x88:
        return "The source is a writable CD that is not formatted";
    case 0xB7:
        return "The path became too long during the operation";
    case 0x402:
        return "An unknown error occurred; the path may not exist";
    case 0x10000:
        return "An unspecified error occurred on the destination";
    default:
        return nullptr;
    }
}
} // namespace

int RecycleBin::SendFiles(const std::vector<std::string>& paths) {
    // The shell acts by path. Every file's folders are held from the drive's root down, once
    // per folder, and the file itself is looked at there; a file refused ends the list, and
    // those before it still go.
    struct Seen {
        const HeldFolder* folder = nullptr; // none: no drive path, left to the system
        std::string name;
        FileIdentity identity;
    };
    std::map<std::string, HeldFolder> folders;
    std::vector<Seen> seen;
    int refused = 0;
    for (const std::string& path : paths) {
        Seen file;
        std::string folderPath;
        if (HeldFolder::Split(path, folderPath, file.name)) {
            auto held = folders.find(folderPath);
            if (held == folders.end()) {
                HeldFolder folder;
                if (const OsError e = HeldFolder::Open(folderPath, folder)) {
                    refused = e.code;
                    break;
                }
                held = folders.emplace(folderPath, std::move(folder)).first;
            }
            NtFile entry;
            if (const OsError e = held->second.OpenEntry(file.name, 0, entry, file.identity)) {
                refused = e.code;
                break;
            }
            file.folder = &held->second;
        }
        seen.push_back(std::move(file));
    }
    // Right before the shell looks them up by name: each name, in its held folder and as a
    // path, must still be the file seen.
    size_t sendable = 0;
    for (; sendable < seen.size(); ++sendable) {
        const Seen& file = seen[sendable];
        if (file.folder && (!file.folder->Names(file.name, file.identity) ||
                            HeldFolder::Reaches(paths[sendable], file.identity))) {
            refused = HeldFolder::LinkOnTheWay();
            break;
        }
    }
    if (sendable == 0)
        return refused;

    // The list the shell takes: every path ends in a zero, the list in a second one.
    std::wstring list;
    for (size_t i = 0; i < sendable; ++i) {
        list += WinText::Wide(paths[i]);
        list += L'\0';
    }
    list += L'\0';

    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = kRecycleFlags;
    int result = SHFileOperationW(&op);
    if (result == 0 && op.fAnyOperationsAborted)
        result = ERROR_CANCELLED;
    if (SUCCEEDED(com))
        CoUninitialize();
    return result != 0 ? result : refused;
}

std::vector<RecycleResult> RecycleBin::SendEach(const std::vector<std::string>& paths) {
    // The shell operation reports one code for the whole list, so each file is looked for
    // before and after it. A file missing before never reached the Recycle Bin. A file still
    // there after failed only if the operation began with it: one that began earlier may
    // have stopped before reaching it, so it gets an operation of its own.
    std::vector<RecycleResult> results(paths.size());
    std::vector<size_t> present;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (FileSystem::FileExists(paths[i]))
            present.push_back(i);
        else
            results[i].code = OsError::NotFound();
    }
    size_t start = 0;
    while (start < present.size()) {
        std::vector<std::string> rest;
        for (size_t k = start; k < present.size(); ++k)
            rest.push_back(paths[present[k]]);
        const int code = SendFiles(rest);
        size_t k = start;
        while (k < present.size() && !FileSystem::FileExists(paths[present[k]]))
            ++k;
        if (k == start) {
            // A success that left the file behind is no success for that file.
            results[present[k]].code = code != 0 ? code : ERROR_ACCESS_DENIED;
            ++k;
        }
        start = k;
    }
    return results;
}

std::string RecycleBin::ErrorText(int code) {
    if (const char* text = ShellOperationText(code))
        return text;
    return OsError::MessageFor(code);
}

} // namespace brumo

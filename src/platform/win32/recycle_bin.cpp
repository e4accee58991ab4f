#include "platform/recycle_bin.h"

#include "platform/file_system.h"
#include "platform/os_error.h"
#include "platform/win32/held_folder.h"
#include "platform/win32/recycle_keeper.h"
#include "platform/win32/volume_recycle_bin.h"
#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shellapi.h>

#include <map>
#include <optional>
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

// One file on its way, held as seen: its folders from the drive's root down, and the second
// name that tells its fate.
struct Pending {
    size_t index = 0;
    const HeldFolder* folder = nullptr;
    std::string name;
    FileIdentity identity;
    RecycleKeeper keeper;
};

// Right before the shell looks the file up by name: the name, in its held folder and as a
// path, must still be the file seen.
int Unchanged(const Pending& file, const std::string& path) {
    if (!file.folder->Names(file.name, file.identity))
        return OsError::NotFound();
    return HeldFolder::Reaches(path, file.identity).code;
}

int RunShell(const std::vector<std::string>& paths) {
    // The list the shell takes: every path ends in a zero, the list in a second one.
    std::wstring list;
    for (const std::string& path : paths) {
        list += WinText::Wide(path);
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
    return result;
}

std::optional<int64_t> ItemsInRecycleBin(const std::string& path) {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(WinText::Wide(path.substr(0, 3)).c_str(), &info)))
        return std::nullopt;
    return info.i64NumItems;
}
} // namespace

int RecycleBin::SendFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (const int code = SendEach({path}).front().code)
            return code;
    return 0;
}

std::vector<RecycleResult> RecycleBin::SendEach(const std::vector<std::string>& paths) {
    // Windows deletes for good, without a word, what its Recycle Bin cannot take, so what
    // stands in the way is looked at first, and each file's fate is read afterwards through
    // its second name. The shell acts by path: every file's folders are held from the drive's
    // root down, once per folder.
    std::vector<RecycleResult> results(paths.size());
    std::map<std::string, HeldFolder> folders;
    std::vector<Pending> kept, alone;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::optional<int64_t> size = FileSystem::FileSize(paths[i]);
        Pending file;
        file.index = i;
        std::string folderPath;
        int& code = results[i].code;
        if (!size || !HeldFolder::Split(paths[i], folderPath, file.name)) {
            code = OsError::NotFound();
            continue;
        }
        if ((code = VolumeRecycleBin::Refusal(paths[i], *size)))
            continue;
        auto held = folders.find(folderPath);
        if (held == folders.end()) {
            HeldFolder folder;
            if ((code = HeldFolder::Open(folderPath, folder).code))
                continue;
            held = folders.emplace(folderPath, std::move(folder)).first;
            RecycleKeeper::SweepStale(held->second, folderPath);
        }
        // Deleting access: a file another program keeps from being deleted could neither go
        // nor lose its second name.
        NtFile entry;
        if ((code = held->second
                        .OpenEntry(file.name, DELETE | FILE_WRITE_ATTRIBUTES, entry, file.identity)
                        .code))
            continue;
        file.folder = &held->second;
        const bool keepable = !file.keeper.Make(held->second, entry, file.identity);
        (keepable ? kept : alone).push_back(std::move(file));
    }

    // The shell reports one code for a whole list: a file still there failed only if the
    // operation began with it; those after it get an operation of their own.
    std::vector<bool> done(kept.size());
    for (size_t start = 0; start < kept.size(); ++start) {
        if (done[start])
            continue;
        std::vector<size_t> sent;
        std::vector<std::string> list;
        for (size_t k = start; k < kept.size(); ++k) {
            if (done[k])
                continue;
            if (const int changed = Unchanged(kept[k], paths[kept[k].index])) {
                if (k == start) {
                    results[kept[k].index].code = changed;
                    kept[k].keeper.Drop(*kept[k].folder);
                    done[k] = true;
                }
                break;
            }
            sent.push_back(k);
            list.push_back(paths[kept[k].index]);
        }
        if (sent.empty())
            continue;
        const int code = RunShell(list);
        for (const size_t k : sent) {
            Pending& file = kept[k];
            if (!file.folder->Names(file.name, file.identity)) {
                results[file.index].code = file.keeper.Settle(*file.folder, file.name);
                done[k] = true;
            }
        }
        if (!done[start]) {
            // A success that left the file behind is no success for that file.
            results[kept[start].index].code = code != 0 ? code : ERROR_ACCESS_DENIED;
            kept[start].keeper.Drop(*kept[start].folder);
            done[start] = true;
        }
    }

    // Without a second name only the Recycle Bin's count of items can tell, one file at a time.
    for (Pending& file : alone) {
        const std::string& path = paths[file.index];
        int& code = results[file.index].code;
        if ((code = Unchanged(file, path)))
            continue;
        const std::optional<int64_t> before = ItemsInRecycleBin(path);
        code = RunShell({path});
        if (file.folder->Names(file.name, file.identity)) {
            code = code != 0 ? code : ERROR_ACCESS_DENIED;
            continue;
        }
        const std::optional<int64_t> after = ItemsInRecycleBin(path);
        code = before && after && *after > *before ? 0 : VolumeRecycleBin::GoneNotInBin;
    }
    return results;
}

std::string RecycleBin::ErrorText(int code) {
    if (const char* text = VolumeRecycleBin::Text(code))
        return text;
    if (const char* text = ShellOperationText(code))
        return text;
    return OsError::MessageFor(code);
}

} // namespace brumo

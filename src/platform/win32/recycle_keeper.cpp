#include "platform/win32/recycle_keeper.h"

#include "platform/win32/process_state.h"
#include "platform/win32/volume_recycle_bin.h"
#include "platform/win32/win_text.h"

#include <atomic>
#include <string_view>

namespace brumo {

namespace {

constexpr char kPrefix[] = "~brumo-kept-";

// The maker of a second name "~brumo-kept-<process>-<n>"; 0 for any other name.
DWORD MakerOf(const std::string& name) {
    const std::string_view prefix = kPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const std::string tail = name.substr(prefix.size());
    const size_t dash = tail.find('-');
    if (dash == 0 || dash > 10 || dash + 1 == tail.size() ||
        tail.find_first_not_of("0123456789", dash + 1) != std::string::npos ||
        tail.find_first_not_of("0123456789") != dash)
        return 0;
    return static_cast<DWORD>(std::stoull(tail.substr(0, dash)));
}

} // namespace

void RecycleKeeper::SweepStale(const HeldFolder& folder, const std::string& folderPath) {
    // The search gives names only: each is opened in the held folder, as itself.
    WIN32_FIND_DATAW data;
    std::string pattern = folderPath;
    if (pattern.back() != '\\')
        pattern += '\\';
    HANDLE find = FindFirstFileW(WinText::FilePath(pattern + kPrefix + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = WinText::Utf8(data.cFileName);
        const DWORD maker = MakerOf(name);
        if (!maker || !ProcessState::HasEnded(maker))
            continue;
        NtFile kept;
        FileIdentity identity;
        uint32_t links = 0;
        if (!folder.OpenEntry(name, DELETE, kept, identity) && !kept.LinkCount(links) && links > 1)
            (void)kept.SetDisposition(true);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

OsError RecycleKeeper::Make(const HeldFolder& folder, const NtFile& file,
                            const FileIdentity& identity) {
    static std::atomic<unsigned> serial{0};
    OsError e;
    for (int attempt = 0; attempt < 8; ++attempt) {
        name_ = kPrefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++);
        e = file.Link(folder.Handle(), WinText::Wide(name_));
        if (e.code != ERROR_ALREADY_EXISTS)
            break;
    }
    if (!e) {
        // Wine links by path: the new name must be this file's.
        NtFile kept;
        FileIdentity found;
        if (!folder.OpenEntry(name_, 0, kept, found) && found.SameFile(identity))
            e = kept.LinkCount(links_);
        else
            e.code = HeldFolder::LinkOnTheWay();
        if (e)
            Drop(folder);
    }
    if (e)
        name_.clear();
    identity_ = identity;
    return e;
}

int RecycleKeeper::Settle(const HeldFolder& folder, const std::string& name) {
    NtFile kept;
    FileIdentity found;
    uint32_t links = 0;
    if (name_.empty() || folder.OpenEntry(name_, DELETE, kept, found) ||
        !found.SameFile(identity_) || kept.LinkCount(links))
        return VolumeRecycleBin::GoneNotInBin;
    if (links >= links_) {
        // Still as many names: the file's own one went to the Recycle Bin.
        (void)kept.SetDisposition(true);
        name_.clear();
        return 0;
    }
    if (kept.Rename(folder.Handle(), WinText::Wide(name))) {
        name_.clear();
        return VolumeRecycleBin::NotTakenKeptAside;
    }
    name_.clear();
    return VolumeRecycleBin::NotTaken;
}

void RecycleKeeper::Drop(const HeldFolder& folder) {
    NtFile kept;
    FileIdentity found;
    if (!name_.empty() && !folder.OpenEntry(name_, DELETE, kept, found) &&
        found.SameFile(identity_))
        (void)kept.SetDisposition(true);
    name_.clear();
}

} // namespace brumo

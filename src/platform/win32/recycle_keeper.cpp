#include "platform/win32/recycle_keeper.h"

#include "platform/win32/volume_recycle_bin.h"
#include "platform/win32/win_text.h"

#include <atomic>

namespace brumo {

OsError RecycleKeeper::Make(const HeldFolder& folder, const NtFile& file,
                            const FileIdentity& identity) {
    static std::atomic<unsigned> serial{0};
    OsError e;
    for (int attempt = 0; attempt < 8; ++attempt) {
        name_ =
            "~brumo-kept-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++);
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

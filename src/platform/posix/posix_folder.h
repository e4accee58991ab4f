#pragma once

#include "platform/folder.h"
#include "platform/posix/dir_handle.h"
#include "platform/posix/dir_listing.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/unique_fd.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace brumo {

// A host folder read once through its descriptor. Searches match names in memory and ask the
// system about matching entries only, relative to the folder's descriptor.
class PosixFolder final : public Folder {
public:
    // Reads the listing of an open folder. Null (errno set) when it cannot be read.
    static std::unique_ptr<PosixFolder> Create(std::shared_ptr<DirHandle> handle, std::string path,
                                               std::string hostPath,
                                               std::shared_ptr<const MountTable> mounts);

    std::unique_ptr<Folder> OpenSub(const std::string& name,
                                    OsError* unreadable = nullptr) const override;
    const std::string& Path() const override { return path_; }
    const std::string& HostPath() const { return hostPath_; }
    std::optional<FolderIdentity> Identity() const override;
    bool IsVolumeTop() const override;
    // A descriptor of its own on this folder, to be read apart from this one's; invalid (errno
    // set) when the folder cannot be opened again.
    UniqueFd OpenAgain() const;
    using Folder::Find;
    void Find(std::string_view pattern, std::vector<FindEntry>& out,
              const std::function<bool()>& stopped) override;
    void Subfolders(std::vector<FindEntry>& out, bool withAttributes) override;
    void FindUnspellable(std::string_view pattern, std::vector<FindEntry>& out) override;

    // Status calls made for entries, all folders together (tests check that a search asks
    // only about the entries it matches).
    static uint64_t StatCalls() { return statCalls_.load(std::memory_order_relaxed); }
    static int StatAt(int fd, const char* name, struct stat& st, int flags);

private:
    PosixFolder() = default;
    std::unique_ptr<Folder> OpenSubFolder(const std::string& name) const;
    bool IsMountRoot(std::string_view name) const;
    // The entry as the directory search reports it; false when it vanished meanwhile or is
    // no file, folder or link (a FIFO, socket or device node).
    bool Describe(int fd, size_t index, bool withDosAttributes, FindEntry& entry) const;

    std::shared_ptr<DirHandle> handle_;
    std::string path_;
    std::string hostPath_;
    std::shared_ptr<const MountTable> mounts_;
    DirListing listing_;
    bool mountsInside_ = false;

    static std::atomic<uint64_t> statCalls_;
};

} // namespace brumo

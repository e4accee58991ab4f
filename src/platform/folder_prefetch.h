#pragma once

#include "platform/folder.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// Reads ahead of a depth-first walk the folders it will reach next, on threads of its own, so
// that their listings wait in the system's caches when the walk gets there. It only reads:
// the walk alone decides and reports everything, in its own order. The environment variable
// BRUMO_PREFETCH set to 0 turns it off; set to 1 it reads ahead from the start of every walk,
// where otherwise it starts only once listings are seen to wait on the disk.
class FolderPrefetch {
public:
    virtual ~FolderPrefetch() = default;

    // Null where reading ahead cannot help or is turned off.
    static std::unique_ptr<FolderPrefetch> Create();

    // Folders the walks never enter, by identity: never read ahead, nor anything below them.
    // Given before the first walk begins.
    virtual void SkipFolders(std::vector<FolderIdentity> folders) = 0;
    // A walk of the tree below `root` begins, its subfolders taken in listing order. In every
    // folder it looks up the entries whose names match `patterns` (as Folder::Find matches).
    virtual void Begin(const Folder& root, const std::vector<std::string>& patterns) = 0;
    // The walk has opened the folder at `relative`: "" for the root, "\a\b" below it, names
    // separated by backslashes. `readTime` is how long opening and listing it took.
    virtual void Reached(std::string_view relative, std::chrono::nanoseconds readTime) = 0;
    // The walk of that root has ended or was stopped: nothing more is read for it.
    virtual void End() = 0;
};

} // namespace brumo

#pragma once

#include "engine/restrictions.h"
#include "engine/search_counts.h"
#include "engine/walk_limits.h"
#include "engine/worker_progress.h"
#include "model/junk_file_type.h"
#include "platform/find_entry.h"
#include "platform/folder.h"
#include "platform/folder_prefetch.h"
#include "platform/os_error.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace brumo {

class NamedEvent;

// Walks the folders of one junk file type depth-first and hands every accepted file on.
// Runs on one thread; the type must not change meanwhile.
class FolderWalker {
public:
    using FileSink = std::function<void(const std::string& path, int64_t size)>;
    // A folder that is there but could not be listed (path without a trailing backslash).
    using UnreadableSink = std::function<void(const std::string& folder, const OsError& error)>;
    // A folder holding names the search had to skip, since a Windows path cannot spell them:
    // those names.
    using SkippedSink =
        std::function<void(const std::string& folder, const std::vector<std::string>& names)>;

    struct Options {
        const NamedEvent* stopEvent = nullptr; // tested once per directory entry
        // Never searched, nor anything below them (the program's folders); the user's trash
        // and data folder and the system's own folders are always left out.
        std::vector<std::string> excludedFolders;
        FileSink onFile;                    // optional
        UnreadableSink onUnreadable;        // optional
        SkippedSink onSkipped;              // optional
        WorkerProgress* progress = nullptr; // optional
    };

    FolderWalker(const TJunkFileObj& type, Options options);

    // Searches every entry of the working list, in order.
    void SearchAll();
    // Searches one folder (no trailing backslash; a drive root is "C:") as the mode says.
    void SearchFolder(const std::string& folder, int32_t mode);
    // Searches the files of one open folder against the type's specifications.
    void SearchFolderFiles(Folder& folder, std::string_view path);

    bool Stopped() const { return stopped_; }
    const SearchCounts& Counts() const { return counts_; }

    // The type's folders with one trailing backslash removed, or every local drive when the
    // list is empty or holds only the all-drives entry.
    static std::vector<FolderEntry> WorkingList(const TJunkFileObj& type);
    // Folders never entered at a drive root, whatever the entry that led there.
    static bool SkipAtDriveRoot(const FindEntry& sub);
    // The names SkipAtDriveRoot may skip, whatever the attributes.
    static bool IsTopOnlyName(const std::string& name);
    // ".Trash" and ".Trash-<uid>": skipped at the top of every volume, not only at a root.
    static bool IsTrashFolderName(const std::string& name);

private:
    bool StopRequested();
    // Whether a folder is an excluded one or lies below one, through any spelling of its names.
    bool IsExcluded(std::string_view folder) const;
    void Unreadable(const std::string& folder, const OsError& error);
    // The folder's names the search could not spell among those it would have taken: files
    // matching a specification where its files are searched, folders where its subfolders are.
    void CountUnspellable(Folder& folder, const std::string& path, bool files, bool subfolders);
    // Whether a subfolder of a folder at the top of a drive or volume is one never entered there.
    bool SkipAtTop(Folder& folder, const FindEntry& sub, bool attributesRead);
    void Walk(Folder* folder, std::string& path, int32_t mode, size_t depth,
              std::chrono::nanoseconds readTime, const std::optional<FolderIdentity>& id);

    const TJunkFileObj& type_;
    Options options_;
    // The excluded folders as their volumes know them: no other spelling reaches them.
    WalkLimits limits_;
    Restrictions restrictions_;
    std::vector<bool> specHasNoExtension_;
    // Reads the next folders ahead of the walk where that helps; told where the walk is by the
    // paths below the walk's root, which are the walk's paths from `prefetchFrom_` on.
    std::unique_ptr<FolderPrefetch> prefetch_;
    size_t prefetchFrom_ = std::string::npos;
    SearchCounts counts_;
    bool stopped_ = false;
    // The folder entry being searched, and its long form where it is spelled with 8.3 names.
    std::string entry_;
    std::string entryLongForm_;
    // Reused across folders so that the walk allocates little.
    std::vector<FindEntry> found_;
    std::deque<std::vector<FindEntry>> subfoldersByDepth_; // stable under growth
    // Names already taken in the folder, by the entry itself: a folder holds each name once,
    // and where names differ only in case they are different files. Hashed, since a folder's
    // names come sorted, the worst order for a search tree.
    std::unordered_set<std::string> taken_;
};

} // namespace brumo

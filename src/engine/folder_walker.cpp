#include "engine/folder_walker.h"

#include "engine/folder_entry_path.h"
#include "engine/local_drives.h"
#include "engine/name_match.h"
#include "engine/protection.h"
#include "platform/file_attributes.h"
#include "platform/folder.h"
#include "platform/locale_info.h"
#include "platform/named_event.h"
#include "platform/special_folders.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace brumo {

namespace {

using Clock = std::chrono::steady_clock;

std::string WithoutTrailingBackslash(std::string text) {
    if (!text.empty() && text.back() == '\\')
        text.pop_back();
    return text;
}

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

FolderWalker::FolderWalker(const TJunkFileObj& type, Options options)
    : type_(type), options_(std::move(options)), restrictions_(type),
      prefetch_(FolderPrefetch::Create()) {
    // The user's trash is never searched, whoever starts the walk.
    options_.excludedFolders.push_back(SpecialFolders::HomeTrashFolder());
    std::vector<std::string> excluded;
    for (std::string& folder : options_.excludedFolders) {
        folder = WithoutTrailingBackslash(std::move(folder));
        if (!folder.empty())
            excluded.push_back(std::move(folder));
    }
    options_.excludedFolders = std::move(excluded);
    // Only their identity is wanted: the home trash may hold a great many entries.
    for (const std::string& folder : options_.excludedFolders)
        if (const std::optional<FolderIdentity> id = Folder::IdentityOf(folder))
            excludedIds_.push_back(*id);
    specHasNoExtension_.reserve(type.Specs.size());
    for (const std::string& spec : type.Specs)
        specHasNoExtension_.push_back(NameMatch::HasNoExtension(spec));
}

std::vector<FolderEntry> FolderWalker::WorkingList(const TJunkFileObj& type) {
    std::vector<FolderEntry> list;
    if (type.Folders.empty() ||
        (type.Folders.size() == 1 && LocalDrives::IsAllDrivesEntry(type.Folders[0].path))) {
        // The letters written in an all-drives entry are not used: the drives are read now.
        const std::string drives = LocalDrives::LocalDriveList(":", "\r\n");
        size_t start = 0;
        while (start < drives.size()) {
            size_t end = drives.find("\r\n", start);
            if (end == std::string::npos)
                end = drives.size();
            list.push_back({drives.substr(start, end - start), FolderAndSubfolders});
            start = end + 2;
        }
        return list;
    }
    for (const FolderEntry& entry : type.Folders)
        if (std::optional<std::string> path = FolderEntryPath::Resolve(entry.path))
            list.push_back({std::move(*path), entry.mode});
    return list;
}

bool FolderWalker::SkipAtDriveRoot(const FindEntry& sub) {
    const std::string& name = sub.name;
    if (LocaleInfo::EqualIgnoreCase(name, "HDVAL$$$.$$$"))
        return true;
    constexpr uint32_t hiddenSystem = FileAttributes::Hidden | FileAttributes::System;
    if ((sub.attributes & hiddenSystem) == hiddenSystem &&
        (LocaleInfo::EqualIgnoreCase(name, "RECYCLED") ||
         LocaleInfo::EqualIgnoreCase(name, "RECYCLER") ||
         LocaleInfo::EqualIgnoreCase(name, "$RECYCLE.BIN")))
        return true;
    return IsTrashFolderName(name);
}

bool FolderWalker::IsTrashFolderName(const std::string& name) {
    // The freedesktop.org trash of a volume: ".Trash" (one folder per user inside) and
    // ".Trash-<uid>" of any user.
    if (LocaleInfo::EqualIgnoreCase(name, ".Trash"))
        return true;
    constexpr std::string_view trashPrefix = ".Trash-";
    return name.size() > trashPrefix.size() &&
           LocaleInfo::EqualIgnoreCase(std::string_view(name).substr(0, trashPrefix.size()),
                                       trashPrefix) &&
           IsDigits(std::string_view(name).substr(trashPrefix.size()));
}

bool FolderWalker::StopRequested() {
    if (!stopped_ && options_.stopEvent && options_.stopEvent->IsSet())
        stopped_ = true;
    return stopped_;
}

bool FolderWalker::IsExcluded(std::string_view folder) const {
    for (const std::string& excluded : options_.excludedFolders)
        if (LocaleInfo::EqualIgnoreCase(folder, excluded))
            return true;
    return false;
}

bool FolderWalker::IsExcluded(const Folder& folder) const {
    if (excludedIds_.empty())
        return false;
    const std::optional<FolderIdentity> id = folder.Identity();
    return id && std::find(excludedIds_.begin(), excludedIds_.end(), *id) != excludedIds_.end();
}

void FolderWalker::SearchAll() {
    for (const FolderEntry& entry : WorkingList(type_)) {
        if (StopRequested())
            return;
        SearchFolder(entry.path, entry.mode);
    }
}

void FolderWalker::SearchFolder(const std::string& folder, int32_t mode) {
    if (IsExcluded(folder))
        return;
    // A missing folder still counts as searched. Where the platform spells folders as they
    // are on disk, one file is always reported with one path.
    OsError unreadable;
    const Clock::time_point start = Clock::now();
    std::unique_ptr<Folder> open = Folder::Open(folder, &unreadable);
    const Clock::duration readTime = Clock::now() - start;
    if (open && IsExcluded(*open))
        return;
    std::string path = open && Folder::SpellsAsOnDisk() ? open->Path() : folder;
    if (unreadable)
        Unreadable(path, unreadable);
    if (!prefetch_ || !open || mode == FolderOnly) {
        Walk(open.get(), path, mode, 0, readTime);
        return;
    }
    // Stops reading ahead however the walk ends.
    struct Prefetching {
        FolderWalker& walker;
        ~Prefetching() {
            walker.prefetch_->End();
            walker.prefetchFrom_ = std::string::npos;
        }
    } prefetching{*this};
    prefetch_->Begin(*open, type_.Specs);
    prefetchFrom_ = path.size();
    Walk(open.get(), path, mode, 0, readTime);
}

void FolderWalker::Unreadable(const std::string& folder, const OsError& error) {
    ++counts_.foldersUnreadable;
    if (options_.onUnreadable)
        options_.onUnreadable(folder, error);
}

void FolderWalker::Walk(Folder* folder, std::string& path, int32_t mode, size_t depth,
                        std::chrono::nanoseconds readTime) {
    const bool prefetching = prefetchFrom_ != std::string::npos;
    if (folder && prefetching)
        prefetch_->Reached(std::string_view(path).substr(prefetchFrom_), readTime);
    if (mode != SubfoldersOnly) {
        if (folder)
            SearchFolderFiles(*folder, path);
        ++counts_.foldersSearched;
        if (options_.progress)
            options_.progress->foldersSearched.store(counts_.foldersSearched,
                                                     std::memory_order_relaxed);
    }
    if (mode == FolderOnly || !folder || stopped_)
        return;

    const bool driveRoot = path.size() == 2;
    if (subfoldersByDepth_.size() <= depth)
        subfoldersByDepth_.resize(depth + 1);
    std::vector<FindEntry>& subs = subfoldersByDepth_[depth];
    subs.clear();
    // Hidden and system attributes matter only for the Recycle Bin folders at a root.
    folder->Subfolders(subs, driveRoot);
    const size_t base = path.size();
    for (const FindEntry& sub : subs) {
        if (StopRequested())
            break;
        if (!(sub.attributes & FileAttributes::Directory))
            continue;
        if (sub.name == "." || sub.name == "..")
            continue;
        // Links and mount points lead outside the tree (or round in a loop).
        if (sub.attributes & FileAttributes::ReparsePoint)
            continue;
        if (driveRoot && SkipAtDriveRoot(sub))
            continue;
        // A folder entry may be the top of a mounted file system, with its own trash.
        if (!driveRoot && IsTrashFolderName(sub.name) && folder->IsVolumeTop())
            continue;
        path.append(1, '\\').append(sub.name);
        if (!IsExcluded(path)) {
            OsError unreadable;
            const Clock::time_point start = prefetching ? Clock::now() : Clock::time_point();
            std::unique_ptr<Folder> child = folder->OpenSub(sub.name, &unreadable);
            const Clock::duration readTime = prefetching ? Clock::now() - start : Clock::duration();
            if (unreadable)
                Unreadable(path, unreadable);
            if (!child || !IsExcluded(*child))
                Walk(child.get(), path, FolderAndSubfolders, depth + 1, readTime);
        }
        path.resize(base);
    }
    subs.clear();
}

void FolderWalker::SearchFolderFiles(Folder& folder, std::string_view path) {
    taken_.clear();
    std::string filePath;
    for (size_t i = 0; i < type_.Specs.size() && !stopped_; ++i) {
        found_.clear();
        folder.Find(type_.Specs[i], found_, [this] { return StopRequested(); });
        for (const FindEntry& entry : found_) {
            if (StopRequested())
                break;
            if (entry.attributes & FileAttributes::Directory)
                continue;
            // "*", "*." and plain names select only files without an extension.
            if (specHasNoExtension_[i] && !NameMatch::HasNoExtension(entry.name))
                continue;
            if (!taken_.insert(entry.name).second)
                continue;
            ++counts_.filesMatched;
            if (restrictions_.Any() && !restrictions_.Passes(entry)) {
                ++counts_.filesRestricted;
                continue;
            }
            if (!type_.Protects.empty() &&
                Protection::IsProtectedBy(type_.Protects, path, entry.name, entry.shortName)) {
                ++counts_.filesProtected;
                continue;
            }
            counts_.bytesMatched += entry.size;
            if (options_.onFile) {
                filePath.assign(path).append(1, '\\').append(entry.name);
                options_.onFile(filePath, entry.size);
            }
        }
    }
    found_.clear();
    taken_.clear();
    if (options_.progress)
        options_.progress->filesMatched.store(counts_.filesMatched, std::memory_order_relaxed);
}

} // namespace brumo

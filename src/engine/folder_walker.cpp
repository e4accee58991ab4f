#include "engine/folder_walker.h"

#include "engine/folder_entry_path.h"
#include "engine/local_drives.h"
#include "engine/name_match.h"
#include "engine/protection.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/locale_info.h"
#include "platform/named_event.h"
#include "platform/special_folders.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>

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

// A path whose names may be 8.3 ones in the long form the walk's own names have.
std::string LongForm(std::string path) {
    return path.find('~') == std::string::npos ? path : FileSystem::LongPathName(path);
}

// The given folders without a trailing backslash, with those no walk ever enters: the user's
// trash, and the data folder, which may hold files held from a drive whose root is not ours.
std::vector<std::string>& AlwaysExcluded(std::vector<std::string>& folders) {
    folders.push_back(SpecialFolders::HomeTrashFolder());
    folders.push_back(SpecialFolders::UserDataFolder());
    std::vector<std::string> kept;
    for (std::string& folder : folders) {
        folder = WithoutTrailingBackslash(LongForm(std::move(folder)));
        if (!folder.empty())
            kept.push_back(std::move(folder));
    }
    folders = std::move(kept);
    return folders;
}

bool IsRecycleBinName(std::string_view name) {
    return LocaleInfo::EqualIgnoreCase(name, "RECYCLED") ||
           LocaleInfo::EqualIgnoreCase(name, "RECYCLER") ||
           LocaleInfo::EqualIgnoreCase(name, "$RECYCLE.BIN");
}

} // namespace

FolderWalker::FolderWalker(const TJunkFileObj& type, Options options)
    : type_(type), options_(std::move(options)), limits_(AlwaysExcluded(options_.excludedFolders)),
      restrictions_(type), prefetch_(FolderPrefetch::Create()) {
    if (prefetch_)
        prefetch_->SkipFolders(limits_.NeverEntered());
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
    if ((sub.attributes & hiddenSystem) == hiddenSystem && IsRecycleBinName(name))
        return true;
    return IsTrashFolderName(name);
}

bool FolderWalker::IsTopOnlyName(const std::string& name) {
    return LocaleInfo::EqualIgnoreCase(name, "HDVAL$$$.$$$") || IsRecycleBinName(name) ||
           IsTrashFolderName(name);
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
    // The names the walk finds are long: only the folder entry's own part may be spelled short.
    std::string longForm;
    if (!entryLongForm_.empty() && folder.starts_with(entry_)) {
        longForm.assign(entryLongForm_).append(folder.substr(entry_.size()));
        folder = longForm;
    }
    for (const std::string_view excluded : options_.excludedFolders)
        if (folder.size() >= excluded.size() &&
            (folder.size() == excluded.size() || folder[excluded.size()] == '\\') &&
            LocaleInfo::EqualIgnoreCase(folder.substr(0, excluded.size()), excluded))
            return true;
    return false;
}

bool FolderWalker::SkipAtTop(Folder& folder, const FindEntry& sub, bool attributesRead) {
    if (attributesRead || !IsRecycleBinName(sub.name))
        return SkipAtDriveRoot(sub);
    // Only the Recycle Bin folders need their attributes, read for them alone.
    std::vector<FindEntry> found;
    folder.Find(sub.name, found);
    for (const FindEntry& entry : found)
        if (entry.name == sub.name)
            return SkipAtDriveRoot(entry);
    return false;
}

void FolderWalker::SearchAll() {
    for (const FolderEntry& entry : WorkingList(type_)) {
        if (StopRequested())
            return;
        SearchFolder(entry.path, entry.mode);
    }
}

void FolderWalker::SearchFolder(const std::string& folder, int32_t mode) {
    entry_ = folder;
    entryLongForm_ = LongForm(folder);
    if (entryLongForm_ == folder)
        entryLongForm_.clear();
    if (IsExcluded(folder))
        return;
    // A missing folder still counts as searched. Where the platform spells folders as they
    // are on disk, one file is always reported with one path.
    OsError unreadable;
    const Clock::time_point start = Clock::now();
    std::unique_ptr<Folder> open = Folder::Open(folder, &unreadable);
    const Clock::duration readTime = Clock::now() - start;
    // Nothing below an excluded folder either, however the entry spells its way there.
    if (open && limits_.ExcludesAbove(folder))
        return;
    const std::optional<FolderIdentity> id = open ? open->Identity() : std::nullopt;
    std::string path = open && Folder::SpellsAsOnDisk() ? open->Path() : folder;
    if (unreadable)
        Unreadable(path, unreadable);
    if (!prefetch_ || !open || mode == FolderOnly) {
        Walk(open.get(), path, mode, 0, readTime, id);
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
    Walk(open.get(), path, mode, 0, readTime, id);
}

void FolderWalker::Unreadable(const std::string& folder, const OsError& error) {
    ++counts_.foldersUnreadable;
    if (options_.onUnreadable)
        options_.onUnreadable(folder, error);
}

void FolderWalker::CountUnspellable(Folder& folder, const std::string& path, bool files,
                                    bool subfolders) {
    std::vector<FindEntry> found;
    std::set<std::string> names;
    if (files) {
        for (size_t i = 0; i < type_.Specs.size(); ++i) {
            found.clear();
            folder.FindUnspellable(type_.Specs[i], found);
            for (const FindEntry& entry : found)
                if (!(entry.attributes & FileAttributes::Directory) &&
                    (!specHasNoExtension_[i] || NameMatch::HasNoExtension(entry.name)))
                    names.insert(entry.name);
        }
    }
    if (subfolders) {
        found.clear();
        folder.FindUnspellable("*", found);
        for (const FindEntry& entry : found)
            if (entry.attributes & FileAttributes::Directory)
                names.insert(entry.name);
    }
    if (names.empty())
        return;
    counts_.namesSkipped += static_cast<int32_t>(names.size());
    if (options_.onSkipped)
        options_.onSkipped(path, std::vector<std::string>(names.begin(), names.end()));
}

void FolderWalker::Walk(Folder* folder, std::string& path, int32_t mode, size_t depth,
                        std::chrono::nanoseconds readTime,
                        const std::optional<FolderIdentity>& id) {
    const bool prefetching = prefetchFrom_ != std::string::npos;
    if (folder && prefetching)
        prefetch_->Reached(std::string_view(path).substr(prefetchFrom_), readTime);
    if (folder && !stopped_)
        CountUnspellable(*folder, path, mode != SubfoldersOnly, mode != FolderOnly);
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
    // The top of a volume, or the root of a drive nested in another's folder, holds its own
    // holding and Recycle Bin folders; asked only when a name is one of theirs.
    std::optional<bool> atTop;
    const auto isTop = [&] {
        if (!atTop)
            atTop = driveRoot || folder->IsVolumeTop() || limits_.IsDriveRoot(id);
        return *atTop;
    };
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
        if (IsTopOnlyName(sub.name) && isTop() && SkipAtTop(*folder, sub, driveRoot))
            continue;
        path.append(1, '\\').append(sub.name);
        if (!IsExcluded(path)) {
            OsError unreadable;
            const Clock::time_point start = prefetching ? Clock::now() : Clock::time_point();
            std::unique_ptr<Folder> child = folder->OpenSub(sub.name, &unreadable);
            const Clock::duration readTime = prefetching ? Clock::now() - start : Clock::duration();
            if (unreadable)
                Unreadable(path, unreadable);
            const std::optional<FolderIdentity> childId = child ? child->Identity() : std::nullopt;
            if (!limits_.Excludes(childId))
                Walk(child.get(), path, FolderAndSubfolders, depth + 1, readTime, childId);
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

#pragma once

#include "platform/os_error.h"

#include <string>

namespace brumo {

// Win32 deletes, moves and recycles by path, so a folder of the path swapped for a link or
// junction after the walk saw it would carry the operation to the link's target. A guard is
// taken at the moment of the operation: it opens the parent folder itself (never a link's
// target) and asks the system for its final name, which must be the drive's own final name
// followed by the given folders. A link anywhere above the parent changes that name; the parent
// itself must be no reparse point. The parent stays open without delete sharing while the guard
// lives, so it cannot be renamed away (nor, on Windows, any folder above it) during the
// operation. CheckEntry then makes sure that the path names the entry itself: Wine shows a
// host's link to a file as a plain file, and deleting or moving it there would reach the target.
class ParentGuard {
public:
    ParentGuard() = default;
    ~ParentGuard();
    ParentGuard(ParentGuard&& other) noexcept;
    ParentGuard& operator=(ParentGuard&& other) noexcept;
    ParentGuard(const ParentGuard&) = delete;
    ParentGuard& operator=(const ParentGuard&) = delete;

    // Fails with LinkOnTheWay() when the way to the parent passes through a link, else with the
    // system's error when the parent cannot be opened. Paths that are no drive path ("X:\...")
    // are not the walk's: they pass unchecked, as the system resolves them.
    static OsError Open(const std::string& path, ParentGuard& out);
    // After Open: the system's final name of the entry must be the parent's followed by the
    // entry's own name. Fails with the system's error when the entry cannot be opened.
    OsError CheckEntry(const std::string& path) const;
    // Open and CheckEntry for an entry acted on by path.
    static OsError OpenForEntry(const std::string& path, ParentGuard& out);
    // ERROR_CANT_RESOLVE_FILENAME, the system's own answer to a name it would not follow.
    static int LinkOnTheWay();
    // The folder part of a drive path, without a trailing backslash except at a drive root.
    static std::string FolderOf(const std::string& path);

private:
    void* handle_ = nullptr;
    std::wstring final_; // the parent's final name, upper case; empty when unchecked
};

} // namespace brumo

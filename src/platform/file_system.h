#pragma once

#include "platform/os_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brumo {

// File operations on Windows paths, with Win32 semantics. Delete, move and attribute changes
// reach the file through its parent folder opened component by component without following
// links, and act on a link itself, never on its target. Where a folder's file system tells case
// apart, they take every name as written (the file was found on disk, or the program names
// it), so a file that vanished never lets its case twin stand in for it.
class FileSystem {
public:
    static bool FileExists(const std::string& path); // an existing non-folder entry
    // FileExists as delete and move find the file: by its name as written, or ignoring case
    // where the file system folds it, never a file whose name differs only in case on a file
    // system that tells them apart. On Windows, FileExists: a new name there is refused
    // wherever one differing only in case exists, so a twin is never given it.
    static bool FileExistsAsNamed(const std::string& path);
    // FileExistsAsNamed, and spelled so on disk, letter for letter, also where the file system
    // folds case (which costs a read of the folder there).
    static bool FileExistsAsSpelled(const std::string& path);
    static bool FolderExists(const std::string& path);
    static std::optional<uint32_t> Attributes(const std::string& path);
    // Clearing read-only gives the owner write permission on POSIX.
    static OsError SetAttributes(const std::string& path, uint32_t attributes);
    // A read-only file fails with access denied.
    static OsError DeleteFile(const std::string& path);
    // Fails when the target exists. Across file systems: copy, flush, keep time stamps,
    // then delete the source.
    static OsError MoveFile(const std::string& from, const std::string& to);
    // Creates every missing folder of the path.
    static OsError CreateFolders(const std::string& path);
    // Removes the folder when it is empty and no link or junction.
    static OsError RemoveEmptyFolder(const std::string& path);
    static OsError CopyFile(const std::string& from, const std::string& to);
    // Length in bytes of a file found by a directory search of its path.
    static std::optional<int64_t> FileSize(const std::string& path);
    // When the entry itself (a link, not its target) last changed status, as a FILETIME (UTC):
    // a move sets it, and unlike the file date no program can set it back.
    static std::optional<int64_t> ChangeTime(const std::string& path);
    // Only a regular file is read: a FIFO or a device fails at once rather than block or
    // never end.
    static OsError ReadFile(const std::string& path, std::string& bytes);
    // An existing entry that is neither a folder nor a regular file (a FIFO, a device, a
    // socket), links followed.
    static bool IsSpecialFile(const std::string& path);
    // ReadFile reaching the file as DeleteFile does: a link on the way or at the end fails
    // (ReadFile follows links on Windows, where the program's own files may lie behind one).
    static OsError ReadFileNoLink(const std::string& path, std::string& bytes);
    // A new file with these bytes, reached as DeleteFile reaches one; fails where any entry,
    // a link too, has the name. Not atomic: for small records that may go missing.
    static OsError WriteNewFile(const std::string& path, std::string_view bytes);
    // Whole and atomic: a temporary file beside the target, flushed, then renamed over it.
    // Temporary files of that name left by processes that have ended go after the write.
    static OsError WriteFileAtomic(const std::string& path, std::string_view bytes);
    // Removes the temporary files beside `path` that a save or copy of it left in a process
    // that has ended (a crash); those of live processes are left alone.
    static void RemoveStaleTemporaryFiles(const std::string& path);
    // Where a chain of symbolic links at `path` ends: the program's own files may be links the
    // user made to keep them elsewhere, and are read and written at their target. The path
    // itself when it is no link.
    static std::string LinkTarget(const std::string& path);
    // The 8.3 form of a path; the path itself where the platform has no short names.
    static std::string ShortPathName(const std::string& path);
    // The long form of a path whose names may be 8.3 ones; the path itself where the platform
    // has no short names or the path is not there.
    static std::string LongPathName(const std::string& path);
};

} // namespace brumo

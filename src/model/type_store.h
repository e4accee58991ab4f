#pragma once

#include "model/junk_file_type.h"
#include "platform/file_operations.h"

#include <set>
#include <span>
#include <string>
#include <vector>

namespace brumo {

// Reads and writes lists of junk file types: the type store and its recovery copy. One
// object lives as long as the list it serves (the main window's, the command line's): it
// remembers which files failed to load, and before such a file is first overwritten or
// removed it keeps the file's bytes under the same name plus ".BAD" (".BAD2", ".BAD3", ...
// when an earlier copy exists, so no earlier copy is ever replaced).
class TypeStore {
public:
    enum class LoadStatus {
        Loaded,  // the whole file was read
        Missing, // no such file
        Empty,   // size 0: the type store counts it as absent, the recovery copy as no types
        Failed,  // the file could not be opened or read to its end; see error
    };

    struct LoadResult {
        LoadStatus status = LoadStatus::Missing;
        // All types read completely, also those before a failure.
        std::vector<TJunkFileObj> types;
        std::string error; // for Failed: what went wrong and where the file's bytes will be kept
    };

    struct WriteResult {
        bool saved = false;
        std::string error;    // why the list was not written
        std::string keptCopy; // a copy made now of a file that had failed to load
        std::string notice;   // says where that copy is
        // Text for the user: the error and the notice, whichever there are.
        std::string Message() const;
    };

    // A store that is only read (the command line's) promises no copy in its load errors.
    explicit TypeStore(bool writes = true, const FileOperations& files = FileOperations::System())
        : files_(&files), writes_(writes) {}

    LoadResult Load(const std::string& path);

    // Writes the whole list atomically (an empty list gives an empty file).
    WriteResult Save(const std::string& path, std::span<const TJunkFileObj> types);
    WriteResult Save(const std::string& path, std::span<const TJunkFileObj* const> types);

    // Deletes the file (the recovery copy at a normal close); a file that had failed to load
    // is renamed to its copy name instead.
    WriteResult Remove(const std::string& path);

    bool FailedToLoad(const std::string& path) const { return failed_.contains(path); }

    // The record bytes of a list, and a list read from bytes; fileName names it in errors.
    static std::string Serialize(std::span<const TJunkFileObj* const> types);
    static std::string Serialize(std::span<const TJunkFileObj> types);
    static LoadResult Parse(std::string_view bytes, const std::string& fileName);

    // The first of name.BAD, name.BAD2, ... that does not exist yet.
    static std::string FreeCopyName(const std::string& path);

private:
    // Keeps the bytes of a file that failed to load before it changes; empty error on
    // success, the copy's name in keptCopy.
    bool KeepFailedFile(const std::string& path, bool moveIt, WriteResult& result);

    const FileOperations* files_;
    bool writes_ = true;
    std::set<std::string> failed_;
};

} // namespace brumo

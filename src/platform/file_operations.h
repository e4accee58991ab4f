#pragma once

#include "platform/os_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brumo {

// The file operations that runs and stores act through, as an object: the system's are those
// of FileSystem, and tests hand in a double that fails where they want a failure.
class FileOperations {
public:
    virtual ~FileOperations() = default;
    virtual bool FileExists(const std::string& path) const;
    virtual bool FileExistsAsNamed(const std::string& path) const;
    virtual bool FileExistsAsSpelled(const std::string& path) const;
    virtual bool FolderExists(const std::string& path) const;
    virtual std::optional<int64_t> FileSize(const std::string& path) const;
    virtual std::optional<int64_t> ChangeTime(const std::string& path) const;
    virtual OsError SetAttributes(const std::string& path, uint32_t attributes) const;
    virtual OsError DeleteFile(const std::string& path) const;
    virtual OsError MoveFile(const std::string& from, const std::string& to) const;
    virtual OsError CreateFolders(const std::string& path) const;
    virtual OsError ReadFile(const std::string& path, std::string& bytes) const;
    virtual OsError WriteFileAtomic(const std::string& path, std::string_view bytes) const;

    static const FileOperations& System();
};

} // namespace brumo

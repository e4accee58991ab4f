#include "platform/file_operations.h"

#include "platform/file_system.h"

namespace brumo {

bool FileOperations::FileExists(const std::string& path) const {
    return FileSystem::FileExists(path);
}

bool FileOperations::FileExistsAsNamed(const std::string& path) const {
    return FileSystem::FileExistsAsNamed(path);
}

bool FileOperations::FileExistsAsSpelled(const std::string& path) const {
    return FileSystem::FileExistsAsSpelled(path);
}

bool FileOperations::FolderExists(const std::string& path) const {
    return FileSystem::FolderExists(path);
}

std::optional<int64_t> FileOperations::FileSize(const std::string& path) const {
    return FileSystem::FileSize(path);
}

std::optional<int64_t> FileOperations::ChangeTime(const std::string& path) const {
    return FileSystem::ChangeTime(path);
}

OsError FileOperations::SetAttributes(const std::string& path, uint32_t attributes) const {
    return FileSystem::SetAttributes(path, attributes);
}

OsError FileOperations::DeleteFile(const std::string& path) const {
    return FileSystem::DeleteFile(path);
}

OsError FileOperations::MoveFile(const std::string& from, const std::string& to) const {
    return FileSystem::MoveFile(from, to);
}

OsError FileOperations::CreateFolders(const std::string& path) const {
    return FileSystem::CreateFolders(path);
}

OsError FileOperations::ReadFile(const std::string& path, std::string& bytes) const {
    return FileSystem::ReadFile(path, bytes);
}

OsError FileOperations::WriteFileAtomic(const std::string& path, std::string_view bytes) const {
    return FileSystem::WriteFileAtomic(path, bytes);
}

const FileOperations& FileOperations::System() {
    static const FileOperations system;
    return system;
}

} // namespace brumo

#pragma once

#include <cstdint>
#include <filesystem>

namespace brumo::test {

// Makes the files, folders and links of a test tree (parents are created as needed).
class TreeBuilder {
public:
    static void MakeDir(const std::filesystem::path& path);
    static void MakeFile(const std::filesystem::path& path, int64_t size = 0);
    // Last-write time given in local time (the process's TZ).
    static void SetWriteTime(const std::filesystem::path& path, int year, int month, int day,
                             int hour = 12, int minute = 0, int second = 0);
    // Hidden and system bits as Wine and Samba store them (user.DOSATTRIB); false where the
    // file system refuses extended attributes.
    static bool SetDosAttributes(const std::filesystem::path& path, uint32_t attributes);
    // Whether MakeLink works here (Windows needs a privilege or developer mode for it).
    static bool LinksSupported();
    static void MakeLink(const std::filesystem::path& link, const std::filesystem::path& target);
    // A link or junction as the program sees one (on Windows, the reparse-point attribute).
    static bool IsLink(const std::filesystem::path& path);
    static void MakeReadOnly(const std::filesystem::path& path);
};

} // namespace brumo::test

#pragma once

#include "platform/os_error.h"
#include "platform/win32/held_folder.h"
#include "platform/win32/nt_file.h"

#include <cstdint>
#include <string>

namespace brumo {

// A second name (a hard link) given to a file in its own folder before the shell is asked to
// send it to the Recycle Bin. The Recycle Bin moves the file's name, so the file keeps its
// count of names; a file the shell deleted for good instead lives on under the second name
// alone, and is given its own name back. Either way the second name goes.
class RecycleKeeper {
public:
    // Fails where the volume has no links (FAT, exFAT): the file's fate cannot be read there.
    OsError Make(const HeldFolder& folder, const NtFile& file, const FileIdentity& identity);
    // Once the file's own name is gone: 0 when the file is in the Recycle Bin, else the code
    // that says it was put back.
    int Settle(const HeldFolder& folder, const std::string& name);
    // The file is where it was, or gone to the Recycle Bin: the second name is not needed.
    void Drop(const HeldFolder& folder);
    // Removes the second names that runs which have ended (killed mid-send) left in the
    // folder at folderPath, where the file has another name still; the last name of a file,
    // whose own name the shell destroyed, is its data and stays.
    static void SweepStale(const HeldFolder& folder, const std::string& folderPath);

private:
    std::string name_;
    FileIdentity identity_;
    uint32_t links_ = 0;
};

} // namespace brumo

#pragma once

#include "platform/date_time.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brumo {

enum FolderMode : int32_t { FolderAndSubfolders = 0, FolderOnly = 1, SubfoldersOnly = 2 };

enum CleanupMethod : int32_t { MethodRecycleBin = 0, MethodHoldingFolder = 1, MethodDelete = 2 };

struct FolderEntry {
    std::string path;
    int32_t mode = FolderAndSubfolders;

    bool operator==(const FolderEntry&) const = default;
};

// One junk file type: where to look, what is junk, what is protected, the restrictions and
// how matching files are cleaned up. Field order is the order of the stored form.
class TJunkFileObj {
public:
    std::string Name;
    bool Enabled = true;
    int32_t Method = MethodRecycleBin;
    std::vector<FolderEntry> Folders; // empty: all local fixed drives
    std::vector<std::string> Specs;
    std::vector<std::string> Protects;
    bool DateRestrict = false;
    int32_t DateCompare = 0;
    TDateTime Date1 = 0;
    TDateTime Date2 = 0;
    bool AgeRestrict = false;
    int32_t AgeCompare = 0;
    int32_t Age1 = 0;
    int32_t Age2 = 0;
    bool SizeRestrict = false;
    int32_t SizeCompare = 0;
    int32_t Size1 = 0;
    int32_t Size2 = 0;
    int32_t SizeUnits = 0;
};

} // namespace brumo

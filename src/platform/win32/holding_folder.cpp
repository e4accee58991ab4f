#include "platform/holding_folder.h"

#include "platform/drives.h"
#include "platform/folder.h"
#include "platform/win32/partial_copy.h"

namespace brumo {

std::string HoldingFolder::RootFor(char driveLetter) {
    return std::string(1, driveLetter) + ":\\" + Name;
}

std::vector<std::string> HoldingFolder::RootsFor(char driveLetter) {
    return {RootFor(driveLetter)};
}

std::string HoldingFolder::DriveLetters() {
    std::string letters;
    const uint32_t mask = Drives::LogicalDriveMask();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i))
            letters += static_cast<char>('A' + i);
    return letters;
}

bool HoldingFolder::IsPartialCopy(const std::string& originalPath) {
    return PartialCopy::IsCopy(originalPath);
}

void HoldingFolder::SweepPartialCopies(const Folder& folder, const std::string& original,
                                       const std::vector<FindEntry>& entries) {
    PartialCopy::Sweep(folder.Path(), original, entries);
}

} // namespace brumo

#include "platform/holding_folder.h"

#include "platform/drives.h"

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

} // namespace brumo

namespace brumo {

// The system copies a move across volumes under the file's own name: no partial copy has a
// name of its own here.
bool HoldingFolder::IsPartialCopy(std::string_view) {
    return false;
}

void HoldingFolder::SweepPartialCopies(const Folder&) {}

} // namespace brumo

#pragma once

#include <string>

namespace brumo {

// Where a drive's holding folder lies: "X:\HDVal$$$.$$$", or, where that drive's root is not
// writable for the user, a per-drive folder in the user's data folder (as a Windows path).
class HoldingFolder {
public:
    static constexpr const char* Name = "HDVal$$$.$$$";
    static std::string RootFor(char driveLetter);
};

} // namespace brumo

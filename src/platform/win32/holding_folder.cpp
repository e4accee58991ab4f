#include "platform/holding_folder.h"

namespace brumo {

std::string HoldingFolder::RootFor(char driveLetter) {
    return std::string(1, driveLetter) + ":\\" + Name;
}

} // namespace brumo

#include "platform/holding_folder.h"

#include "platform/path_map.h"
#include "platform/posix/drive_table.h"
#include "platform/special_folders.h"

#include <cctype>
#include <unistd.h>

namespace brumo {

std::string HoldingFolder::RootFor(char driveLetter) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(driveLetter)));
    const std::string onDrive = std::string{letter, ':', '\\'} + Name;
    const auto table = DriveTable::Current();
    const DriveEntry* drive = table->Find(letter);
    if (!drive || ::access(drive->folder.c_str(), W_OK) == 0)
        return onDrive;
    // The root is not ours to write (/ for a normal user): one folder per drive in the data
    // folder instead.
    const std::string data = SpecialFolders::UserDataFolder();
    if (data.empty())
        return onDrive;
    const std::string host = data + "/" + Name + "-" + letter;
    return PathMap::ToWindows(host).value_or(host);
}

} // namespace brumo

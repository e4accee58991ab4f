#include "platform/holding_folder.h"

#include "platform/path_map.h"
#include "platform/posix/drive_table.h"
#include "platform/posix/file_copier.h"
#include "platform/posix/posix_folder.h"
#include "platform/special_folders.h"

#include <algorithm>
#include <cctype>
#include <unistd.h>

namespace brumo {

namespace {

char Upper(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

std::string OnDrive(char letter) {
    return std::string{letter, ':', '\\'} + HoldingFolder::Name;
}

// The drive's folder in the data folder; empty when there is no data folder.
std::string InDataFolder(char letter) {
    const std::string data = SpecialFolders::UserDataFolder();
    if (data.empty())
        return {};
    const std::string host = data + "/" + HoldingFolder::Name + "-" + letter;
    return PathMap::ToWindows(host).value_or(host);
}

} // namespace

std::string HoldingFolder::RootFor(char driveLetter) {
    const char letter = Upper(driveLetter);
    const auto table = DriveTable::Current();
    const DriveEntry* drive = table->Find(letter);
    if (!drive || ::access(drive->folder.c_str(), W_OK) == 0)
        return OnDrive(letter);
    // The root is not ours to write (/ for a normal user): one folder per drive in the data
    // folder instead.
    const std::string data = InDataFolder(letter);
    return data.empty() ? OnDrive(letter) : data;
}

std::vector<std::string> HoldingFolder::RootsFor(char driveLetter) {
    const char letter = Upper(driveLetter);
    std::vector<std::string> roots{RootFor(letter)};
    for (std::string other : {OnDrive(letter), InDataFolder(letter)})
        if (!other.empty() && other != roots.front())
            roots.push_back(std::move(other));
    return roots;
}

std::string HoldingFolder::DriveLetters() {
    std::string letters;
    const auto table = DriveTable::Current();
    for (const DriveEntry& entry : table->Entries())
        letters += entry.letter;
    std::sort(letters.begin(), letters.end());
    return letters;
}

bool HoldingFolder::IsPartialCopy(std::string_view name) {
    return FileCopier::IsTempName(name);
}

void HoldingFolder::SweepPartialCopies(const Folder& folder) {
    const auto* posix = dynamic_cast<const PosixFolder*>(&folder);
    if (!posix)
        return;
    const UniqueFd fd = posix->OpenAgain();
    if (fd.Valid())
        FileCopier::RemoveAllStale(fd.Get(), nullptr);
}

} // namespace brumo

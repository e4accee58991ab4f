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

// A partial copy has a backslash in its name (FileCopier): no listing shows it and no Windows
// path names it. Where a file system refuses one, the copy has the plain form a held file may
// have too, and a leftover of it is listed as a held file.
bool HoldingFolder::IsPartialCopy(const std::string&) {
    return false;
}

void HoldingFolder::SweepPartialCopies(const Folder& folder, const std::string&,
                                       const std::vector<FindEntry>&) {
    const auto* posix = dynamic_cast<const PosixFolder*>(&folder);
    if (!posix)
        return;
    const UniqueFd fd = posix->OpenAgain();
    if (fd.Valid())
        FileCopier::RemoveAllStale(fd.Get(), false, nullptr);
}

} // namespace brumo

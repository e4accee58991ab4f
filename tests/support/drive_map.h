#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brumo::test {

// Gives test folders a Windows path for the object's lifetime. On POSIX the letters become the
// drive table (BRUMO_DRIVES), and the previous table comes back afterwards. On Windows, whose
// drives cannot be remapped, a letter stands for the folder itself: its own drive when the folder
// is a drive's root (a TempTree on a spare test drive), else the folder's path.
class DriveMap {
public:
    DriveMap(std::initializer_list<std::pair<char, std::filesystem::path>> drives);
    ~DriveMap();
    DriveMap(const DriveMap&) = delete;
    DriveMap& operator=(const DriveMap&) = delete;

    // The Windows path standing for the root of the letter's drive, without a trailing
    // backslash: "C:" on POSIX; on Windows "M:" or "C:\...\brumo-test-1a2b".
    std::string Root(char letter) const;
    // Root(letter) + "\" + relative ("TEMP\a.tmp"); Root(letter) alone when relative is empty.
    std::string Path(char letter, std::string_view relative) const;
    // Whether Root(letter) is a drive's root, so that what happens only at a root can be tested.
    bool RootIsDrive(char letter) const;

private:
    std::optional<std::string> previous_;
    std::vector<std::pair<char, std::string>> roots_;
};

} // namespace brumo::test

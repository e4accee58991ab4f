#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace brumo::test {

// Maps drive letters onto host folders (BRUMO_DRIVES) for the object's lifetime, then puts
// the previous table back.
class DriveMap {
public:
    DriveMap(std::initializer_list<std::pair<char, std::filesystem::path>> drives);
    ~DriveMap();
    DriveMap(const DriveMap&) = delete;
    DriveMap& operator=(const DriveMap&) = delete;

private:
    std::optional<std::string> previous_;
};

} // namespace brumo::test

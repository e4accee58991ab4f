#include "support/drive_map.h"

#include "platform/drives.h"

#include <cstdlib>

namespace brumo::test {

DriveMap::DriveMap(std::initializer_list<std::pair<char, std::filesystem::path>> drives) {
    if (const char* old = std::getenv("BRUMO_DRIVES"))
        previous_ = old;
    std::string table;
    for (const auto& [letter, folder] : drives) {
        if (!table.empty())
            table += ';';
        table += letter;
        table += '=';
        table += folder.string();
        roots_.emplace_back(letter, std::string{letter, ':'});
    }
    ::setenv("BRUMO_DRIVES", table.c_str(), 1);
    Drives::Reload();
}

DriveMap::~DriveMap() {
    if (previous_)
        ::setenv("BRUMO_DRIVES", previous_->c_str(), 1);
    else
        ::unsetenv("BRUMO_DRIVES");
    Drives::Reload();
}

} // namespace brumo::test

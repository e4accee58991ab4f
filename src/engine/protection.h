#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brumo {

class TJunkFileObj;

// The protect list of a type: full names (second character a colon, as in "C:\x\y.ini")
// compared whole ignoring case, everything else wildcard entries matched against the long
// and the short name.
class Protection {
public:
    // Full-name entries are those whose first colon is their second character.
    static bool IsFullName(std::string_view entry);

    // True when folder + "\" + longName is protected. shortName is the 8.3 name, or the long
    // name where there is none.
    static bool IsProtected(const TJunkFileObj& type, std::string_view folder,
                            std::string_view longName, std::string_view shortName);
    static bool IsProtectedBy(const std::vector<std::string>& protects, std::string_view folder,
                              std::string_view longName, std::string_view shortName);
};

} // namespace brumo

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brumo {

// The names of files written beside their final name before they are put in place:
// ".<final name><mark><maker's process number>-<n>.tmp". The mark tells one form from another.
class TempName {
public:
    // The final name is cut to leave room for the rest within a name's longest length.
    static std::string Make(std::string_view finalName, char mark, uint32_t maker, uint32_t n);
    // What every temporary name for finalName starts with, up to its mark.
    static std::string Head(std::string_view finalName);
    // The process that made a temporary file with that mark before its maker's number; 0 for
    // a name of another form.
    static uint32_t MakerOf(std::string_view name, char mark);
};

} // namespace brumo

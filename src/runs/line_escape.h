#pragma once

#include <string>
#include <string_view>

namespace brumo {

// A file name as one line of a log or list file. Control characters (below 0x20, and DEL)
// are written in caret notation, "^" followed by the character 0x40 above the code (a line
// feed is "^J", a tab "^I", DEL "^?"), and "^" itself is doubled, so that every name takes one
// line and the original can be read back.
class LineEscape {
public:
    static std::string Of(std::string_view text);
    // The original text of an escaped one.
    static std::string Undo(std::string_view line);
};

} // namespace brumo

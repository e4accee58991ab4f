#pragma once

#include <cstddef>
#include <string>

namespace brumo {

// The help as a terminal shows it: wrapped to its width, with what the options do not tell.
class HelpText {
public:
    // Lines longer than `width` columns broken at spaces; a continued entry ("  name  text")
    // goes on below its text, a paragraph below its own indent.
    static std::string Wrap(const std::string& text, size_t width);
    // The terminal's width, or 80 where the output is no terminal.
    static size_t OutputWidth();
    // The sections after the commands: held files, output for scripts, environment, files
    // and exit status.
    static const char* Footer();
};

} // namespace brumo

#pragma once

#include <cstdint>
#include <string>

namespace brumo {

// The lines the wizard's counts page shows for a finished count. Each label's lines end in
// CR LF where a line break follows.
struct CountsPageTexts {
    std::string dirs;
    std::string dels;
    std::string res;
    std::string prots;
    std::string actual;
    std::string size;
    bool viewEnabled = false; // some file would be processed

    static constexpr const char* StoppedHeading = "Operation stopped by user";
    static constexpr const char* Waiting = "One moment please...";
    // "Counting files for "Name"".
    static std::string Heading(const std::string& typeName);

    static CountsPageTexts Of(int32_t folders, int32_t matched, int32_t restricted,
                              int32_t protectedFiles, int64_t bytes);
};

} // namespace brumo

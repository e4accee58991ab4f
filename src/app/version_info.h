#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brumo {

// The program's version values, read once at start.
class VersionInfo {
public:
    std::string VersionText; // "FileVersion"; empty when unreadable
    std::string LegalText;   // "LegalCopyright"; empty when unreadable
    bool IsBeta = false;     // pre-release flag

    // The values of this build (compiled in; on Windows the same values are also the
    // program file's version resource).
    static VersionInfo OfThisBuild();

    // Key name of a version string code 0..7; empty for any other code.
    static std::string KeyName(int code);
    // The string-table path chosen from a translation table of (language, code page) pairs:
    // US English first, then any English, then the first entry; without a table the default.
    static std::string StringTablePath(const std::vector<std::pair<uint16_t, uint16_t>>& table);
    // The About box's version line for a title.
    std::string VersionLine(const std::string& title) const;
    // The About box's second line: the legal text, or a fixed line when there is none.
    std::string SecondLine() const;
    // The About box's caption for a title.
    static std::string AboutCaption(const std::string& title) { return "About " + title; }

    static constexpr const char* CompanyName = "Brumo";
    static constexpr const char* Copyright = "Copyright (c) 2026 the Brumo developers";
    static constexpr const char* FallbackSecondLine = "Finds and removes junk files.";
};

} // namespace brumo

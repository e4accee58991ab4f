#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace brumo {

// How the two file specification editors judge what is typed: the characters each edit box
// refuses, the verdict line and whether OK is available. Texts are UTF-8.
class EntryRules {
public:
    // Refused in a specification: the name separators and reserved characters, but not the
    // wildcards.
    static constexpr std::string_view SpecRefused = "\"/:<>\\|";
    // Refused in a full name: the wildcards and reserved characters, but not the separators.
    static constexpr std::string_view NameRefused = "\"*<>?|";

    static std::string WithoutRefused(const std::string& text, std::string_view refused);

    // Advice on a specification; empty when there is nothing to say.
    static std::string SpecVerdict(const std::string& text);
    // A specification needs a period with at least one character before the first one.
    static bool SpecAcceptable(const std::string& text);

    // Advice on a full name; `fileExists` answers for a path of the "X:\..." form.
    static std::string NameVerdict(const std::string& text,
                                   const std::function<bool(const std::string&)>& fileExists);
    // A full name must begin with a drive letter, a colon and a backslash.
    static bool NameAcceptable(const std::string& text);
};

} // namespace brumo

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// The text of an INI file held as its lines, so that a change keeps every line it does not
// touch. Section and key names compare without regard to letter case.
class IniText {
public:
    IniText() = default;
    explicit IniText(std::string_view text); // CR LF, LF or CR line ends

    // The value of the first matching key of the first matching section, trimmed; a value
    // written in double quotes loses them.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Replaces the key's value, or adds the key at the end of its section, or adds the
    // section at the end of the text.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The whole text with CR LF line ends.
    std::string Text() const;

    // A decimal 32-bit integer with optional sign and surrounding blanks; nothing else.
    static std::optional<int> ParseInteger(std::string_view text);

private:
    std::vector<std::string> lines_;
};

} // namespace brumo

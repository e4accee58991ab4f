#include "model/entry_rules.h"

namespace brumo {

namespace {
// Characters, not bytes, count wherever a length or a position matters.
size_t CharCount(std::string_view text) {
    size_t count = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80)
            ++count;
    return count;
}
} // namespace

std::string EntryRules::WithoutRefused(const std::string& text, std::string_view refused) {
    std::string kept;
    kept.reserve(text.size());
    for (char ch : text)
        if (refused.find(ch) == std::string_view::npos)
            kept += ch;
    return kept;
}

std::string EntryRules::SpecVerdict(const std::string& text) {
    const size_t period = text.rfind('.');
    const std::string_view all(text);
    const std::string_view name = period == std::string::npos ? all : all.substr(0, period);
    const std::string_view ext =
        period == std::string::npos ? std::string_view() : all.substr(period + 1);
    auto has = [](std::string_view part, char ch) { return part.find(ch) != part.npos; };

    if (name.empty())
        return "Must enter filename";
    if (period == std::string::npos)
        return "Must enter extension (or period)";
    if (ext.empty())
        return "Note: Only matches files with no extension";
    if (CharCount(ext) > 3)
        return "Note: Extension longer than 3 letters";
    if (name == "*" && ext == "*")
        return "Warning: Matches all files!";
    if (has(name, '*') && has(ext, '*'))
        return "Warning: * in both name and extension";
    if (!has(name, '*') && !has(name, '?') && !has(ext, '*') && !has(ext, '?'))
        return "Note: Matches exact filename only";
    return {};
}

bool EntryRules::SpecAcceptable(const std::string& text) {
    const size_t period = text.find('.');
    return period != std::string::npos && period > 0;
}

bool EntryRules::NameAcceptable(const std::string& text) {
    // One character (the drive letter), then ":\".
    const size_t at = text.find(":\\");
    return at != std::string::npos && at > 0 &&
           CharCount(std::string_view(text).substr(0, at)) == 1;
}

std::string EntryRules::NameVerdict(const std::string& text,
                                    const std::function<bool(const std::string&)>& fileExists) {
    if (!NameAcceptable(text))
        return "Enter full path";
    // Windows drops trailing periods and blanks from a name.
    const size_t end = text.find_last_not_of(". ");
    return fileExists(text.substr(0, end + 1)) ? "File exists" : "File does not exist";
}

} // namespace brumo

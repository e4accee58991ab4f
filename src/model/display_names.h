#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace brumo {

// Wording of the codes of a junk file type, in code order; the wizard's drop-down lists
// offer the same words in the same order.
inline constexpr std::array<std::string_view, 5> DateCompareNames{"exactly", "before", "after",
                                                                  "between", "not between"};
inline constexpr std::array<std::string_view, 5> AgeCompareNames{
    "exactly", "older than", "newer than", "between", "not between"};
inline constexpr std::array<std::string_view, 5> SizeCompareNames{
    "exactly", "less than", "greater than", "between", "not between"};
inline constexpr std::array<std::string_view, 7> AgeNames{
    "1 day", "3 days", "1 week", "1 month", "3 months", "6 months", "1 year"};
inline constexpr std::array<std::string_view, 3> SizeUnitNames{"bytes", "KB", "MB"};
inline constexpr std::array<std::string_view, 3> MethodNames{"moving them to the Recycle bin",
                                                             "backing them up to a holding folder",
                                                             "deleting them permanently"};

// The table's entry for a code, or empty text for a code outside the table (-1 is stored
// for an unchosen drop-down entry).
inline std::string_view DisplayName(std::span<const std::string_view> table, int32_t code) {
    if (code < 0 || static_cast<size_t>(code) >= table.size())
        return {};
    return table[static_cast<size_t>(code)];
}

} // namespace brumo

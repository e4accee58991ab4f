#pragma once

#include "model/junk_file_type.h"

#include <nlohmann/json.hpp>

#include <array>
#include <string_view>
#include <vector>

namespace brumo {

// Junk file types for --json: "brumo list" gives each type's summary, "brumo describe" one
// type's every property.
class TypeJson {
public:
    static nlohmann::ordered_json List(const std::vector<TJunkFileObj>& types);
    // number: the type's 1-based position in "brumo list".
    static nlohmann::ordered_json Summary(const TJunkFileObj& type, int number);
    static nlohmann::ordered_json Details(const TJunkFileObj& type, int number,
                                          const std::string& description);
    // "brumo export": the details and every stored value, so that "brumo import" can make the
    // same type again.
    static nlohmann::ordered_json Exported(const TJunkFileObj& type, int number,
                                           const std::string& description);

    // The codes' names, in code order as the display names; a code outside them is "unknown".
    static constexpr std::array<std::string_view, 3> Modes{"folderAndSubfolders", "folderOnly",
                                                           "subfoldersOnly"};
    static constexpr std::array<std::string_view, 5> DateCompares{"exactly", "before", "after",
                                                                  "between", "notBetween"};
    static constexpr std::array<std::string_view, 5> AgeCompares{
        "exactly", "olderThan", "newerThan", "between", "notBetween"};
    static constexpr std::array<std::string_view, 5> SizeCompares{
        "exactly", "lessThan", "greaterThan", "between", "notBetween"};
};

} // namespace brumo

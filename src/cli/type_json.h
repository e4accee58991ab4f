#pragma once

#include "model/junk_file_type.h"

#include <nlohmann/json.hpp>

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
};

} // namespace brumo

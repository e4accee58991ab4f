#pragma once

#include "model/junk_file_type.h"

#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// Junk file types from the JSON that "brumo export" writes (one array, or one type alone),
// checked by the wizard's own rules: a type is taken only where the wizard could have finished
// it. Fields left out get the values of a new type in the wizard.
class TypeJsonReader {
public:
    struct Result {
        std::vector<TJunkFileObj> types; // empty whenever there is an error
        // One line per fault, naming the type and the field: type 2 ("Logs"), patterns[0]: ...
        std::vector<std::string> errors;
    };
    static Result Read(std::string_view text);
};

} // namespace brumo

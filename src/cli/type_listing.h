#pragma once

#include "model/junk_file_type.h"

#include <ostream>
#include <vector>

namespace brumo {

// A numbered table of junk file types: number, enabled state, name and clean-up method.
class TypeListing {
public:
    static void Print(std::ostream& out, const std::vector<TJunkFileObj>& types);
};

} // namespace brumo

#pragma once

#include <cstdint>
#include <string>

namespace brumo {

// A byte count as the reports show it: "9,998 bytes", "9.76 KB", "9.76 MB", "12.50 GB",
// with the separators of the user's locale.
class SizeText {
public:
    static std::string Of(int64_t bytes);
    // A whole number with thousands separators ("1,234,567").
    static std::string Grouped(int64_t value);
};

} // namespace brumo

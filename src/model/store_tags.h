#pragma once

#include <cstdint>

namespace brumo {

// Tags of the values in the type store; each value starts with one.
enum class StoreTag : uint8_t {
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    ShortString = 0x06,
    False = 0x08,
    True = 0x09,
    LongString = 0x0C,
    Date = 0x11,
    Utf16String = 0x12, // read only
    Int64 = 0x13,       // read only, in date positions
    Utf8String = 0x14,
};

} // namespace brumo

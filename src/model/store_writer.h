#pragma once

#include "platform/date_time.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brumo {

// Appends tagged values in the type store's byte format to a buffer.
class StoreWriter {
public:
    // Narrowest of the 8-, 16- and 32-bit forms.
    void WriteInteger(int32_t value);
    void WriteBoolean(bool value);
    // Always the 8-byte form, also for zero.
    void WriteDate(TDateTime value);
    // 7-bit text in its 8-bit form (short or long), anything else as UTF-8.
    void WriteString(std::string_view text);

    const std::string& Bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    void Append(uint64_t value, int byteCount);

    std::string bytes_;
};

} // namespace brumo

#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <optional>

namespace brumo {

// The operating system's clock and time zone.
class SystemClock : public Clock {
public:
    TDateTime Now() const override;
    // Seconds since 1970-01-01 UTC (plus milliseconds) as a local day number; empty when the
    // system cannot convert it.
    static std::optional<TDateTime> LocalFromUnix(int64_t seconds, int milliseconds);
};

} // namespace brumo

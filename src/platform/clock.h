#pragma once

#include "platform/date_time.h"

#include <cstdint>
#include <optional>

namespace brumo {

// Local wall-clock time and file-time conversion. Tests install their own clock.
class Clock {
public:
    virtual ~Clock() = default;
    // Local date and time now.
    virtual TDateTime Now() const = 0;
    // A FILETIME (UTC) as local date and time; empty when it cannot be converted.
    virtual std::optional<TDateTime> FileTimeToLocal(int64_t fileTimeUtc) const;

    static const Clock& Current();
    // Installs a clock for the whole process; nullptr returns to the system clock.
    static void Install(const Clock* clock);
};

// A clock whose "now" is set by the caller (tests).
class FixedClock : public Clock {
public:
    explicit FixedClock(TDateTime now) : now_(now) {}
    TDateTime Now() const override { return now_; }
    void Set(TDateTime now) { now_ = now; }

private:
    TDateTime now_;
};

} // namespace brumo

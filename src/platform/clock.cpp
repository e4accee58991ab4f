#include "platform/clock.h"

#include "platform/system_clock.h"

#include <atomic>

namespace brumo {

namespace {

std::atomic<const Clock*> installed{nullptr};

// FILETIME counts 100-ns intervals from 1601-01-01; Unix time counts seconds from 1970.
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

} // namespace

std::optional<TDateTime> Clock::FileTimeToLocal(int64_t fileTimeUtc) const {
    if (fileTimeUtc < 0)
        return std::nullopt;
    const int64_t seconds = fileTimeUtc / kTicksPerSecond - kSecondsFrom1601To1970;
    const int milliseconds = static_cast<int>(fileTimeUtc % kTicksPerSecond / 10000);
    return SystemClock::LocalFromUnix(seconds, milliseconds);
}

const Clock& Clock::Current() {
    static const SystemClock system;
    const Clock* clock = installed.load(std::memory_order_acquire);
    return clock ? *clock : system;
}

void Clock::Install(const Clock* clock) {
    installed.store(clock, std::memory_order_release);
}

} // namespace brumo

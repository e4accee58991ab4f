#include "platform/system_clock.h"

#include <ctime>

namespace brumo {

TDateTime SystemClock::Now() const {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return LocalFromUnix(now.tv_sec, static_cast<int>(now.tv_nsec / 1000000)).value_or(0.0);
}

std::optional<TDateTime> SystemClock::LocalFromUnix(int64_t seconds, int milliseconds) {
    const time_t t = static_cast<time_t>(seconds);
    if (static_cast<int64_t>(t) != seconds)
        return std::nullopt;
    struct tm local;
    if (!::localtime_r(&t, &local))
        return std::nullopt;
    const auto date = DateTime::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    if (!date)
        return std::nullopt;
    // A leap second reads as the last second of its minute.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return DateTime::Compose(*date, {local.tm_hour, local.tm_min, second, milliseconds});
}

} // namespace brumo
